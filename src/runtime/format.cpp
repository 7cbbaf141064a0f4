#include "runtime/format.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace rankora::rt {
namespace {

std::string right_justified(std::string text, int width) {
  auto w = static_cast<std::size_t>(width);
  if (text.size() > w) return std::string(w, '*');
  text.insert(0, w - text.size(), ' ');
  return text;
}

// Sized by a first call: the largest double alone has 309 digits before its point.
std::string fixed(double value, int decimals) {
  const int length = std::snprintf(nullptr, 0, "%.*f", decimals, value);
  std::string text(static_cast<std::size_t>(length), '\0');
  std::snprintf(text.data(), text.size() + 1, "%.*f", decimals, value);
  return text;
}

}  // namespace

std::string format_integer(std::int32_t value, int width) {
  char buffer[16];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return right_justified(std::string(buffer, end), width);
}

std::string format_real(double value, int width, int decimals) {
  if (!std::isfinite(value)) return right_justified(fixed(value, decimals), width);
  std::string text = fixed(std::fabs(value), decimals);
  bool all_zero = text.find_first_not_of("0.") == std::string::npos;
  if (value < 0.0 && !all_zero) text.insert(0, 1, '-');
  auto w = static_cast<std::size_t>(width);
  if (text.size() == w + 1) {
    std::size_t zero = text[0] == '-' ? 1 : 0;
    if (text.compare(zero, 2, "0.") == 0) text.erase(zero, 1);
  }
  return right_justified(std::move(text), width);
}

std::string render_format(Format format, std::span<const FieldValue> values) {
  std::string out;
  std::size_t next = 0;
  auto take = [&]() -> const FieldValue& {
    if (next >= values.size()) throw std::logic_error("format has more fields than values");
    return values[next++];
  };
  for (const FormatItem& item : format) {
    switch (item.kind) {
      case FormatItem::Kind::Literal:
        out.append(item.text);
        break;
      case FormatItem::Kind::Integer:
        out.append(format_integer(std::get<std::int32_t>(take()), item.width));
        break;
      case FormatItem::Kind::Real:
        out.append(format_real(std::get<double>(take()), item.width, item.decimals));
        break;
      case FormatItem::Kind::Blanks:
        out.append(static_cast<std::size_t>(item.width), ' ');
        break;
      case FormatItem::Kind::NewLine:
        out.push_back('\n');
        break;
    }
  }
  out.push_back('\n');
  return out;
}

}  // namespace rankora::rt
