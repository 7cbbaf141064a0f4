// The records and fields of a table file, as the table file reader and what finds its
// shape go through them: one record a line, fields split by one separator, quotes with
// "" inside and line ends. Inline: the reader calls it for every value of a table.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "input/data_bytes.hpp"
#include "input/table_file.hpp"
#include "runtime/decimal.hpp"

namespace rankora::table_reading {

using Kind = TableProblem::Kind;

constexpr std::size_t kShownLength = 40;  // characters of a field quoted in a message

inline bool is_blank(char c) { return c == ' ' || c == '\t'; }
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }
inline bool is_line_end(char c) { return c == '\n' || c == '\r'; }

inline std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

// A file's text as a message quotes it: at most kShownLength characters.
inline std::string shown(std::string_view text) {
  return std::string(text.substr(0, kShownLength)) + (text.size() > kShownLength ? "..." : "");
}

[[noreturn]] inline void fail(TableProblem problem) { throw TableFileError(std::move(problem)); }

// One field as its line holds it.
struct Field {
  std::string_view text;  // between its quotes, or trimmed of blanks
  bool quoted = false;
  bool doubled_quotes = false;  // "" inside the quotes, which stands for one
  // A usual number (37, -4.5) is read as the field is found: the text is gone through once.
  bool read = false;
  bool point = false;  // the number read had a decimal point
  double number = 0.0;

  bool empty() const { return !quoted && text.empty(); }
  // The field's text as a name or a value: a doubled quote is one, blanks around go.
  std::string value_text() const {
    std::string out;
    const std::string_view inner = trimmed(text);
    for (std::size_t i = 0; i < inner.size(); ++i) {
      out.push_back(inner[i]);
      if (doubled_quotes && inner[i] == '"') ++i;
    }
    return out;
  }
};

// Internal to each file that reads fields, which then has it inlined where the values
// are read.
namespace {

// The records of a text, one a line; a quoted field may hold line ends. `separator` ' '
// separates fields by runs of blanks and tabs, any other by each of its occurrences.
class Records {
 public:
  // From byte `start` of `source` (after a byte-order mark), reading on as it goes.
  Records(DataBytes& source, std::size_t start, char separator)
      : source_(source), text_(source.view()), separator_(separator), pos_(start) {
    for (char c : {'\n', '\r', separator}) ends_field_[static_cast<unsigned char>(c)] = true;
    if (separator == ' ') ends_field_['\t'] = true;
  }

  // The next record with something on it into `fields`: false at the end of the text. A
  // line of nothing but blanks and separators is a blank line.
  bool next(std::vector<Field>& fields) {
    while (start_line()) {
      fields.clear();
      bool something = false;
      for (Field field; next_field(field);) {
        something = something || !field.empty();
        fields.push_back(field);
      }
      if (something) return true;
    }
    return false;
  }

  // The same a field at a time, which a caller takes as it comes (a record of the
  // capacity's 2000 values, kept whole, would leave the processor's first cache): false at
  // the end of the text, then next_field() until it is false at the line's end. Blank
  // lines are the caller's to skip.
  bool start_line() {
    if (!has(pos_)) return false;
    line_ = next_line_;
    fields_ = 0;
    line_done_ = false;
    read_to_line_end();
    return true;
  }
  bool next_field(Field& field) {
    if (line_done_) return false;
    skip_blanks();
    if (separator_ == ' ' && is_line_end(at(pos_))) {
      end_line();
      return false;
    }
    ++fields_;
    const bool quoted = at(pos_) == '"';
    field = quoted ? quoted_field(fields_) : plain_field();
    if (quoted) read_to_line_end();  // its line ends may have taken the one seen
    if (separator_ == ' ') return true;
    if (at(pos_) == separator_) {
      ++pos_;
    } else {
      end_line();  // the last field of its line
    }
    return true;
  }

  // The line where the last record starts, from 1.
  std::int64_t line() const { return line_; }

 private:
  // Whether byte k is there, reading on when it may be.
  bool has(std::size_t k) {
    while (k >= text_.size()) {
      if (!source_.more()) return false;
      text_ = source_.view();
    }
    return true;
  }
  char at(std::size_t k) { return has(k) ? text_[k] : '\n'; }
  bool blank_in_field(char c) const { return c == ' ' || (c == '\t' && separator_ != '\t'); }

  // Reads on until a line end stands after pos_: the fields of a line, and the numbers in
  // them, are then whole in text_.
  void read_to_line_end() {
    for (std::size_t from = pos_;; from = text_.size()) {
      const std::string_view rest = text_.substr(std::min(from, text_.size()));
      if (rest.find('\n') != std::string_view::npos || rest.find('\r') != std::string_view::npos) {
        return;
      }
      if (!has(text_.size())) return;
    }
  }

  void skip_blanks() {
    while (has(pos_) && blank_in_field(text_[pos_])) ++pos_;
  }

  void skip_line_end() {
    if (!has(pos_)) return;
    if (text_[pos_] == '\r' && at(pos_ + 1) == '\n') ++pos_;
    ++pos_;
    ++next_line_;
  }

  void end_line() {
    skip_line_end();
    line_done_ = true;
  }

  // Up to the separator or the line's end, less the blanks before them.
  Field plain_field() {
    Field field;
    const rt::ShortDecimal quick = rt::short_decimal(text_.substr(pos_), '.', field.number);
    if (quick.taken > 0 && ends_field_[static_cast<unsigned char>(at(pos_ + quick.taken))]) {
      field.text = text_.substr(pos_, quick.taken);
      field.read = true;
      field.point = quick.mark;
      pos_ += quick.taken;
      return field;
    }
    const char* const begin = text_.data();
    const char* p = begin + pos_;
    const char* const end = begin + text_.size();
    const char* const start = p;
    while (p < end && !ends_field_[static_cast<unsigned char>(*p)]) ++p;
    pos_ = static_cast<std::size_t>(p - begin);
    while (p > start && is_blank(p[-1])) --p;
    field.text = {start, static_cast<std::size_t>(p - start)};
    return field;
  }

  Field quoted_field(std::size_t field_number) {
    const std::size_t open = pos_++;
    const std::int64_t open_line = next_line_;
    Field field;
    field.quoted = true;
    for (;;) {
      std::size_t close = text_.find('"', pos_);
      for (std::size_t searched = text_.size(); close == std::string_view::npos && has(searched);
           searched = text_.size()) {
        close = text_.find('"', searched);
      }
      if (close == std::string_view::npos) {
        const std::string_view rest = text_.substr(open);
        TableProblem problem;
        problem.kind = Kind::QuoteNotClosed;
        problem.line = open_line;
        problem.field = static_cast<std::int32_t>(field_number);
        problem.text = shown(rest.substr(0, rest.find_first_of("\r\n")));
        fail(problem);
      }
      count_line_ends(pos_, close);
      if (at(close + 1) == '"') {
        field.doubled_quotes = true;
        pos_ = close + 2;
        continue;
      }
      field.text = text_.substr(open + 1, close - open - 1);
      pos_ = close + 1;
      break;
    }
    // Blanks may follow the quote, then its separator; with blanks as separators, a blank.
    if (separator_ != ' ') skip_blanks();
    const char next = at(pos_);
    if (!is_line_end(next) && next != separator_ && !(separator_ == ' ' && is_blank(next))) {
      read_to_line_end();  // the text shown goes to the end of its line
      TableProblem problem;
      problem.kind = Kind::TextAfterQuote;
      problem.line = open_line;
      problem.field = static_cast<std::int32_t>(field_number);
      const std::string_view rest = text_.substr(open);
      const char stops[] = {separator_, '\r', '\n', '\0'};
      problem.text = shown(rest.substr(0, rest.find_first_of(stops)));
      fail(problem);
    }
    return field;
  }

  // Line ends inside a quoted field still count as lines.
  void count_line_ends(std::size_t from, std::size_t to) {
    for (std::size_t k = from; k < to; ++k) {
      if (text_[k] == '\n' || (text_[k] == '\r' && at(k + 1) != '\n')) ++next_line_;
    }
  }

  DataBytes& source_;
  std::string_view text_;  // what source_ has read so far
  char separator_;
  std::array<bool, 256> ends_field_{};  // the bytes that end a field not quoted
  std::size_t pos_ = 0;
  std::int64_t next_line_ = 1;
  std::int64_t line_ = 0;
  std::size_t fields_ = 0;  // of the line being read
  bool line_done_ = true;
};

}  // namespace

}  // namespace rankora::table_reading
