#include "runtime/decimal.hpp"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <system_error>

namespace rankora::rt {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_exponent_letter(char c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

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
  value = exponent < 0 ? m / kExactPowersOfTen[-exponent] : m * kExactPowersOfTen[exponent];
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

bool parse_decimal(std::string_view text, char mark, double& value) {
  if (const std::size_t taken = short_decimal(text, mark, value).taken; taken == text.size()) {
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
