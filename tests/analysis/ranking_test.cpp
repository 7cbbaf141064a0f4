#include <gtest/gtest.h>

#include <limits>

#include "analysis/tri.hpp"
#include "support.hpp"

namespace analysis_test {
namespace {

struct Ranking {
  Row ranks;
  Row toprank;
  std::vector<std::int32_t> tiecnt;
  double tie_term;
};

Ranking rank(const Row& values, double tie_term = 0.0) {
  Ranking r{values, Row(values.size()), std::vector<std::int32_t>(values.size(), -1), tie_term};
  rankora::tri(static_cast<std::int32_t>(values.size()), 2000, r.tiecnt, r.ranks, r.toprank,
               r.tie_term);
  return r;
}

constexpr double kInf = std::numeric_limits<double>::infinity();

struct TieCase {
  const char* name;
  Row values;
  Row ranks;
  double tie_term;
};

class TriExample : public ::testing::TestWithParam<TieCase> {};

TEST_P(TriExample, GivesMidRanksAndTieTerm) {
  const TieCase& c = GetParam();
  const Ranking r = rank(c.values);
  EXPECT_EQ(r.ranks, c.ranks);
  EXPECT_EQ(r.tie_term, c.tie_term);
}

INSTANTIATE_TEST_SUITE_P(
    Worked, TriExample,
    ::testing::Values(TieCase{"OnePair", {3.2, 1.0, 3.2, 7.5}, {2.5, 1, 2.5, 4}, 6},
                      TieCase{"AllEqual", {5, 5, 5, 5}, {2.5, 2.5, 2.5, 2.5}, 60},
                      TieCase{"Distinct", {0.3, -2, 9, 0.1}, {3, 1, 4, 2}, 0},
                      TieCase{"Single", {42}, {1}, 0},
                      TieCase{"SignedZerosTie", {0.0, -0.0, 1.0}, {1.5, 1.5, 3}, 6},
                      TieCase{"TwoGroups", {1, 1, 2, 2, 2}, {1.5, 1.5, 4, 4, 4}, 30},
                      TieCase{"LastBitDiffers", {1.0, 1.0 + 0x1p-52, 1.0}, {1.5, 3, 1.5}, 6},
                      TieCase{"Infinities", {kInf, -kInf, 0, kInf}, {3.5, 1, 2, 3.5}, 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Tri, WorkedExampleFillsTopRanksAndGroupSizes) {
  const Ranking r = rank({3.2, 1.0, 3.2, 7.5});
  EXPECT_EQ(r.toprank, (Row{3, 1, 3, 4}));
  EXPECT_EQ(r.tiecnt, (std::vector<std::int32_t>{1, 0, 2, 1}));
}

TEST(Tri, TieTermAccumulatesAcrossJudgesAndEmptyCallsLeaveItAlone) {
  double tcorr = 0.0;
  std::vector<std::int32_t> tiecnt(4);
  Row toprank(4);
  for (Row judge : {Row{1, 1, 2}, Row{4, 3, 3}}) {
    rankora::tri(3, 2000, tiecnt, judge, toprank, tcorr);
  }
  EXPECT_EQ(tcorr, 12.0);
  Row none;
  rankora::tri(0, 2000, tiecnt, none, toprank, tcorr);
  EXPECT_EQ(tcorr, 12.0);
}

// Every output of the fast ranking against the n^2 count, on rows with and without ties.
TEST(Tri, AgreesWithPairwiseCounting) {
  int rows = 0;
  for (Data kind : {Data::Distinct, Data::FewLevels, Data::Agreeing, Data::SignedZeros}) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
      const int n = 1 + static_cast<int>(seed * 7 % 60);
      for (const Row& values : random_table(seed, 3, n, kind)) {
        double tie_term = 0.5;  // a running total that is not zero
        const reference::Ranked want = reference::tri(values, tie_term);
        const Ranking got = rank(values, 0.5);
        ASSERT_EQ(got.ranks, want.ranks) << name_of(kind) << " seed " << seed;
        ASSERT_EQ(got.toprank, want.toprank);
        ASSERT_EQ(got.tiecnt, want.tiecnt);
        ASSERT_TRUE(same(got.tie_term, tie_term));
        ++rows;
      }
    }
  }
  EXPECT_EQ(rows, 480);
}

// At capacity the mid-rank sums reach 2,001,000 and the tie term of one judge n^3 - n.
TEST(Tri, CapacityRowOfOneValueAndOfPairs) {
  Row same_value(2000, 1.5);
  Ranking r = rank(same_value);
  EXPECT_EQ(r.ranks, Row(2000, 1000.5));
  EXPECT_EQ(r.tie_term, 2000.0 * 2000.0 * 2000.0 - 2000.0);

  Row pairs(2000);
  for (int k = 0; k < 2000; ++k) pairs[static_cast<std::size_t>(k)] = 1999 - k / 2;
  double want_term = 0.0;
  EXPECT_EQ(rank(pairs).ranks, reference::tri(pairs, want_term).ranks);
  EXPECT_EQ(rank(pairs).tie_term, want_term);
}

}  // namespace
}  // namespace analysis_test
