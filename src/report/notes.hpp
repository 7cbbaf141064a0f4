// Rankora's own lines on the error stream, each beginning with "rankora: ", in French
// (lang 1) or English: warnings about data the reading rules ignored, and what a read
// that failed was reading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "runtime/list_read.hpp"
#include "runtime/output_file.hpp"
#include "runtime/units.hpp"

namespace rankora::report {

enum class Question { Language, Size, Orientation, FileName, Ties, Permutations };

// Explains a keyboard answer that could not be read, or that never came.
class AnswerContext final : public rt::ReadContext {
 public:
  AnswerContext(int lang, Question question) : lang_(lang), question_(question) {}
  std::string explain(const rt::ReadFailure& failure) const override;

 private:
  int lang_;
  Question question_;
};

// Where a read of the data file failed: the judge and object of the value being read,
// and how many values the table needs.
struct TablePlace {
  std::int32_t judge;
  std::int32_t object;
  std::int64_t values_read;
  std::int64_t values_expected;
  std::int32_t njudge;
  std::int32_t nobj;
};
std::string explain_data_failure(int lang, std::string_view fname, const TablePlace& place,
                                 const rt::ReadFailure& failure);

// How a bare name ends short of what was typed (the reading rules), or a name longer
// than the 79 characters that are kept.
enum class NameCut { None, Blank, Comma, Slash, TooLong };

// What was typed for the data file's name, and what the reading made of it.
struct NameAnswer {
  std::string_view name;   // as the open was given it, trailing blanks off
  std::string_view typed;  // from the name's first character to its line's end
  std::string_view whole;  // the name as read, before the cut to 79 characters
  NameCut cut;
};

// Says why the data file could not be opened and how to name it.
class DataFileOpenContext final : public rt::OpenContext {
 public:
  DataFileOpenContext(int lang, const NameAnswer& answer) : lang_(lang), answer_(answer) {}
  std::string explain(int error) const override;

 private:
  int lang_;
  NameAnswer answer_;
};

// Says that a report of an earlier run is in the way, and how to keep it.
class ReportOpenContext final : public rt::OpenContext {
 public:
  explicit ReportOpenContext(int lang) : lang_(lang) {}
  std::string explain(int error) const override;

 private:
  int lang_;
};

// The line after the stop of a table larger than the capacities: the capacity, and
// whether the size may have been typed the wrong way round.
std::string explain_too_large(int lang, std::int32_t njudge, std::int32_t nobj, std::int32_t maxj,
                              std::int32_t maxobj);

// Text after the last value of a record was skipped on `lines` lines, the first of them
// `first_line`, where the skipped text began with `start`.
void warn_text_after_records(int lang, std::string_view fname, std::int64_t lines,
                             std::int64_t first_line, std::string_view start);
// Something other than blanks stands after the last record, from `line` on.
void warn_text_after_table(int lang, std::string_view fname, std::int64_t line);

// RANKORA_THREADS holds no count from 1 to `max`: every core is used.
void warn_unreadable_thread_count(int lang, std::string_view setting, std::int32_t max);

// Every warning line given so far, as written, without its line end.
std::span<const std::string> warnings_given();

// The line for an output that could not be written; the report `report` is complete.
std::string explain_output_failure(int lang, std::string_view output, std::string_view report,
                                   const rt::OutputFailure& failure);

}  // namespace rankora::report
