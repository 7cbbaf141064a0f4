#include "report/svg.hpp"

#include <charconv>
#include <cmath>

namespace rankora::report::svg {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The length of the valid UTF-8 sequence at the start of `s`, or 0.
std::size_t utf8_length(std::string_view s) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = lead < 0x80                    ? 1
                       : lead >= 0xC2 && lead <= 0xDF ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                      : 0;
  if (length == 0 || length > s.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  // Overlong forms, surrogates and code points past U+10FFFF.
  if (length == 3 && ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) >= 0xA0)))
    return 0;
  if (length == 4 && ((lead == 0xF0 && byte(1) < 0x90) || (lead == 0xF4 && byte(1) >= 0x90)))
    return 0;
  return length;
}

}  // namespace

std::string escaped(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    const std::size_t length = utf8_length(text);
    if (length == 0) {
      out += kReplacement;
      text.remove_prefix(1);
      continue;
    }
    const char c = text[0];
    if (length == 1) {
      switch (c) {
        case '&':
          out += "&amp;";
          break;
        case '<':
          out += "&lt;";
          break;
        case '>':
          out += "&gt;";
          break;
        case '"':
          out += "&quot;";
          break;
        default:
          out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
      }
    } else {
      out += text.substr(0, length);
    }
    text.remove_prefix(length);
  }
  return out;
}

std::string clipped(std::string_view text, std::size_t width) {
  std::size_t characters = 0, end = 0, cut = 0;
  while (end < text.size()) {
    if (characters + 1 == width) cut = end;
    const std::size_t length = std::max<std::size_t>(1, utf8_length(text.substr(end)));
    end += length;
    if (++characters > width) return std::string(text.substr(0, cut)) + "\xE2\x80\xA6";
  }
  return std::string(text);
}

std::string fixed(double x, int decimals) {
  if (std::isnan(x)) return "NaN";
  if (std::isinf(x)) return x > 0 ? "Inf" : "-Inf";
  char text[400];
  const auto end = std::to_chars(text, text + sizeof text, x, std::chars_format::fixed, decimals);
  std::string out(text, end.ptr);
  // A negative figure that shows only zeros is shown without its sign.
  if (out[0] == '-' && out.find_first_not_of("-0.") == out.npos) out.erase(0, 1);
  return out;
}

std::string Document::coordinate(double x) {
  std::string out = fixed(std::round(x * 10.0) / 10.0, 1);
  if (out.ends_with(".0")) out.resize(out.size() - 2);
  return out;
}

Document::Document(double width, std::string_view style) : width_(width), style_(style) {}

void Document::text(double x, double y, std::string_view content, std::string_view cls) {
  body_ += "<text x=\"" + coordinate(x) + "\" y=\"" + coordinate(y) + '"';
  if (!cls.empty()) body_.append(" class=\"").append(cls).append("\"");
  body_ += '>' + escaped(content) + "</text>\n";
}

void Document::rect(double x, double y, double w, double h, std::string_view cls,
                    std::string_view tooltip) {
  body_ += "<rect x=\"" + coordinate(x) + "\" y=\"" + coordinate(y) + "\" width=\"" +
           coordinate(w) + "\" height=\"" + coordinate(h) + "\" class=\"";
  body_.append(cls).append("\"");
  if (tooltip.empty()) {
    body_ += "/>\n";
  } else {
    body_ += "><title>" + escaped(tooltip) + "</title></rect>\n";
  }
}

void Document::line(double x1, double y1, double x2, double y2, std::string_view cls) {
  body_ += "<line x1=\"" + coordinate(x1) + "\" y1=\"" + coordinate(y1) + "\" x2=\"" +
           coordinate(x2) + "\" y2=\"" + coordinate(y2) + "\" class=\"";
  body_.append(cls).append("\"/>\n");
}

void Document::path(std::string_view d, std::string_view cls) {
  body_.append("<path d=\"").append(d).append("\" class=\"").append(cls).append("\"/>\n");
}

std::string Document::finish(double height, std::string_view title) const {
  const std::string w = coordinate(width_), h = coordinate(height);
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
         "\" viewBox=\"0 0 " + w + ' ' + h + "\">\n";
  out += "<title>" + escaped(title) + "</title>\n";
  out.append("<style>\n").append(style_).append("</style>\n");
  out += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  return out + body_ + "</svg>\n";
}

}  // namespace rankora::report::svg
