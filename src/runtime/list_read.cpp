#include "runtime/list_read.hpp"

#include <algorithm>
#include <climits>
#include <limits>
#include <string_view>

#include "runtime/decimal.hpp"
#include "runtime/fatal.hpp"
#include "runtime/unit_table.hpp"

namespace rankora::rt {
namespace {

constexpr const char* kIncomprehensible = "incomprehensible list input";
constexpr const char* kUnexpected = "read unexpected character";
constexpr std::size_t kSkippedShown = 24;  // characters of ignored text kept to show

bool is_blank(int c) { return c == ' ' || c == '\t' || c == '\r'; }

bool is_digit(int c) { return c >= '0' && c <= '9'; }
bool is_sign(int c) { return c == '+' || c == '-'; }
bool is_exponent_letter(int c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

// The repeat count as the C library's atoi gives it: saturated to a long, then cut to 32 bits.
std::int32_t repeat_count(std::string_view digits) {
  long value = 0;
  for (char c : digits) {
    if (value > (LONG_MAX - (c - '0')) / 10) {
      value = LONG_MAX;
      break;
    }
    value = value * 10 + (c - '0');
  }
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// The usual value of a data file read straight from the buffer, when a character that
// cannot go on a number follows it. Returns the characters it takes, or 0 to leave the
// value to the full syntax: it may go on past the buffer, or into an exponent or a
// repeat count.
std::size_t plain_decimal(std::string_view ahead, double& value) {
  double read = 0.0;
  const std::size_t taken = short_decimal(ahead, '.', read).taken;
  if (taken == 0 || taken == ahead.size()) return 0;
  const char next = ahead[taken];
  if (next == '.' || next == '*' || is_sign(next) || is_exponent_letter(next)) return 0;
  value = read;
  return taken;
}

}  // namespace

std::int32_t to_int32(double value) {
  if (value > -2147483649.0 && value < 2147483648.0) return static_cast<std::int32_t>(value);
  return std::numeric_limits<std::int32_t>::min();
}

ListRead::ListRead(int unit, const ReadContext* context)
    : unit_(unit), context_(context), in_(detail::unit_at(unit).input), value_start_(in_.offset()) {
  note_statement(Direction::Reading, true);
  if (in_.at_end()) fail("read start", "end of file", true);
}

void ListRead::fail(std::string_view operation, std::string_view message, bool end_of_file) const {
  std::string note;
  if (context_ != nullptr) {
    const ReadFailure failure{end_of_file, std::max(items_, 1), in_.line_at(value_start_),
                              end_of_file ? std::string_view{} : in_.rest_of_line(value_start_)};
    note = context_->explain(failure);
  }
  fatal(operation, message, unit_, note);
}

void ListRead::incomprehensible(const char* operation) const { fail(operation, kIncomprehensible); }

void ListRead::read(std::int32_t& target) {
  if (item(Kind::Integer)) target = to_int32(number_);
}

void ListRead::read(double& target) {
  if (item(Kind::Real)) target = number_;
}

std::string_view ListRead::read(std::span<char> target) {
  if (!item(Kind::Text)) return {};
  // The text ends at its first NUL byte, as a C string would.
  const std::size_t text_end = std::min(text_.find('\0'), text_.size());
  const std::size_t length = std::min(text_end, target.size());
  for (std::size_t i = 0; i < target.size(); ++i) target[i] = i < length ? text_[i] : ' ';
  return std::string_view(text_).substr(0, text_end);
}

SkippedText ListRead::finish() {
  SkippedText skipped;
  if (in_.at_end()) return skipped;
  // Text after a slash was meant to be left: the slash ends a record on purpose.
  bool deliberate = quit_;
  for (int c = get(); c != '\n' && c != kEof; c = get()) {
    if (skipped.offset < 0) {
      if (c == '/') deliberate = true;
      if (deliberate || is_blank(c)) continue;
      skipped.offset = in_.offset() - 1;
    }
    if (skipped.start.size() < kSkippedShown) skipped.start.push_back(static_cast<char>(c));
  }
  return skipped;
}

// Returns true when the item received a value.
bool ListRead::item(Kind kind) {
  ++items_;
  if (quit_) return false;
  if (in_.at_end()) fail("list in", "end of file", true);
  bool null_by_comma = false;
  if (repeat_ == 0) {
    have_value_ = false;
    for (bool separated = false; !separated;) {
      int c = get();
      switch (c) {
        case kEof:
          // A read the system refused is reported as such, not as the end of the file;
          // its text says it all, so no note.
          if (int error = in_.error(); error != 0) fatal_errno("list in", error, unit_);
          fail("list in", "end of file", true);
        case ' ':
        case '\t':
        case '\n':
          break;
        case '/':
          quit_ = true;
          return false;
        case ',':
          null_by_comma = true;
          separated = true;
          break;
        default:
          unget(c);
          value_start_ = in_.offset();
          separated = true;
      }
    }
  }
  if (null_by_comma) {
    repeat_ = 1;
  } else {
    switch (kind) {
      case Kind::Integer:
        read_number(true);
        break;
      case Kind::Real:
        read_number(false);
        break;
      case Kind::Text:
        if (!read_text()) return false;  // the file ended inside quotes: the item is dropped
        break;
    }
    int c = get();
    while (c == ' ' || c == '\t') c = get();
    if (c != ',' || repeat_ > 1) unget(c);
    if (quit_) return false;
  }
  if (int error = in_.error(); error != 0) {
    in_.clear_error();
    fatal_errno("list in", error, unit_);
  }
  bool got = have_value_;
  if (repeat_ > 0) --repeat_;
  return got;
}

void ListRead::read_number(bool integer_only) {
  if (repeat_ > 0) return;  // the value of an r*v in progress stands
  repeat_ = 1;
  if (!integer_only) {
    if (const std::size_t taken = plain_decimal(in_.buffered(), number_)) {
      in_.skip(taken);
      have_value_ = true;
      return;
    }
  }
  have_value_ = false;

  DecimalDigits digits;
  bool after_star = false;
  int c;
  for (;;) {
    digits = DecimalDigits();
    c = get();
    if (c == '-') {
      digits.set_negative();
      c = get();
    } else if (c == '+') {
      c = get();
    }
    for (; is_digit(c); c = get()) digits.integer_digit(static_cast<char>(c));
    if (c != '*' || after_star) break;
    // More than 40 digits leave a power of ten: no count is that large.
    if (digits.significant().empty() || digits.exponent() != 0 || digits.negative()) {
      incomprehensible("bad repetition count");
    }
    after_star = true;
    repeat_ = repeat_count(digits.significant());
  }

  if (c == '.') {
    if (integer_only) fail("invalid integer", kUnexpected);
    for (c = get(); is_digit(c); c = get()) digits.fraction_digit(static_cast<char>(c));
  }

  // A sign straight after the digits opens an exponent without a letter (1+5 is 1e5).
  bool exponent_follows = is_sign(c);
  if (!exponent_follows && digits.any_digit() && is_exponent_letter(c)) {
    if (integer_only) fail("invalid integer", kUnexpected);
    c = get();
    exponent_follows = true;
  }
  if (exponent_follows) {
    bool negative = false;
    if (is_sign(c)) {
      negative = c == '-';
      c = get();
    }
    if (!is_digit(c)) incomprehensible("exponent field");
    long e = c - '0';
    while (is_digit(c = get())) {
      e = 10 * e + (c - '0');
      if (e > kMaxExponent) incomprehensible("exponent field");
    }
    digits.scale(negative ? -e : e);
  }
  unget(c);

  number_ = digits.value();
  if (digits.any_digit()) {
    have_value_ = true;
    return;
  }
  // No digits: a null value when a separator follows, or after r*.
  if (c == ',' || c == '/') return;
  if (after_star && (c == ' ' || c == '\t' || c == '\n')) return;
  incomprehensible("invalid number");
}

// Returns false when the end of the file came inside a quoted text.
bool ListRead::read_text() {
  text_.clear();
  have_value_ = false;
  int c = get();
  bool unquoted_from_here = false;
  if (is_digit(c)) {
    // Leading digits are either a repeat count (before '*') or the start of a bare text.
    std::uint32_t count = static_cast<std::uint32_t>(c - '0');
    text_.push_back(static_cast<char>(c));
    for (;;) {
      c = get();
      if (c == '*') {
        if (count == 0) {
          repeat_ = 1;
          unquoted_from_here = true;
        } else {
          text_.clear();
          repeat_ = static_cast<std::int32_t>(count);
        }
        break;
      }
      if (c == ',' || c == ' ' || c == '\t' || c == '\n' || c == '/' || c == kEof) {
        unget(c);
        repeat_ = 1;
        have_value_ = true;
        return true;
      }
      if (!is_digit(c)) {
        repeat_ = 1;
        unquoted_from_here = true;
        break;
      }
      text_.push_back(static_cast<char>(c));
      count = 10 * count + static_cast<std::uint32_t>(c - '0');
    }
  } else {
    unget(c);
  }

  int quote = 0;
  if (!unquoted_from_here) {
    c = get();
    if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ' ' || c == '\t' || c == ',' || c == '/' || c == kEof) {
      unget(c);  // a null value
      return true;
    }
    // Anything else, a line end included, starts a bare text.
  }
  if (quote == 0) {
    for (;;) {
      text_.push_back(static_cast<char>(c));
      c = get();
      if (c == ',' || c == ' ' || c == '\t' || c == '\n' || c == '/' || c == kEof) {
        unget(c);
        have_value_ = true;
        return true;
      }
    }
  }

  have_value_ = true;
  for (;;) {
    c = get();
    while (c != quote && c != '\n' && c != kEof) {
      text_.push_back(static_cast<char>(c));
      c = get();
    }
    if (c == kEof) return false;
    if (c == '\n') {
      // A line end inside quotes is dropped, unless a backslash stands before it.
      if (!text_.empty() && text_.back() == '\\') text_.back() = '\n';
      continue;
    }
    c = get();
    if (c != quote) {
      unget(c);
      return true;
    }
    text_.push_back(static_cast<char>(c));  // a doubled quote stands for one
  }
}

}  // namespace rankora::rt
