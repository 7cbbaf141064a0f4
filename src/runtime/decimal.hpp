// Decimal text to double, one conversion for every reader: the dialogue's list-directed
// reader and the command line's table file reader give the same double for the same text.
// At most 40 significant digits are kept (later ones only scale the value); the value of
// the digits kept is correctly rounded.
#pragma once

#include <cstddef>
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

// The usual value of a data file (37, -4.5, 12.75) read straight from its text: an
// optional sign, then at most 15 digits with at most one decimal mark among them. Returns
// the characters taken, or 0 when the text does not start that way; the caller decides
// whether what follows ends the number.
std::size_t short_decimal(std::string_view text, char mark, double& value);

// A whole text as a real number: an optional sign, digits with an optional decimal
// `mark` ('.' or ','), and an optional exponent after E, e, D or d. False when the text
// is anything else (a blank, a repeat count, an exponent without its letter included).
bool parse_decimal(std::string_view text, char mark, double& value);

}  // namespace rankora::rt
