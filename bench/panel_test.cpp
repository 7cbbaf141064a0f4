// The generated tables: reproducible, of the promised shape and character, and read
// back by the program's own reader exactly as written.
#include "panel.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "analysis/wkendall.hpp"
#include "capacity.hpp"
#include "runtime/list_read.hpp"
#include "runtime/units.hpp"

namespace rankora::bench {
namespace {

struct Size {
  int judges;
  int objects;
};

std::string size_name(const testing::TestParamInfo<Size>& info) {
  return std::to_string(info.param.judges) + "x" + std::to_string(info.param.objects);
}

class PanelShape : public testing::TestWithParam<Size> {};

TEST_P(PanelShape, SameSeedSameScoresWithinRange) {
  const Size size = GetParam();
  const Panel panel = make_panel(size.judges, size.objects, 42);
  ASSERT_EQ(panel.scores.size(), static_cast<std::size_t>(size.judges) * size.objects);
  EXPECT_EQ(make_panel(size.judges, size.objects, 42).scores, panel.scores);
  const auto [low, high] = std::ranges::minmax(panel.scores);
  EXPECT_GE(low, 0);
  EXPECT_LT(high, 8 * size.objects);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PanelShape,
                         testing::Values(Size{1, 1}, Size{2, 3}, Size{10, 20}, Size{3, 2000},
                                         Size{1000, 4}),
                         size_name);

TEST(Panel, AnotherSeedAnotherTable) {
  EXPECT_NE(make_panel(10, 20, 1).scores, make_panel(10, 20, 2).scores);
}

// Ranks every judge as the analysis does; returns W without the tie correction.
double kendall_w(const Panel& panel) {
  CapacityMatrix scores;
  CapacityMatrix ranks;
  CapacityMatrix table;
  for (int j = 1; j <= panel.judges; ++j) {
    for (int k = 1; k <= panel.objects; ++k) scores.view()(j, k) = panel.score(j - 1, k - 1);
  }
  RankWork work;
  const double tie_term =
      rank_rows(scores.view(), ranks.view(), table.view(), panel.judges, panel.objects, work);
  std::vector<double> rsum(kCapacityObjects);
  double chi2 = 0.0;
  double kendw = 0.0;
  double s = 0.0;
  wkendall(panel.judges, panel.objects, ranks.view(), tie_term, rsum, kCapacityJudges,
           kCapacityObjects, chi2, kendw, s, 1, 2);
  return kendw;
}

// The share of scores that some other score of the same judge equals.
double tied_share(const Panel& panel) {
  std::size_t tied = 0;
  for (int j = 0; j < panel.judges; ++j) {
    std::vector<std::int32_t> row(panel.scores.begin() + j * panel.objects,
                                  panel.scores.begin() + (j + 1) * panel.objects);
    std::ranges::sort(row);
    for (std::size_t k = 0; k < row.size(); ++k) {
      const bool like_previous = k > 0 && row[k] == row[k - 1];
      const bool like_next = k + 1 < row.size() && row[k] == row[k + 1];
      if (like_previous || like_next) ++tied;
    }
  }
  return static_cast<double>(tied) / static_cast<double>(panel.scores.size());
}

class PanelCharacter : public testing::TestWithParam<Size> {};

// The sizes that run-capacity times: neither unanimous nor random, some ties, not many.
TEST_P(PanelCharacter, ModerateAgreementAndSomeTies) {
  const Size size = GetParam();
  const Panel panel = make_panel(size.judges, size.objects, size.judges * 10000ULL + size.objects);
  const double w = kendall_w(panel);
  EXPECT_GT(w, 0.05);
  EXPECT_LT(w, 0.5);
  const double share = tied_share(panel);
  EXPECT_GT(share, 0.02);
  EXPECT_LT(share, 0.4);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PanelCharacter,
                         testing::Values(Size{10, 20}, Size{50, 100}, Size{200, 500},
                                         Size{1000, 200}),
                         size_name);

TEST(Panel, RandomJudgesDoNotAgree) {
  const Panel panel = make_panel(400, 200, 5);
  Panel random_only{100, 200, {}};
  Panel agreeing_only{300, 200, {}};
  for (int j = 0; j < panel.judges; ++j) {
    Panel& target = scores_at_random(j) ? random_only : agreeing_only;
    target.scores.insert(target.scores.end(), panel.scores.begin() + j * 200,
                         panel.scores.begin() + (j + 1) * 200);
  }
  EXPECT_LT(kendall_w(random_only), 0.02);
  EXPECT_GT(kendall_w(agreeing_only), 0.1);
}

// A file in the temporary folder, removed at the end of the test.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& tag)
      : path_(std::filesystem::temp_directory_path() /
              ("rankora-bench-test-" + std::to_string(::getpid()) + "-" + tag)) {}
  ~TemporaryFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// Reads `records` records of `per_record` values through the program's reader.
std::vector<double> read_back(const std::string& path, int records, int per_record) {
  std::vector<double> values(static_cast<std::size_t>(records) * per_record, -1.0);
  rt::open_old(rt::kDataUnit, path);
  for (int r = 0; r < records; ++r) {
    rt::ListRead record(rt::kDataUnit);
    for (int v = 0; v < per_record; ++v)
      record.read(values[static_cast<std::size_t>(r) * per_record + v]);
    record.finish();
  }
  rt::close_unit(rt::kDataUnit);
  return values;
}

long line_count(const std::string& path) {
  std::ifstream in(path);
  return std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n');
}

class PanelFile : public testing::TestWithParam<Size> {};

// The long lines span several of the reader's buffers.
TEST_P(PanelFile, ReadBackAsWritten) {
  const Size size = GetParam();
  const Panel panel = make_panel(size.judges, size.objects, 3);
  TemporaryFile file("panel");
  {
    std::ofstream out(file.path());
    write_panel(out, panel);
  }
  EXPECT_EQ(line_count(file.path()), size.judges);
  const std::vector<double> values = read_back(file.path(), size.judges, size.objects);
  const std::vector<double> expected(panel.scores.begin(), panel.scores.end());
  EXPECT_EQ(values, expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PanelFile, testing::Values(Size{1, 1}, Size{3, 4}, Size{40, 2000}),
                         size_name);

// Mostly whole marks, some halves and some tenths, read exactly as strtod reads them.
TEST(TypicalValues, MarksReadBackAsWritten) {
  TemporaryFile file("typical");
  std::vector<double> expected;
  {
    std::ofstream out(file.path());
    expected = write_typical_values(out, 5, 2000, 9);
  }
  EXPECT_EQ(line_count(file.path()), 5);
  EXPECT_EQ(read_back(file.path(), 5, 2000), expected);

  int kinds[3] = {0, 0, 0};  // whole, half, other
  for (double v : expected) {
    ASSERT_TRUE(v >= 0.0 && v <= 100.0) << v;
    const double fraction = v - std::floor(v);
    ++kinds[fraction == 0.0 ? 0 : fraction == 0.5 ? 1 : 2];
  }
  EXPECT_GT(kinds[0], 6000);
  EXPECT_GT(kinds[1], 1000);
  EXPECT_GT(kinds[2], 500);
}

}  // namespace
}  // namespace rankora::bench
