// Formatted records: literals, Iw, Fw.d, nX and "/", laid out as text.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace rankora::rt {

struct FormatItem {
  enum class Kind { Literal, Integer, Real, Blanks, NewLine };
  Kind kind = Kind::Literal;
  std::string_view text;
  int width = 0;
  int decimals = 0;
};

constexpr FormatItem lit(std::string_view text) { return {FormatItem::Kind::Literal, text}; }
constexpr FormatItem int_field(int width) { return {FormatItem::Kind::Integer, {}, width}; }
constexpr FormatItem real_field(int width, int decimals) {
  return {FormatItem::Kind::Real, {}, width, decimals};
}
constexpr FormatItem blanks(int count) { return {FormatItem::Kind::Blanks, {}, count}; }
constexpr FormatItem slash() { return {FormatItem::Kind::NewLine, {}}; }

using Format = std::span<const FormatItem>;
using FieldValue = std::variant<std::int32_t, double>;

// Iw: right-justified in `width` columns; `width` asterisks when it does not fit.
std::string format_integer(std::int32_t value, int width);

// Fw.d: correctly rounded (half-even on the exact binary value), 0 kept before the
// point, no sign on a value that rounds to zero, asterisks when too wide; a value that
// is not finite is written as the C library writes it.
std::string format_real(double value, int width, int decimals);

// The whole text of a formatted write, every line ended by a line feed.
// Values are consumed in order by the Integer and Real items.
std::string render_format(Format format, std::span<const FieldValue> values);

}  // namespace rankora::rt
