// The permutation tests, called as the benchmarks call them on the benchmarks' capacity
// table, give what the plain computation gives: shuffle rows of a copy of the ranks and
// recompute S from the whole table. A benchmark of a wrong call would time nothing useful.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <numeric>
#include <vector>

#include "analysis/permutation_tests.hpp"
#include "analysis/random.hpp"
#include "analysis/wkendall.hpp"
#include "capacity.hpp"

namespace rankora::bench {
namespace {

constexpr int kJudges = kCapacityJudges;
constexpr int kObjects = kCapacityObjects;

double plain_s(MatrixView table) {
  std::vector<double> rsum(kObjects);
  double chi2 = 0.0;
  double kendw = 0.0;
  double s = 0.0;
  wkendall(kJudges, kObjects, table, 0.0, rsum, kJudges, kObjects, chi2, kendw, s, 2, 1);
  return s;
}

std::vector<std::int32_t> identity() {
  std::vector<std::int32_t> perm(kObjects);
  std::iota(perm.begin(), perm.end(), 1);
  return perm;
}

// Shuffles each listed judge's row in turn, then compares S with the observed one.
class PlainTest {
 public:
  PlainTest() {
    MatrixView ranks = capacity_data().ranks.view();
    for (int k = 1; k <= kObjects; ++k) {
      for (int j = 1; j <= kJudges; ++j) table_.view()(j, k) = ranks(j, k);
    }
  }

  std::int64_t count(int first_judge, int last_judge, int nperm, RandStream& stream) {
    MatrixView ranks = capacity_data().ranks.view();
    MatrixView table = table_.view();
    std::int64_t count = 1;
    for (int i = 0; i < nperm; ++i) {
      for (int j = first_judge; j <= last_judge; ++j) {
        shuffle(perm_.data(), kObjects, stream);
        for (int k = 1; k <= kObjects; ++k)
          table(j, k) = ranks(j, perm_[static_cast<std::size_t>(k - 1)]);
      }
      if (plain_s(table) >= capacity_data().s_observed) ++count;
    }
    return count;
  }

 private:
  CapacityMatrix table_;
  std::vector<std::int32_t> perm_ = identity();
};

TEST(GlobalTestAsBenchmarked, MatchesPlainAndDrawsAlike) {
  CapacityData& data = capacity_data();
  ASSERT_EQ(data.s_observed, plain_s(data.ranks.view()));
  constexpr int kPermutations = 2;
  auto plain_stream = std::make_unique<RandStream>();
  const std::int64_t expected = PlainTest().count(1, kJudges - 1, kPermutations, *plain_stream);

  auto stream = std::make_unique<RandStream>();
  std::vector<std::int32_t> perm = identity();
  CapacityMatrix rows;
  std::vector<double> rsum(kObjects);
  std::vector<double> last_row(kObjects);
  EXPECT_EQ(global_test_count(data.ranks.view(), kJudges, kObjects, kPermutations, data.s_observed,
                              perm, rows.view().data(), rsum, last_row, *stream),
            expected);
  EXPECT_EQ(stream->next(), plain_stream->next()) << "the draws went out of step";
}

class JudgeTestAsBenchmarked : public testing::TestWithParam<int> {};

TEST_P(JudgeTestAsBenchmarked, MatchesPlainAndDrawsAlike) {
  const int judge = GetParam();
  constexpr int kPermutations = 40;
  CapacityData& data = capacity_data();
  auto plain_stream = std::make_unique<RandStream>();
  const std::int64_t expected = PlainTest().count(judge, judge, kPermutations, *plain_stream);

  auto stream = std::make_unique<RandStream>();
  std::vector<std::int32_t> perm = identity();
  std::vector<double> own(kObjects);
  std::vector<double> others(kObjects);
  EXPECT_EQ(judge_test_count(data.ranks.view(), judge, kObjects, kPermutations, data.s_observed,
                             data.rank_sums, perm, own, others, *stream),
            expected);
  EXPECT_EQ(stream->next(), plain_stream->next()) << "the draws went out of step";
}

// Judge 1 agrees with the others; judges 4 and 1000 (the row that the global test never
// shuffles) score at random, so their permuted S falls on both sides of the observed one.
INSTANTIATE_TEST_SUITE_P(Judges, JudgeTestAsBenchmarked, testing::Values(1, 4, 1000));

}  // namespace
}  // namespace rankora::bench
