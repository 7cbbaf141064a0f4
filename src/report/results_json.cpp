#include "report/results_json.hpp"

#include <nlohmann/json.hpp>

#include "report/language.hpp"

namespace rankora::report {
namespace {

using Json = nlohmann::ordered_json;

Json interval(const std::optional<Interval>& i) {
  return i ? Json::array({i->low, i->high}) : Json(nullptr);
}

Json names(std::span<const std::string> list) {
  return list.empty() ? Json(nullptr) : Json(std::vector<std::string>(list.begin(), list.end()));
}

Json input(const RunResults& r) {
  const Concordance& c = r.panel;
  return {{"file", r.run.data_file},
          {"judges", c.judges},
          {"objects", c.objects},
          {"judges_are", r.run.judges_are_rows ? "rows" : "columns"},
          {"ties", c.ties == 2 ? "uncorrected" : "corrected"},
          {"permutations", c.nperm},
          {"seed", r.run.seed ? Json(*r.run.seed) : Json(nullptr)},
          {"language", french(r.run.lang) ? "fr" : "en"},
          {"judge_names", names(r.run.judge_names)},
          {"object_names", names(r.run.object_names)}};
}

Json global(const Concordance& c, const GlobalInference& g) {
  return {{"S", c.s},
          {"tie_term", c.tie_term},
          {"W", c.kendw},
          {"chi_square", c.chi2},
          {"W_corrected", c.kendw_corrected},
          {"W_uncorrected", c.kendw_uncorrected},
          {"chi_square_corrected", c.chi2_corrected},
          {"chi_square_uncorrected", c.chi2_uncorrected},
          {"df", g.df},
          {"p_chi_square", g.p_chi_square},
          {"F", g.f.f},
          {"F_df1", g.f.df1},
          {"F_df2", g.f.df2},
          {"p_F", g.f.p},
          {"permutation_count", c.reached},
          {"p", c.p},
          {"p_interval_99", interval(g.p_interval_99)}};
}

Json judges(const RunResults& r) {
  const std::vector<JudgeInference>& inference = r.inference;
  Json list = Json::array();
  for (std::size_t i = 0; i < r.judges.size(); ++i) {
    const JudgeResult& j = r.judges[i];
    const std::string_view name = judge_name(r, j.judge);
    list.push_back({{"judge", j.judge},
                    {"name", name.empty() && r.run.judge_names.empty() ? Json(nullptr)
                                                                       : Json(std::string(name))},
                    {"rbar", j.rbar},
                    {"W", j.w},
                    {"p", j.p},
                    {"p_bonferroni", inference[i].p_bonferroni},
                    {"p_holm", inference[i].p_holm},
                    {"null_variance", j.null_variance},
                    {"W_without", j.w_without},
                    {"permutation_count", j.reached},
                    {"p_interval_99", interval(inference[i].p_interval_99)}});
  }
  return list;
}

}  // namespace

std::string results_json(const RunResults& results) {
  const Json document = {
      {"rankora_version", results.run.version},
      {"input", input(results)},
      {"global", global(results.panel, results.global)},
      {"judges", judges(results)},
      {"warnings", std::vector<std::string>(results.warnings.begin(), results.warnings.end())}};
  return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace rankora::report
