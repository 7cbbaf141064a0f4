// The picture of a run: the SVG writer's text rules (svg_text.txt), and made-up runs of 2
// to 1000 judges (pictures.txt) checked as a reader would look at them.
#include "report/svg.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "analysis/inference.hpp"
#include "fixtures.hpp"
#include "reader/table_syntax.hpp"
#include "report/run_picture.hpp"

namespace rankora::report {
namespace {

namespace fs = std::filesystem;
using Row = std::vector<std::string>;

std::vector<Row> rows(const std::string& table) {
  return tables::table_rows(fs::path(__FILE__).parent_path() / table);
}
std::string row_name(const testing::TestParamInfo<Row>& row) { return row.param.back(); }

class SvgText : public testing::TestWithParam<Row> {};

TEST_P(SvgText, IsAsTheTableSays) {
  std::istringstream what(GetParam().at(0));
  std::string rule;
  int count = 0;
  what >> rule >> count;
  const std::string input = tables::trim(GetParam().at(1));
  const std::string got =
      rule == "escaped" ? svg::escaped(tables::quoted_bytes(input))
      : rule == "clipped"
          ? svg::clipped(tables::quoted_bytes(input), static_cast<std::size_t>(count))
          : svg::fixed(std::strtod(input.c_str(), nullptr), count);
  EXPECT_EQ(got, tables::quoted_bytes(GetParam().at(2)));
}

INSTANTIATE_TEST_SUITE_P(Table, SvgText, testing::ValuesIn(rows("svg_text.txt")), row_name);

// A text's box as a renderer would give it, within a few pixels: DejaVu Sans, whose
// characters average under 0.6 of the font size (0.66 in bold).
struct Box {
  double left, top, right, bottom;
  std::string what;
};

bool overlap(const Box& a, const Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::size_t characters(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string unescaped(std::string text) {
  for (const auto& [entity, c] :
       {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}}) {
    for (auto at = text.find(entity); at != text.npos; at = text.find(entity, at + 1)) {
      text.replace(at, std::string_view(entity).size(), c);
    }
  }
  return text;
}

std::vector<Box> text_boxes(const std::string& svg) {
  static const std::regex text(
      R"re(<text x="([-0-9.]+)" y="([-0-9.]+)"(?: class="([^"]*)")?>([^<]*)</text>)re");
  std::vector<Box> boxes;
  for (std::sregex_iterator it(svg.begin(), svg.end(), text), end; it != end; ++it) {
    const std::string cls = (*it)[3], content = unescaped((*it)[4]);
    const bool bold = cls.find("title") != cls.npos || cls.find("heading") != cls.npos ||
                      cls.find("observed") != cls.npos || cls.find("mark") != cls.npos;
    const double size = cls.find("title") != cls.npos     ? 16
                        : cls.find("heading") != cls.npos ? 14
                        : cls.find("small") != cls.npos   ? 11
                                                          : 12;
    const double width = static_cast<double>(characters(content)) * size * (bold ? 0.66 : 0.6);
    const double x = std::stod((*it)[1]), y = std::stod((*it)[2]);
    const double left = cls.find("end") != cls.npos   ? x - width
                        : cls.find("mid") != cls.npos ? x - width / 2
                                                      : x;
    boxes.push_back({left, y - 0.75 * size, left + width, y + 0.2 * size, content});
  }
  return boxes;
}

std::vector<Box> bar_boxes(const std::string& svg, const std::string& cls) {
  static const std::regex rect(
      R"re(<rect x="([-0-9.]+)" y="([-0-9.]+)" width="([-0-9.]+)" height="([-0-9.]+)" class="([^"]*)")re");
  std::vector<Box> boxes;
  for (std::sregex_iterator it(svg.begin(), svg.end(), rect), end; it != end; ++it) {
    if ((*it)[5] != cls) continue;
    const double x = std::stod((*it)[1]), y = std::stod((*it)[2]);
    boxes.push_back({x, y, x + std::stod((*it)[3]), y + std::stod((*it)[4]), cls});
  }
  return boxes;
}

std::size_t occurrences(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (auto at = text.find(what); at != text.npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class Picture : public testing::TestWithParam<Row> {
 protected:
  void SetUp() override {
    const int m = std::stoi(GetParam().at(0));
    run_ = fixtures::panel(m, tables::trim(GetParam().at(1)) == "fr" ? 1 : 2,
                           tables::trim(GetParam().at(2)) == "yes", std::stoi(GetParam().at(3)));
    svg_ = run_picture(run_.results());
    const auto [width, height] = size();
    width_ = width;
    height_ = height;
  }
  std::pair<double, double> size() const {
    std::smatch m;
    std::regex_search(svg_, m, std::regex(R"re(<svg [^>]*width="([0-9.]+)" height="([0-9.]+)")re"));
    return {std::stod(m[1]), std::stod(m[2])};
  }
  fixtures::Run run_;
  std::string svg_;
  double width_ = 0, height_ = 0;
};

TEST_P(Picture, IsLegible) {
  const std::vector<Box> texts = text_boxes(svg_);
  std::vector<Box> bars = bar_boxes(svg_, "sig");
  for (const Box& b : bar_boxes(svg_, "not")) bars.push_back(b);
  ASSERT_FALSE(texts.empty());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const Box& t = texts[i];
    EXPECT_TRUE(t.left >= 0 && t.right <= width_ && t.top >= 0 && t.bottom <= height_)
        << "past the edge: " << t.what;
    for (std::size_t k = i + 1; k < texts.size(); ++k) {
      EXPECT_FALSE(overlap(t, texts[k])) << '"' << t.what << "\" over \"" << texts[k].what << '"';
    }
    for (const Box& bar : bars) {
      // The legend's swatches stand beside their words.
      if (bar.bottom - bar.top == 12 && bar.right - bar.left == 12) continue;
      EXPECT_FALSE(overlap(t, bar)) << '"' << t.what << "\" over a bar";
    }
  }
}

// Every judge has one bar, set apart by its Holm probability, and a mark when its
// variance is null; the swatches of the legend are one more of each.
TEST_P(Picture, ShowsEveryJudgeWithItsMarks) {
  const std::vector<JudgeInference> inference = infer_judges(run_.judges, run_.panel.nperm);
  const auto significant = static_cast<std::size_t>(
      std::count_if(inference.begin(), inference.end(),
                    [](const JudgeInference& j) { return j.p_holm <= 0.05; }));
  const auto null =
      static_cast<std::size_t>(std::count_if(run_.judges.begin(), run_.judges.end(),
                                             [](const JudgeResult& j) { return j.null_variance; }));
  EXPECT_EQ(bar_boxes(svg_, "sig").size(), significant + 1);
  EXPECT_EQ(bar_boxes(svg_, "not").size(), run_.judges.size() - significant + 1);
  const bool rows = run_.judges.size() <= kJudgeRowsAtMost;
  EXPECT_EQ(rows ? occurrences(svg_, "class=\"mark\">#</text>") : bar_boxes(svg_, "null").size(),
            null == 0 ? 0 : null + 1);
  // A tooltip for each, with its name where the file had one.
  EXPECT_EQ(occurrences(svg_, "<title>"), run_.judges.size() + 1);
  // Names in full in the tooltips, and at the start of each row.
  if (!run_.judge_names.empty()) {
    EXPECT_EQ(occurrences(svg_, "&lt;taster &amp; co&gt; &quot;long name&quot;"),
              run_.judges.size());
    EXPECT_EQ(occurrences(svg_, "Juge n\xC2\xB0"), run_.judges.size() * (rows ? 2 : 1));
  }
}

TEST_P(Picture, SaysPInOneLanguage) {
  const bool french = run_.run.lang == 1;
  const std::string p = svg::fixed(run_.panel.p, 5);
  EXPECT_EQ(occurrences(svg_, ">p = " + p + " ("), 1u);
  for (const std::string english : {"Global test", "Each judge", "judges x", "Holm p"}) {
    EXPECT_EQ(occurrences(svg_, english) > 0, !french) << english;
  }
  for (const std::string francais : {"Test global", "Chaque juge", "juges x", "p de Holm"}) {
    EXPECT_EQ(occurrences(svg_, francais) > 0, french) << francais;
  }
  EXPECT_LT(svg_.size(), 1u << 20);
}

INSTANTIATE_TEST_SUITE_P(Table, Picture, testing::ValuesIn(rows("pictures.txt")), row_name);

// Names of any length: the start of each in its tooltip, and 1000 judges still well under
// 3 MB.
TEST(Picture, StaysSmallWithNamesOfAnyLength) {
  fixtures::Run run = fixtures::panel(1000, 2, true);
  for (std::string& name : run.judge_names) name += std::string(20000, 'x');
  const std::string svg = run_picture(run.results());
  EXPECT_LT(svg.size(), 1u << 20);
  EXPECT_EQ(
      occurrences(svg, "&lt;taster &amp; co&gt; &quot;long name&quot;" + std::string(100, 'x')),
      run.judges.size());
}

// The observed W: a line where the histogram's axis can take it in, an arrow beyond.
TEST(Picture, MarksTheObservedW) {
  fixtures::Run run = fixtures::panel(9, 2, false);
  for (const auto& [w, mark] : {std::pair{0.1, "class=\"observed\""},
                                {0.35, "class=\"observed\""},
                                {0.41, "class=\"arrow\""},
                                {-0.1, "class=\"observed\""},
                                {-0.5, "class=\"arrow\""}}) {
    run.panel.kendw = w;
    const std::string svg = run_picture(run.results());
    EXPECT_EQ(occurrences(svg, mark), 1u) << w;
    EXPECT_EQ(occurrences(svg, "class=\"observed\"") + occurrences(svg, "class=\"arrow\""), 1u)
        << w;
  }
  // Shuffled tables beyond the bins are counted, not lost.
  run.panel.null_histogram.above = 12;
  EXPECT_EQ(occurrences(run_picture(run.results()), "outside the axis: 0 below, 12 above"), 1u);
  // Every judge constant, with the correction for ties: no W, no axis, and a word why.
  run.panel.kendw = run.panel.null_histogram.w_low = run.panel.null_histogram.w_high = NAN;
  const std::string svg = run_picture(run.results());
  EXPECT_EQ(occurrences(svg, "W is not a number"), 1u);
  EXPECT_EQ(occurrences(svg, "class=\"bins\""), 0u);
}

}  // namespace
}  // namespace rankora::report
