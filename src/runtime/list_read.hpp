// One list-directed read statement: values separated by blanks, tabs, line ends or one
// comma; r*v repeats; null values; a slash ends the statement; the rest of the line
// after the last value is skipped by finish(). Every malformed input is fatal.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "runtime/input_stream.hpp"

namespace rankora::rt {

class ListRead {
 public:
  explicit ListRead(int unit);
  ListRead(const ListRead&) = delete;
  ListRead& operator=(const ListRead&) = delete;

  // A target left without a value (null value, slash) keeps what it held.
  void read(std::int32_t& target);
  void read(double& target);
  // Text is cut to the target's length or padded with blanks.
  void read(std::span<char> target);

  // Skips what is left of the line where the last value ended.
  void finish();

 private:
  enum class Kind { Integer, Real, Text };

  bool item(Kind kind);
  void read_number(bool integer_only);
  bool read_text();
  [[noreturn]] void incomprehensible(const char* operation) const;

  int get() { return in_.get(); }
  void unget(int c) { in_.unget(c); }

  int unit_;
  InputStream& in_;
  std::int32_t repeat_ = 0;  // values still owed by an r*v, or 0
  bool have_value_ = false;  // the last value parsed was not null
  bool quit_ = false;        // a slash ended the statement
  double number_ = 0.0;
  std::string text_;
};

// How an integer target receives a number read as a double: truncated toward zero, and
// the 32-bit "integer indefinite" value when that does not fit.
std::int32_t to_int32(double value);

}  // namespace rankora::rt
