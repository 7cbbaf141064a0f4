// The whole analysis routine against the plain computation: ranks, the table of judges,
// the report it writes, and the place it leaves the generator at.
#include "analysis/rankora.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "support.hpp"

namespace analysis_test {
namespace {

struct Outcome {
  Table ranks;
  Table result;  // m rows of the 7 columns
  std::vector<std::int32_t> varok;
  Table spearr;
  reference::Perm perm;
  std::string report;
};

Outcome run_rankora(const Table& data, int lang, int ties, std::int32_t nperm) {
  const Storage storage(data);
  rankora::Storage& s = *storage.s;
  const auto m = static_cast<std::int32_t>(data.size());
  const auto n = static_cast<std::int32_t>(data[0].size());
  ReportFile report;
  rankora::rankora(n, m, n, storage.mat(), storage.table(), s.rsum.span(), 2000, 1000, lang, nperm,
                   s.perm.span(), s.tiecnt.span(), s.values.span(), s.rank_work.span(),
                   s.spearr_view(), s.work1.span(), storage.result(), s.work2.span(),
                   s.iwork.span(), s.varok.span(), ties);
  Outcome r;
  r.report = report.text();
  for (std::int32_t j = 1; j <= m; ++j) {
    r.ranks.emplace_back();
    for (std::int32_t k = 1; k <= n; ++k) r.ranks.back().push_back(storage.mat()(j, k));
    r.result.emplace_back();
    for (int c = 1; c <= 7; ++c) r.result.back().push_back(storage.result()(j, c));
    r.spearr.emplace_back();
    for (std::int32_t k = 1; k <= m; ++k) r.spearr.back().push_back(s.spearr_view()(j, k));
    r.varok.push_back(s.varok.data()[j - 1]);
  }
  r.perm.assign(s.perm.data(), s.perm.data() + n);
  return r;
}

void expect_same_table(const Table& got, const Table& want, const char* what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (std::size_t i = 0; i < got.size(); ++i) {
    ASSERT_EQ(got[i].size(), want[i].size()) << what;
    for (std::size_t c = 0; c < got[i].size(); ++c) {
      ASSERT_TRUE(same(got[i][c], want[i][c]))
          << what << " (" << i + 1 << ", " << c + 1 << "): " << got[i][c] << " vs " << want[i][c];
    }
  }
}

struct RunCase {
  std::uint32_t seed;
  int m, n;
  std::int32_t nperm;
  Data kind;
  int lang, ties;
};

// Runs both from the unseeded generator; returns the plain analysis for further checks.
reference::Analysis expect_same_run(const RunCase& c) {
  const Table data = random_table(c.seed, c.m, c.n, c.kind);
  reset_generators();
  reference::Analysis want = reference::rankora(data, c.lang, c.ties, c.nperm);
  const Outcome got = run_rankora(data, c.lang, c.ties, c.nperm);
  expect_same_table(got.ranks, want.ranks, "ranks");
  expect_same_table(got.result, want.result, "result");
  expect_same_table(got.spearr, want.correlations.spearr, "correlations");
  EXPECT_EQ(got.varok, want.correlations.varok);
  EXPECT_EQ(got.perm, want.perm);
  EXPECT_EQ(got.report, want.report);
  EXPECT_EQ(rankora::rand_stream().next(), static_cast<std::uint32_t>(std::rand()))
      << "a different number of draws";
  return want;
}

std::vector<RunCase> run_cases() {
  std::vector<RunCase> cases;
  const Data kinds[] = {Data::Distinct, Data::FewLevels, Data::Agreeing, Data::WithConstantJudge,
                        Data::SignedZeros};
  const std::int32_t nperms[] = {0, 1, 9, 99, 250};
  for (std::uint32_t seed = 1; seed <= 60; ++seed) {
    cases.push_back({seed, 1 + static_cast<int>(seed * 5 % 12),
                     2 + static_cast<int>(seed * 11 % 29), nperms[seed % 5], kinds[seed / 5 % 5],
                     1 + static_cast<int>(seed / 2 % 2), 1 + static_cast<int>(seed % 2)});
  }
  // One object: every statistic and correlation is 0/0.
  cases.push_back({61, 4, 1, 20, Data::Distinct, 2, 1});
  cases.push_back({62, 4, 1, 20, Data::Distinct, 1, 2});
  return cases;
}

class Rankora : public ::testing::TestWithParam<RunCase> {};

TEST_P(Rankora, AgreesWithThePlainAnalysis) { expect_same_run(GetParam()); }

INSTANTIATE_TEST_SUITE_P(SmallTables, Rankora, ::testing::ValuesIn(run_cases()),
                         [](const auto& info) {
                           const RunCase& c = info.param;
                           return std::string(name_of(c.kind)) + "_" + std::to_string(c.m) + "x" +
                                  std::to_string(c.n) + "_" + std::to_string(c.nperm) + "_lang" +
                                  std::to_string(c.lang) + "_ties" + std::to_string(c.ties);
                         });

TEST(Rankora, NoPermutationsGiveProbabilityOne) {
  const reference::Analysis a = expect_same_run({3, 6, 10, 0, Data::Agreeing, 2, 1});
  EXPECT_NE(a.report.find(" Prob(chi-square,     0 perm.) = 1.00000\n"), std::string::npos);
  for (const Row& r : a.result) EXPECT_EQ(r[3], 1.0);
}

TEST(Rankora, ProbabilityDoesNotDependOnTheTieOption) {
  const reference::Analysis with = expect_same_run({8, 5, 12, 99, Data::FewLevels, 1, 1});
  const reference::Analysis without = expect_same_run({8, 5, 12, 99, Data::FewLevels, 1, 2});
  EXPECT_EQ(with.global.count, without.global.count);
  expect_same_table(with.result, without.result, "judges");
}

// Judge 3 of 5 gives one value throughout and is ordered elsewhere than row 3.
TEST(Rankora, ConstantJudgeIsMarkedWhereverItIsOrdered) {
  Table data = {{1, 2, 3, 4, 5, 6},
                {2, 1, 3, 4, 6, 5},
                {9, 9, 9, 9, 9, 9},
                {6, 5, 4, 3, 2, 1},
                {1, 3, 2, 4, 5, 6}};
  reset_generators();
  const reference::Analysis want = reference::rankora(data, 2, 1, 49);
  const Outcome got = run_rankora(data, 2, 1, 49);
  EXPECT_EQ(got.report, want.report);
  ASSERT_NE(got.result[2][0], 3.0);
  for (const Row& r : got.result) {
    if (r[0] != 3.0) continue;
    EXPECT_EQ(r[1], 0.0);
    EXPECT_EQ(r[2], 1.0 / 5.0);
    EXPECT_EQ(r[3], 1.0);
  }
  const std::size_t row = got.report.find("\n   3     0.00000   0.20000   1.00000   5.00000");
  ASSERT_NE(row, std::string::npos) << got.report;
  EXPECT_EQ(got.report.find(" #\n"), got.report.find('\n', row + 1) - 2)
      << "the mark is on judge 3";
  EXPECT_EQ(got.report.find(" #\n"), got.report.rfind(" #\n")) << "one mark only";
  EXPECT_TRUE(got.report.ends_with("-\n # This judge has a null variance\n"));
}

// Every judge constant: corrected statistics undefined, shown as the C library shows
// them; uncorrected ones zero; every judge marked, one note.
TEST(Rankora, ConstantTableSmallAndLarge) {
  for (auto [m, n] : {std::pair{3, 4}, {100, 100}}) {
    const Table data(static_cast<std::size_t>(m), Row(static_cast<std::size_t>(n), 2.5));
    reset_generators();
    const Outcome corrected = run_rankora(data, 2, 1, 5);
    EXPECT_NE(corrected.report.find(" Friedman's Chi-square =      -nan   nu ="), std::string::npos)
        << corrected.report;
    EXPECT_NE(corrected.report.find(" Kendall's W           =      -nan   with"),
              std::string::npos);
    reset_generators();
    const Outcome plain = run_rankora(data, 1, 2, 5);
    EXPECT_NE(plain.report.find(" Khi-carre de Friedman =   0.00000   nu ="), std::string::npos);
    EXPECT_NE(plain.report.find(" W de Kendall          =   0.00000   sans"), std::string::npos);
    EXPECT_TRUE(plain.report.ends_with("-\n # Ce juge a une variance nulle\n"));
    for (const Row& r : plain.result) EXPECT_EQ(r[3], 1.0);
  }
}

TEST(Rankora, OneJudgeAlwaysReachesTheObservedS) {
  const reference::Analysis a = expect_same_run({2, 1, 9, 40, Data::Distinct, 2, 2});
  EXPECT_EQ(a.global.count, 41);
  EXPECT_EQ(a.judges[0].count, 41);
}

// nperm + 1 and the count itself pass 32 bits at the largest count the dialogue accepts.
TEST(PermutationProbability, LargestCountDoesNotWrap) {
  constexpr std::int32_t kLargest = INT_MAX;
  EXPECT_EQ(rankora::permutation_probability(std::int64_t{kLargest} + 1, kLargest), 1.0);
  EXPECT_EQ(rankora::permutation_probability(1, kLargest), 0x1p-31);
  EXPECT_EQ(rankora::permutation_probability(1, 0), 1.0);
  EXPECT_EQ(rankora::permutation_probability(1, 999), 0.001);
}

// The largest count the dialogue accepts: neither nperm + 1 nor the count of a judge
// that reaches S every time fits 32 bits, and p must still be exactly 1. One judge and
// one object keep it to some 40 seconds; the child is stopped if it runs far longer.
TEST(SlowRankora, LargestPermutationCountGivesProbabilityOne) {
  EXPECT_EXIT(
      {
        ::alarm(900);
        const Outcome got = run_rankora({{3.0}}, 2, 2, INT_MAX);
        const bool global_one =
            got.report.find(" Prob(chi-square,****** perm.) = 1.00000\n") != std::string::npos;
        std::_Exit(global_one && got.result[0][3] == 1.0 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// A 200 x 500 table with ties, a few dozen permutations: the kernels' exact shortcuts
// against whole tables at a size where rank sums and S are large.
TEST(SlowRankora, TwoHundredJudgesFiveHundredObjects) {
  expect_same_run({77, 200, 500, 30, Data::Agreeing, 2, 1});
}

}  // namespace
}  // namespace analysis_test
