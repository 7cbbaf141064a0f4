#include "input/lecture.hpp"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "report/notes.hpp"
#include "report/records.hpp"
#include "report/screen.hpp"
#include "runtime/list_read.hpp"
#include "runtime/process.hpp"
#include "runtime/units.hpp"

namespace rankora {
namespace {

constexpr std::size_t kNameLength = 79;
using FileName = std::array<char, kNameLength>;
// What spreadsheets put before "CSV UTF-8": no number starts with it.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

using report::AnswerContext;
using report::Question;

// The place of the value being read, so that a failed read can say where it stopped.
class TableReadContext final : public rt::ReadContext {
 public:
  TableReadContext(int lang, std::string_view fname, std::int32_t njudge, std::int32_t nobj,
                   bool judges_are_rows)
      : lang_(lang), fname_(fname), njudge_(njudge), nobj_(nobj), rows_(judges_are_rows) {}

  void at(std::int32_t record) { record_ = record; }

  std::string explain(const rt::ReadFailure& failure) const override {
    const std::int32_t per_record = rows_ ? nobj_ : njudge_;
    const std::int32_t value = failure.item;
    const report::TablePlace place{rows_ ? record_ : value,
                                   rows_ ? value : record_,
                                   std::int64_t{record_ - 1} * per_record + (value - 1),
                                   std::int64_t{njudge_} * nobj_,
                                   njudge_,
                                   nobj_};
    return report::explain_data_failure(lang_, fname_, place, failure);
  }

 private:
  int lang_;
  std::string_view fname_;
  std::int32_t njudge_;
  std::int32_t nobj_;
  bool rows_;
  std::int32_t record_ = 1;
};

// What the reading rules left unread in the data file.
struct IgnoredText {
  std::int64_t lines = 0;        // lines where text followed a record's last value
  std::int64_t first_line = 0;   // the first of them
  std::string start;             // how its ignored text began
  std::int64_t after_table = 0;  // line where text after the last record begins, or 0
};

// Loops until the size is one we can analyse; too large a table stops the run.
void ask_size(std::int32_t& njudge, std::int32_t& nobj, std::int32_t maxobj, std::int32_t maxj,
              std::int32_t lang) {
  for (;;) {
    report::show_size_question(lang);
    const AnswerContext context(lang, Question::Size);
    rt::ListRead answer(rt::kKeyboardUnit, &context);
    answer.read(njudge);
    answer.read(nobj);
    answer.finish();
    if (nobj > maxobj) {
      report::show_too_many_objects(lang);
      rt::stop(2, report::explain_too_large(lang, njudge, nobj, maxj, maxobj));
    }
    if (njudge > maxj) {
      report::show_too_many_judges(lang);
      rt::stop(3, report::explain_too_large(lang, njudge, nobj, maxj, maxobj));
    }
    // Fewer than two of either leaves every statistic a division by zero.
    if (njudge >= 2 && nobj >= 2) return;
    report::show_too_few(lang);
  }
}

std::int32_t ask_orientation(std::int32_t lang) {
  std::int32_t orient = 1;
  report::show_orientation_question(lang);
  const AnswerContext context(lang, Question::Orientation);
  rt::ListRead answer(rt::kKeyboardUnit, &context);
  answer.read(orient);
  answer.finish();
  return orient;
}

// The name as read, and what was typed for it: a failed open explains the difference.
struct NameAnswered {
  FileName fname;
  std::string typed;
  std::string whole;  // before the cut to kNameLength
};

NameAnswered ask_file_name(std::int32_t lang) {
  NameAnswered answered;
  answered.fname.fill(' ');
  report::show_file_name_question(lang);
  const AnswerContext context(lang, Question::FileName);
  rt::ListRead answer(rt::kKeyboardUnit, &context);
  answered.whole = answer.read(std::span<char>(answered.fname));
  answered.typed = answer.typed();
  answer.finish();
  return answered;
}

// Where a name typed bare ended before the rest of its answer (a blank, a comma or a
// slash ends it), or whether it was longer than the characters kept.
report::NameCut name_cut(std::string_view typed, std::string_view whole) {
  const std::size_t length = whole.size();
  const bool bare = !typed.starts_with('\'') && !typed.starts_with('"');
  if (bare && length < typed.size()) {
    const char end = typed[length];
    const bool more = typed.find_first_not_of(" \t\r", length + 1) != typed.npos;
    if (end == '/') return report::NameCut::Slash;
    if (end == ',' && more) return report::NameCut::Comma;
    if ((end == ' ' || end == '\t') && more) return report::NameCut::Blank;
  }
  return length > kNameLength ? report::NameCut::TooLong : report::NameCut::None;
}

// One read statement per record: each record starts on a new line.
IgnoredText read_table(MatrixView mat, std::int32_t njudge, std::int32_t nobj, bool judges_are_rows,
                       TableReadContext& context) {
  const std::int32_t records = judges_are_rows ? njudge : nobj;
  const std::int32_t values = judges_are_rows ? nobj : njudge;
  IgnoredText ignored;
  for (std::int32_t r = 1; r <= records; ++r) {
    context.at(r);
    rt::ListRead record(rt::kDataUnit, &context);
    for (std::int32_t v = 1; v <= values; ++v) {
      record.read(judges_are_rows ? mat(r, v) : mat(v, r));
    }
    rt::SkippedText skipped = record.finish();
    // Only the first such line is named: its number is counted once, now.
    if (skipped.offset >= 0 && ignored.lines++ == 0) {
      ignored.first_line = rt::line_of(rt::kDataUnit, skipped.offset);
      ignored.start = std::move(skipped.start);
    }
  }
  ignored.after_table = rt::first_text_line(rt::kDataUnit);
  return ignored;
}

// A mismatch of the size or orientation with the file, or decimal commas, leave text
// unread: say so, since the analysis would look sound.
void warn_of_ignored_text(const IgnoredText& ignored, int lang, std::string_view fname) {
  if (ignored.lines > 0) {
    report::warn_text_after_records(lang, fname, ignored.lines, ignored.first_line, ignored.start);
  }
  if (ignored.after_table > 0) report::warn_text_after_table(lang, fname, ignored.after_table);
}

}  // namespace

void lecture(std::int32_t& nobj, std::int32_t& njudge, MatrixView mat, MatrixView table,
             std::int32_t maxobj, std::int32_t maxj, std::int32_t lang, TableAnswers& answers) {
  ask_size(njudge, nobj, maxobj, maxj, lang);
  report::show_empty_line();
  const std::int32_t orient = ask_orientation(lang);
  report::show_empty_line();
  const NameAnswered answered = ask_file_name(lang);
  const std::string_view name(answered.fname.data(), answered.fname.size());
  const std::string_view trimmed = name.substr(0, name.find_last_not_of(' ') + 1);

  const report::DataFileOpenContext open_context(
      lang, {trimmed, answered.typed, answered.whole, name_cut(answered.typed, answered.whole)});
  rt::open_old(rt::kDataUnit, name, &open_context);
  rt::skip_prefix(rt::kDataUnit, kByteOrderMark);
  report::write_data_file_line(rt::kScreenUnit, lang, name);
  report::write_data_file_line(rt::kReportUnit, lang, name);
  TableReadContext context(lang, trimmed, njudge, nobj, orient == 1);
  const IgnoredText ignored = read_table(mat, njudge, nobj, orient == 1, context);
  rt::close_unit(rt::kDataUnit);
  report::write_blank_line(rt::kReportUnit);
  warn_of_ignored_text(ignored, lang, trimmed);

  for (std::int32_t j = 1; j <= nobj; ++j) std::copy_n(mat.column(j), njudge, table.column(j));
  answers = {std::string(trimmed), orient == 1};
}

}  // namespace rankora
