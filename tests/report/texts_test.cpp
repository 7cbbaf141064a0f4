// The table of sentences: each one has the same placeholders in both languages, and is
// plain 7-bit text (French without accents) where a terminal or the report shows it; the
// picture's, which only the UTF-8 SVG shows, may be any valid UTF-8.
#include "report/texts.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace rankora::report {
namespace {

constexpr int kFrench = 1;
constexpr int kEnglish = 2;

std::vector<std::string> placeholders(std::string_view text) {
  std::vector<std::string> names;
  for (std::size_t open = text.find('{'); open != text.npos; open = text.find('{', open + 1)) {
    names.emplace_back(text.substr(open + 1, text.find('}', open) - open - 1));
  }
  std::sort(names.begin(), names.end());
  return names;
}

class Sentence : public testing::TestWithParam<int> {};

TEST_P(Sentence, HasTheSamePlaceholdersInBothLanguages) {
  const auto id = static_cast<Text>(GetParam());
  EXPECT_EQ(placeholders(pattern(kFrench, id)), placeholders(pattern(kEnglish, id)))
      << pattern(kFrench, id) << "\n"
      << pattern(kEnglish, id);
}

bool in_picture(Text id) { return id >= Text::PictureTitle && id <= Text::PictureTooltipNull; }

// Printable UTF-8: no control byte, each lead byte followed by its continuation bytes.
bool printable_utf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80                   ? 1
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                                                             : 0;
    if (length == 0 || (length == 1 && (lead < ' ' || lead > '~')) || i + length > text.size())
      return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

TEST_P(Sentence, IsPlainPrintableText) {
  const auto id = static_cast<Text>(GetParam());
  for (int lang : {kFrench, kEnglish}) {
    const std::string_view text = pattern(lang, id);
    EXPECT_FALSE(text.empty());
    if (in_picture(id)) {
      EXPECT_TRUE(printable_utf8(text)) << text;
    } else {
      EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) {
        return c >= ' ' && c <= '~';
      })) << text;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Sentence, testing::Range(0, static_cast<int>(Text::Count)));

}  // namespace
}  // namespace rankora::report
