#include "report/notes.hpp"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "report/texts.hpp"
#include "runtime/units.hpp"
#include "runtime/write.hpp"

namespace rankora::report {
namespace {

constexpr std::string_view kPrefix = "rankora: ";

// Typed or file text, quoted, as it can stand in a message: a tab is a blank, other
// control bytes (a carriage return, a NUL) are written as escapes, trailing blanks go.
std::string shown(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      out.append("\\r");
    } else if (byte < 0x20 && c != '\t') {
      constexpr char kHex[] = "0123456789abcdef";
      out.append("\\x").push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 15]);
    } else {
      out.push_back(c == '\t' ? ' ' : c);
    }
  }
  out.erase(out.find_last_not_of(' ') + 1);
  return '"' + out + '"';
}

std::string line(std::string_view text) { return std::string(kPrefix).append(text); }

std::vector<std::string>& warnings() {
  static std::vector<std::string> given;
  return given;
}

// A warning, kept for the JSON output too.
void say(std::string_view text) {
  warnings().push_back(line(text));
  rt::write_text(rt::kErrorUnit, warnings().back() + "\n");
}

Text ran_out(Question question) {
  switch (question) {
    case Question::Size:
      return Text::RanOutAtSize;
    case Question::Orientation:
      return Text::RanOutAtOrientation;
    case Question::FileName:
      return Text::RanOutAtFileName;
    case Question::Ties:
      return Text::RanOutAtTies;
    case Question::Permutations:
      return Text::RanOutAtPermutations;
    case Question::Language:
      break;
  }
  return Text::LanguageRanOut;
}

Text not_answered(Question question) {
  switch (question) {
    case Question::Size:
      return Text::SizeNotAnswered;
    case Question::Orientation:
      return Text::OrientationNotAnswered;
    case Question::FileName:
      return Text::FileNameNotAnswered;
    case Question::Ties:
      return Text::TiesNotAnswered;
    case Question::Permutations:
      return Text::PermutationsNotAnswered;
    case Question::Language:
      break;
  }
  return Text::LanguageNotAnswered;
}

std::string count(std::int64_t value) { return std::to_string(value); }

// The first word of what was typed: the value that could not be read.
std::string_view first_word(std::string_view text) {
  return text.substr(0, text.find_first_of(" \t,/"));
}

// The answer as it can be typed again between apostrophes, or between quotation marks
// when it holds an apostrophe; a quote that is still inside is doubled.
std::string quoted(std::string_view typed) {
  typed = typed.substr(0, typed.find_last_not_of(" \t\r") + 1);
  const bool apostrophe = typed.find('\'') != typed.npos;
  const char quote = apostrophe && typed.find('"') == typed.npos ? '"' : '\'';
  std::string out(1, quote);
  for (char c : typed) {
    out.push_back(c);
    if (c == quote) out.push_back(c);
  }
  return out + quote;
}

// The last part of a path: the file's own name.
std::string_view base_name(std::string_view typed) {
  typed = typed.substr(0, typed.find_last_not_of(" \t\r") + 1);
  return typed.substr(typed.find_last_of('/') + 1);
}

Text cut_name(const NameAnswer& answer) {
  switch (answer.cut) {
    case NameCut::Blank:
      return Text::NameCutAtBlank;
    case NameCut::Comma:
      return Text::NameCutAtComma;
    case NameCut::Slash:
      return answer.name.empty() ? Text::NameCutAtFirstSlash : Text::NameCutAtSlash;
    default:
      break;
  }
  return answer.whole.find('/') == answer.whole.npos ? Text::NameTooLong : Text::PathTooLong;
}

Text open_failure(std::string_view name, int error) {
  switch (error) {
    case 0:
      return Text::NameEmpty;
    case ENOENT:
    case ENOTDIR:
      return name.ends_with('\r') ? Text::FileNameEndsInCarriageReturn : Text::FileNotThere;
    case EISDIR:
      return Text::FileIsAFolder;
    case EACCES:
      return Text::FileMayNotBeRead;
    default:
      return Text::FileCannotBeOpened;
  }
}

}  // namespace

std::string DataFileOpenContext::explain(int error) const {
  const NameAnswer& answer = answer_;
  // A name that was cut is the cause, whatever the open then met.
  const Text id = answer.cut == NameCut::None ? open_failure(answer.name, error) : cut_name(answer);
  // A quoted name is whole in what was read; a bare one that was cut, only in what was typed.
  const std::string_view path = answer.cut == NameCut::TooLong ? answer.whole : answer.typed;
  // Each sentence takes the placeholders it names and leaves the others.
  return line(sentence(lang_, id,
                       {{"name", shown(answer.name)},
                        {"typed", shown(answer.typed)},
                        {"quoted", quoted(answer.typed)},
                        {"base", shown(base_name(path))},
                        {"length", count(static_cast<std::int64_t>(answer.whole.size()))}}));
}

std::string ReportOpenContext::explain(int error) const {
  return error == EEXIST ? line(pattern(lang_, Text::ReportExists)) : std::string();
}

std::string explain_too_large(int lang, std::int32_t njudge, std::int32_t nobj, std::int32_t maxj,
                              std::int32_t maxobj) {
  // A size that would be asked again as too small is no size typed the wrong way round.
  const bool swapped_fits = nobj >= 2 && njudge >= 2 && nobj <= maxj && njudge <= maxobj;
  return line(sentence(lang, swapped_fits ? Text::TableTooLargeOrSwapped : Text::TableTooLarge,
                       {{"judges", count(njudge)},
                        {"objects", count(nobj)},
                        {"maxj", count(maxj)},
                        {"maxobj", count(maxobj)}}));
}

std::string AnswerContext::explain(const rt::ReadFailure& failure) const {
  if (failure.end_of_file) return line(pattern(lang_, ran_out(question_)));
  return line(sentence(lang_, not_answered(question_), {{"typed", shown(failure.typed)}}));
}

std::string explain_data_failure(int lang, std::string_view fname, const TablePlace& place,
                                 const rt::ReadFailure& failure) {
  if (failure.end_of_file) {
    return line(sentence(lang, Text::DataEndedEarly,
                         {{"file", fname},
                          {"read", count(place.values_read)},
                          {"expected", count(place.values_expected)},
                          {"judges", count(place.njudge)},
                          {"objects", count(place.nobj)}}));
  }
  const std::string_view word = first_word(failure.typed);
  return line(sentence(lang, word.empty() ? Text::DataUnreadable : Text::DataNotANumber,
                       {{"line", count(failure.line)},
                        {"file", fname},
                        {"value", shown(word)},
                        {"judge", count(place.judge)},
                        {"object", count(place.object)}}));
}

void warn_text_after_records(int lang, std::string_view fname, std::int64_t lines,
                             std::int64_t first_line, std::string_view start) {
  say(sentence(lang, lines == 1 ? Text::TextAfterRecordsOnOneLine : Text::TextAfterRecordsOnLines,
               {{"count", count(lines)},
                {"file", fname},
                {"line", count(first_line)},
                {"start", shown(start)}}));
  say(pattern(lang, Text::TextAfterRecordsWhy));
}

void warn_text_after_table(int lang, std::string_view fname, std::int64_t line) {
  say(sentence(lang, Text::TextAfterTable, {{"file", fname}, {"line", count(line)}}));
  say(pattern(lang, Text::TextAfterTableWhy));
}

void warn_unreadable_thread_count(int lang, std::string_view setting, std::int32_t max) {
  say(sentence(lang, Text::ThreadCountUnreadable,
               {{"setting", setting}, {"max", std::to_string(max)}}));
}

std::span<const std::string> warnings_given() { return warnings(); }

std::string explain_output_failure(int lang, std::string_view output, std::string_view report,
                                   const rt::OutputFailure& failure) {
  Text id = Text::OutputNotWritten;
  switch (failure.step) {
    case rt::OutputStep::Create:
      id = Text::OutputNotCreated;
      break;
    case rt::OutputStep::Write:
      break;
    case rt::OutputStep::Sync:
      id = Text::OutputNotSaved;
      break;
    case rt::OutputStep::Close:
      id = Text::OutputNotClosed;
      break;
    case rt::OutputStep::Rename:
      id = failure.error == EEXIST ? Text::OutputAppeared : Text::OutputNotRenamed;
      break;
  }
  return line(
      sentence(lang, id,
               {{"output", output}, {"report", report}, {"reason", std::strerror(failure.error)}}));
}

}  // namespace rankora::report
