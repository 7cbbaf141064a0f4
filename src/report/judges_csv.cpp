#include "report/judges_csv.hpp"

#include <charconv>
#include <cmath>

namespace rankora::report {
namespace {

// R's read.csv and Python's float() both read NaN and Inf.
void append_number(std::string& out, double x) {
  if (std::isnan(x)) {
    out += "NaN";
  } else if (std::isinf(x)) {
    out += x > 0 ? "Inf" : "-Inf";
  } else {
    char text[32];
    out.append(text, std::to_chars(text, text + sizeof text, x).ptr);
  }
}

void append_field(std::string& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == text.npos) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

std::string judges_csv(const RunResults& results) {
  std::string out =
      "judge,name,rbar,W,p,p_bonferroni,p_holm,null_variance,W_without,p_low,p_high\n";
  const std::vector<JudgeInference>& inference = results.inference;
  for (std::size_t i = 0; i < results.judges.size(); ++i) {
    const JudgeResult& judge = results.judges[i];
    out += std::to_string(judge.judge);
    out += ',';
    append_field(out, judge_name(results, judge.judge));
    for (double x :
         {judge.rbar, judge.w, judge.p, inference[i].p_bonferroni, inference[i].p_holm}) {
      out += ',';
      append_number(out, x);
    }
    out += judge.null_variance ? ",true," : ",false,";
    append_number(out, judge.w_without);
    out += ',';
    if (const auto& interval = inference[i].p_interval_99) {
      append_number(out, interval->low);
      out += ',';
      append_number(out, interval->high);
    } else {
      out += ',';
    }
    out += '\n';
  }
  return out;
}

}  // namespace rankora::report
