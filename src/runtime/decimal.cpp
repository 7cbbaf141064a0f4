#include "runtime/decimal.hpp"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <system_error>

namespace rankora::rt {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_exponent_letter(char c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

// With at most 2^53 as the digits and a power of ten up to 1e22, both operands are exact
// doubles, so the one rounded multiply or divide is the correctly rounded value.
constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool exact_product(std::string_view digits, long exponent, double& value) {
  constexpr long kMaxPower = 22;
  constexpr std::uint64_t kMaxExact = std::uint64_t{1} << 53;
  constexpr std::size_t kMaxDigitsExact = 16;  // as many as 2^53 has
  if (digits.size() > kMaxDigitsExact || exponent < -kMaxPower || exponent > kMaxPower) {
    return false;
  }
  std::uint64_t mantissa = 0;
  for (char c : digits) mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
  if (mantissa > kMaxExact) return false;
  const double m = static_cast<double>(mantissa);
  value = exponent < 0 ? m / kPowers[-exponent] : m * kPowers[exponent];
  return true;
}

}  // namespace

double DecimalDigits::value() const {
  std::string_view digits = significant();
  long exponent = exponent_;
  while (!digits.empty() && digits.back() == '0') {
    digits.remove_suffix(1);
    ++exponent;
  }
  if (digits.empty()) return 0.0;
  double magnitude = 0.0;
  if (!exact_product(digits, exponent, magnitude)) {
    // The digits and "e<exponent>", for the full conversion.
    char text[kMaxSignificantDigits + 32];
    char* end = std::copy(digits.begin(), digits.end(), text);
    *end++ = 'e';
    end = std::to_chars(end, text + sizeof text - 1, exponent).ptr;
    const auto [ptr, ec] = std::from_chars(text, end, magnitude);
    if (ec == std::errc::result_out_of_range) {
      *end = '\0';
      magnitude = std::strtod(text, nullptr);  // infinity or zero
    }
  }
  return negative_ ? -magnitude : magnitude;
}

std::size_t short_decimal(std::string_view text, char mark, double& value) {
  constexpr int kMaxPlainDigits = 15;  // below 2^53: the mantissa is an exact double
  const bool negative = text.starts_with('-');
  std::size_t i = text.starts_with('+') || negative ? 1 : 0;
  std::uint64_t mantissa = 0;
  int digits = 0;
  int decimals = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (is_digit(c)) {
      if (++digits > kMaxPlainDigits) return 0;
      mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
      decimals += point;
    } else if (c == mark && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return 0;
  value = static_cast<double>(mantissa) / kPowers[decimals];
  if (negative && mantissa != 0) value = -value;
  return i;
}

bool parse_decimal(std::string_view text, char mark, double& value) {
  if (const std::size_t taken = short_decimal(text, mark, value); taken == text.size()) {
    return taken > 0;
  }
  DecimalDigits digits;
  std::size_t i = 0;
  const auto at = [&](std::size_t k) { return k < text.size() ? text[k] : '\0'; };
  if (at(i) == '-') digits.set_negative();
  if (at(i) == '-' || at(i) == '+') ++i;
  for (; is_digit(at(i)); ++i) digits.integer_digit(text[i]);
  if (at(i) == mark) {
    for (++i; is_digit(at(i)); ++i) digits.fraction_digit(text[i]);
  }
  if (!digits.any_digit()) return false;
  if (is_exponent_letter(at(i))) {
    ++i;
    const bool negative = at(i) == '-';
    if (at(i) == '-' || at(i) == '+') ++i;
    if (!is_digit(at(i))) return false;
    long power = 0;
    for (; is_digit(at(i)); ++i) {
      power = 10 * power + (text[i] - '0');
      if (power > kMaxExponent) return false;
    }
    digits.scale(negative ? -power : power);
  }
  if (i != text.size()) return false;
  value = digits.value();
  return true;
}

}  // namespace rankora::rt
