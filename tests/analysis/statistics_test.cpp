#include <gtest/gtest.h>

#include <cstdio>

#include "analysis/tri.hpp"
#include "analysis/wkendall.hpp"
#include "support.hpp"

namespace analysis_test {
namespace {

struct Computed {
  Row rsum;
  double s, chi2, kendw;
};

Computed compute(const Table& ranks, double tcorr, int ties, int mode = 1) {
  const Storage storage(ranks);
  const auto n = static_cast<std::int32_t>(ranks[0].size());
  Computed c{Row(static_cast<std::size_t>(n)), -1.0, -2.0, -3.0};
  rankora::wkendall(static_cast<std::int32_t>(ranks.size()), n, storage.table(), tcorr, c.rsum,
                    1000, 2000, c.chi2, c.kendw, c.s, mode, ties);
  return c;
}

std::string printed(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

Table identical_judges(int m, int n) {
  Row ranking(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) ranking[static_cast<std::size_t>(k)] = k + 1;
  return Table(static_cast<std::size_t>(m), ranking);
}

struct StatCase {
  const char* name;
  Table ranks;
  double tcorr;
  int ties;
  double s, chi2, kendw;
};

class WkendallExample : public ::testing::TestWithParam<StatCase> {};

TEST_P(WkendallExample, GivesTheStatistics) {
  const StatCase& c = GetParam();
  const Computed got = compute(c.ranks, c.tcorr, c.ties);
  EXPECT_EQ(got.s, c.s);
  EXPECT_EQ(got.chi2, c.chi2);
  EXPECT_EQ(got.kendw, c.kendw);
}

const Table kIdentical3x4 = {{1, 2, 3, 4}, {1, 2, 3, 4}, {1, 2, 3, 4}};
const Table kTiedPair = {{1, 2.5, 2.5}, {1, 2, 3}};

INSTANTIATE_TEST_SUITE_P(
    Worked, WkendallExample,
    ::testing::Values(StatCase{"IdenticalCorrected", kIdentical3x4, 0, 1, 270, 9, 1},
                      StatCase{"IdenticalUncorrected", kIdentical3x4, 0, 2, 270, 9, 1},
                      StatCase{"TiesCorrected", kTiedPair, 6, 1, 54.5, 4.0 * (78.0 / 84.0),
                               78.0 / 84.0},
                      StatCase{"TiesUncorrected", kTiedPair, 6, 2, 54.5, 3.25, 0.8125},
                      StatCase{"AnyOtherTiesValueCorrects", kTiedPair, 6, 3, 54.5,
                               4.0 * (78.0 / 84.0), 78.0 / 84.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Wkendall, SOnlyModeLeavesChiSquareAndWAlone) {
  const Computed got = compute(kTiedPair, 6, 1, 2);
  EXPECT_EQ(got.rsum, (Row{2, 4.5, 5.5}));
  EXPECT_EQ(got.s, 54.5);
  EXPECT_EQ(got.chi2, -2.0);
  EXPECT_EQ(got.kendw, -3.0);
  EXPECT_EQ(compute(kTiedPair, 6, 1, 5).kendw, 78.0 / 84.0);  // not 2: full mode
}

TEST(Wkendall, CapacityTableOfIdenticalRankings) {
  const Table ranks = identical_judges(1000, 2000);
  const Computed plain = compute(ranks, 0, 2);
  EXPECT_EQ(plain.s, 2668667000000000.0);
  EXPECT_EQ(plain.chi2, 1999000.0);
  EXPECT_EQ(plain.kendw, 1.0);
  const Computed corrected = compute(ranks, 0, 1);
  EXPECT_EQ(printed("%.14f", corrected.kendw), "0.99999991339953");
  EXPECT_EQ(printed("%.5f", corrected.chi2), "1998999.82689");
}

// Every judge gives one value: the corrected statistics are 0/0, formed at run time
// (so the processor's NaN, printed "-nan"), also where single precision would leave
// residues; the uncorrected ones stay finite.
TEST(Wkendall, ConstantTablesHaveUndefinedCorrectedStatistics) {
  for (auto [m, n] : {std::pair{3, 4}, {2, 2}, {100, 100}, {1000, 2000}}) {
    const Table ranks(static_cast<std::size_t>(m), Row(static_cast<std::size_t>(n), (n + 1) / 2.0));
    const double tcorr = static_cast<double>(m) * (static_cast<double>(n) * n * n - n);
    const Computed corrected = compute(ranks, tcorr, 1);
    EXPECT_EQ(printed("%10.5f", corrected.kendw), "      -nan") << m << "x" << n;
    EXPECT_EQ(printed("%10.5f", corrected.chi2), "      -nan") << m << "x" << n;
    const Computed plain = compute(ranks, tcorr, 2);
    EXPECT_NEAR(plain.chi2, 0.0, 1e-6) << m << "x" << n;
    EXPECT_NEAR(plain.kendw, 0.0, 1e-9) << m << "x" << n;
  }
  // The straightforward formula is not 0/0 at 100 x 100: why the code decides it apart.
  const Table flat(100, Row(100, 50.5));
  EXPECT_FALSE(std::isnan(reference::wkendall(flat, 100, 100.0 * 999900.0, 1).kendw));
}

// Ranks from the fast ranking, statistics against the whole-table computation, for
// small tables and for 100 x 100, where single precision changes the corrected ones.
TEST(Wkendall, AgreesWithWholeTableComputation) {
  int cases = 0;
  for (Data kind : {Data::Distinct, Data::FewLevels, Data::Agreeing, Data::WithConstantJudge}) {
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
      const int m = seed == 12 ? 100 : 2 + static_cast<int>(seed % 11);
      const int n = seed == 12 ? 100 : 2 + static_cast<int>(seed * 5 % 29);
      Table ranks;
      double tcorr = 0.0;
      for (const Row& values : random_table(seed, m, n, kind)) {
        ranks.push_back(reference::tri(values, tcorr).ranks);
      }
      for (int ties : {1, 2}) {
        const reference::Statistics want = reference::wkendall(ranks, ranks[0].size(), tcorr, ties);
        const Computed got = compute(ranks, tcorr, ties);
        ASSERT_EQ(got.rsum, want.rsum) << name_of(kind) << " seed " << seed;
        ASSERT_TRUE(same(got.s, want.s));
        ASSERT_TRUE(same(got.chi2, want.chi2)) << got.chi2 << " vs " << want.chi2;
        ASSERT_TRUE(same(got.kendw, want.kendw)) << got.kendw << " vs " << want.kendw;
        ++cases;
      }
    }
  }
  EXPECT_EQ(cases, 96);
}

}  // namespace
}  // namespace analysis_test
