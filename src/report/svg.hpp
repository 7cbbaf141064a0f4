// A small SVG writer: a document of texts, lines, rectangles and paths, in pixels, with the
// classes of one style sheet. Enough for the picture of a run, and no more.
#pragma once

#include <string>
#include <string_view>

namespace rankora::report::svg {

// Text as it may stand in XML: markup characters escaped, every byte that is not part of
// valid UTF-8 replaced by U+FFFD, control characters (which XML forbids) by a blank.
std::string escaped(std::string_view text);

// At most `width` characters of `text` (valid UTF-8 assumed), the last of them an ellipsis
// when it was cut.
std::string clipped(std::string_view text, std::size_t width);

// x with `decimals` digits after the point, correctly rounded; NaN and Inf by name.
std::string fixed(double x, int decimals);

class Document {
 public:
  Document(double width, std::string_view style);

  void text(double x, double y, std::string_view content, std::string_view cls = {});
  // A rectangle with a tooltip (a <title> child) when `tooltip` is not empty.
  void rect(double x, double y, double w, double h, std::string_view cls,
            std::string_view tooltip = {});
  void line(double x1, double y1, double x2, double y2, std::string_view cls);
  void path(std::string_view d, std::string_view cls);

  // The whole document, `height` pixels high, with `title` as its accessible name.
  std::string finish(double height, std::string_view title) const;

  // A coordinate to a tenth of a pixel, without a trailing ".0".
  static std::string coordinate(double x);

 private:
  double width_;
  std::string style_;
  std::string body_;
};

}  // namespace rankora::report::svg
