// Decimal text to double, one conversion for every reader: the dialogue's list-directed
// reader and the command line's table file reader give the same double for the same text.
// At most 40 significant digits are kept (later ones only scale the value); the value of
// the digits kept is correctly rounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rankora::rt {

inline constexpr int kMaxSignificantDigits = 40;
// A longer exponent is malformed, not infinite.
inline constexpr long kMaxExponent = 99999999;

// The digits of one number, fed one at a time as a reader meets them.
class DecimalDigits {
 public:
  void set_negative() { negative_ = true; }
  void integer_digit(char c) {
    if (count_ == 0 && c == '0') {
      ++zeros_;
    } else if (count_ < kMaxSignificantDigits) {
      digits_[count_++] = c;
    } else {
      ++exponent_;
    }
  }
  void fraction_digit(char c) {
    if (count_ == 0 && c == '0') {
      ++zeros_;
      --exponent_;
    } else if (count_ < kMaxSignificantDigits) {
      digits_[count_++] = c;
      --exponent_;
    }
  }
  // An exponent field: the value times ten to `power`.
  void scale(long power) { exponent_ += power; }

  // Whether any digit came, a zero included: "." alone has none.
  bool any_digit() const { return count_ + zeros_ > 0; }
  bool negative() const { return negative_; }
  // The significant digits kept, without leading zeros, and the power of ten so far.
  std::string_view significant() const { return {digits_, static_cast<std::size_t>(count_)}; }
  long exponent() const { return exponent_; }

  // Correctly rounded; a minus zero is plus zero.
  double value() const;

 private:
  char digits_[kMaxSignificantDigits];
  int count_ = 0;
  long zeros_ = 0;
  long exponent_ = 0;
  bool negative_ = false;
};

// With at most 2^53 as the digits and a power of ten up to 1e22, both operands are exact
// doubles, so the one rounded multiply or divide is the correctly rounded value.
inline constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

struct ShortDecimal {
  std::size_t taken = 0;  // characters read, or 0 when the text does not start that way
  bool mark = false;      // a decimal mark was among them
};

// The usual value of a data file (37, -4.5, 12.75) read straight from its text: an
// optional sign, then at most 15 digits with at most one decimal mark among them; the
// caller decides whether what follows ends the number. Inline: readers call it for
// every value.
inline ShortDecimal short_decimal(std::string_view text, char mark, double& value) {
  constexpr int kMaxPlainDigits = 15;  // below 2^53: the mantissa is an exact double
  const bool negative = text.starts_with('-');
  std::size_t i = text.starts_with('+') || negative ? 1 : 0;
  std::uint64_t mantissa = 0;
  int digits = 0;
  int decimals = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (++digits > kMaxPlainDigits) return {};
      mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
      decimals += point;
    } else if (c == mark && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return {};
  value = static_cast<double>(mantissa) / kExactPowersOfTen[decimals];
  if (negative && mantissa != 0) value = -value;
  return {i, point};
}

// A whole text as a real number: an optional sign, digits with an optional decimal
// `mark` ('.' or ','), and an optional exponent after E, e, D or d. False when the text
// is anything else (a blank, a repeat count, an exponent without its letter included).
bool parse_decimal(std::string_view text, char mark, double& value);

}  // namespace rankora::rt
