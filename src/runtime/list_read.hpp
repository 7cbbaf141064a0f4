// One list-directed read statement: values separated by blanks, tabs, line ends or one
// comma; r*v repeats; null values; a slash ends the statement; the rest of the line
// after the last value is skipped by finish(). Every malformed input is fatal.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "runtime/input_stream.hpp"

namespace rankora::rt {

// What the reader can tell of a read that failed, for the caller's own explanation.
struct ReadFailure {
  bool end_of_file = false;  // the input ran out before every target had its value
  std::int32_t item = 0;     // the target being read: 1 for the statement's first
  std::int64_t line = 0;     // line where the value that failed starts
  std::string_view typed;    // from that value to the end of its line, as far as held
};

// Says, for the user, what a failed read was for: one line, written after the fatal
// error report. Lent to a read by whoever knows what it reads.
class ReadContext {
 public:
  virtual std::string explain(const ReadFailure& failure) const = 0;

 protected:
  ~ReadContext() = default;
};

// What finish() skipped that was not blank: where it began (an offset in the input, or
// -1 when there was nothing but blanks), and its first characters.
struct SkippedText {
  std::int64_t offset = -1;
  std::string start;
};

class ListRead {
 public:
  explicit ListRead(int unit, const ReadContext* context = nullptr);
  ListRead(const ListRead&) = delete;
  ListRead& operator=(const ListRead&) = delete;

  // A target left without a value (null value, slash) keeps what it held.
  void read(std::int32_t& target);
  void read(double& target);
  // Text is cut to the target's length or padded with blanks. Returns the whole text as
  // read, before the cut (empty when it had no value), valid until the next read.
  std::string_view read(std::span<char> target);

  // From where the last value started to the end of its line, as far as held: what was
  // typed, for a caller that explains what it made of it. Valid until finish().
  std::string_view typed() const { return in_.rest_of_line(value_start_); }

  // Skips what is left of the line where the last value ended.
  SkippedText finish();

 private:
  enum class Kind { Integer, Real, Text };

  bool item(Kind kind);
  void read_number(bool integer_only);
  bool read_text();
  [[noreturn]] void incomprehensible(const char* operation) const;
  [[noreturn]] void fail(std::string_view operation, std::string_view message,
                         bool end_of_file = false) const;

  int get() { return in_.get(); }
  void unget(int c) { in_.unget(c); }

  int unit_;
  const ReadContext* context_;
  InputStream& in_;
  std::int64_t value_start_;  // offset of the value being read
  std::int32_t items_ = 0;    // targets asked for so far
  std::int32_t repeat_ = 0;   // values still owed by an r*v, or 0
  bool have_value_ = false;   // the last value parsed was not null
  bool quit_ = false;         // a slash ended the statement
  double number_ = 0.0;
  std::string text_;
};

// How an integer target receives a number read as a double: truncated toward zero, and
// the 32-bit "integer indefinite" value when that does not fit.
std::int32_t to_int32(double value);

}  // namespace rankora::rt
