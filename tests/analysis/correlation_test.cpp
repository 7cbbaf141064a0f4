#include <gtest/gtest.h>

#include "analysis/spear.hpp"
#include "support.hpp"

namespace analysis_test {
namespace {

struct Computed {
  Table z;
  std::vector<std::int32_t> varok;
  Table spearr;
  Row rbar;
};

Computed correlate(const Table& ranks) {
  const Storage storage(ranks);
  const auto m = static_cast<std::int32_t>(ranks.size());
  const auto n = static_cast<std::int32_t>(ranks[0].size());
  Computed c{Table(ranks.size(), Row(ranks[0].size())), std::vector<std::int32_t>(ranks.size(), -1),
             Table(ranks.size(), Row(ranks.size())), Row(ranks.size())};
  for (std::int32_t j = 1; j <= m; ++j) storage.result()(j, 1) = j;
  rankora::spear(n, m, 2000, 1000, storage.table(), storage.s->spearr_view(), c.varok,
                 storage.result());
  for (std::int32_t j = 1; j <= m; ++j) {
    const auto jj = static_cast<std::size_t>(j - 1);
    EXPECT_EQ(storage.result()(j, 1), j) << "column 1 was touched";
    c.rbar[jj] = storage.result()(j, 2);
    for (std::int32_t k = 1; k <= n; ++k)
      c.z[jj][static_cast<std::size_t>(k - 1)] = storage.table()(j, k);
    for (std::int32_t k = 1; k <= m; ++k) {
      c.spearr[jj][static_cast<std::size_t>(k - 1)] = storage.s->spearr_view()(j, k);
    }
  }
  return c;
}

TEST(Spear, FourObjectExample) {
  const Computed c = correlate({{1, 2, 3, 4}, {2, 1, 3, 4}, {4, 3, 2, 1}});
  const double tight = 1e-15;
  EXPECT_NEAR(c.spearr[0][1], 0.8, tight);
  EXPECT_NEAR(c.spearr[0][2], -1.0, tight);
  EXPECT_NEAR(c.spearr[1][2], -0.8, tight);
  EXPECT_NEAR(c.rbar[0], -0.1, tight);
  EXPECT_NEAR(c.rbar[1], 0.0, tight);
  EXPECT_NEAR(c.rbar[2], -0.9, tight);
  for (std::size_t j = 0; j < 3; ++j) EXPECT_EQ(c.spearr[j][j], 1.0);
}

struct SpearCase {
  const char* name;
  Table ranks;
  std::vector<std::int32_t> varok;
  Row rbar;
};

class SpearEdge : public ::testing::TestWithParam<SpearCase> {};

TEST_P(SpearEdge, GivesRbarAndVarianceFlags) {
  const SpearCase& c = GetParam();
  const Computed got = correlate(c.ranks);
  EXPECT_EQ(got.varok, c.varok);
  for (std::size_t j = 0; j < c.rbar.size(); ++j) EXPECT_NEAR(got.rbar[j], c.rbar[j], 1e-15) << j;
}

INSTANTIATE_TEST_SUITE_P(
    Edges, SpearEdge,
    ::testing::Values(SpearCase{"ConstantJudgeCountsZero",
                                {{2, 2, 2}, {1, 2, 3}, {1, 2, 3}},
                                {0, 1, 1},
                                {0.0, 0.5, 0.5}},
                      SpearCase{
                          "TwoObjects", {{1, 2}, {2, 1}, {1, 2}}, {1, 1, 1}, {0.0, -1.0, 0.0}},
                      SpearCase{"IdenticalPair", {{1, 3, 2, 4}, {1, 3, 2, 4}}, {1, 1}, {1.0, 1.0}},
                      SpearCase{"OppositePair", {{1, 2, 3}, {3, 2, 1}}, {1, 1}, {-1.0, -1.0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Spear, TwoObjectsCorrelateJustShortOfOne) {
  const Computed c = correlate({{1, 2}, {2, 1}, {1, 2}});
  EXPECT_EQ(c.spearr[0][1], -0.9999999999999998);
  EXPECT_EQ(c.spearr[0][2], 0.9999999999999998);
}

TEST(Spear, ConstantJudgeRowBecomesZeros) {
  const Computed c = correlate({{1, 2, 3}, {2, 2, 2}});
  EXPECT_EQ(c.z[1], (Row{0, 0, 0}));
  EXPECT_EQ(c.spearr[0][1], 0.0);
  EXPECT_EQ(c.spearr[1][1], 1.0);
}

// Standardised ranks, every correlation and R-bar, bit for bit, with judges that have
// no variance among them; one judge (R-bar 0/0) and one object (every sd 0/0) too.
TEST(Spear, AgreesWithPairByPairComputation) {
  int cases = 0;
  for (Data kind : {Data::Distinct, Data::FewLevels, Data::Agreeing, Data::WithConstantJudge}) {
    for (std::uint32_t seed = 1; seed <= 15; ++seed) {
      const int m = 1 + static_cast<int>(seed % 12);
      const int n = seed == 15 ? 1 : 2 + static_cast<int>(seed * 3 % 29);
      Table ranks;
      double tcorr = 0.0;
      for (const Row& values : random_table(seed, m, n, kind)) {
        ranks.push_back(reference::tri(values, tcorr).ranks);
      }
      const reference::Correlations want = reference::spear(ranks, ranks[0].size());
      const Computed got = correlate(ranks);
      ASSERT_EQ(got.varok, want.varok) << name_of(kind) << " seed " << seed;
      for (std::size_t j = 0; j < ranks.size(); ++j) {
        ASSERT_TRUE(same(got.rbar[j], want.rbar[j])) << "judge " << j + 1 << ", seed " << seed;
        for (std::size_t k = 0; k < ranks.size(); ++k) {
          ASSERT_TRUE(same(got.spearr[j][k], want.spearr[j][k])) << j << "," << k;
        }
        for (std::size_t k = 0; k < ranks[0].size(); ++k)
          ASSERT_TRUE(same(got.z[j][k], want.z[j][k]));
      }
      ++cases;
    }
  }
  EXPECT_EQ(cases, 60);
}

}  // namespace
}  // namespace analysis_test
