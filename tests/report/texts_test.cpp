// The table of sentences: each one has the same placeholders in both languages, and is
// plain 7-bit text (French without accents).
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

TEST_P(Sentence, IsPlainPrintableText) {
  const auto id = static_cast<Text>(GetParam());
  for (int lang : {kFrench, kEnglish}) {
    const std::string_view text = pattern(lang, id);
    EXPECT_FALSE(text.empty());
    EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; }))
        << text;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Sentence, testing::Range(0, static_cast<int>(Text::Count)));

}  // namespace
}  // namespace rankora::report
