// The fast permutation tests against permuted tables summed from scratch. Each permuted
// S of the plain computation is pinned: run one permutation with that S as the
// threshold (it must count) and again from the same state with the next value above
// it (it must not), so every permuted S is checked to the last bit, not only the counts.
#include <gtest/gtest.h>

#include <limits>
#include <numeric>

#include "analysis/permutation_tests.hpp"
#include "analysis/tri.hpp"
#include "analysis/wkendall.hpp"
#include "support.hpp"

namespace analysis_test {
namespace {

using rankora::RandStream;
using Perm = reference::Perm;

constexpr double kInf = std::numeric_limits<double>::infinity();

Perm identity(std::size_t n) {
  Perm p(n);
  std::iota(p.begin(), p.end(), 1);
  return p;
}

// The smallest threshold above s that an S of these ranks could reach: S is a multiple
// of 1/4 while exact, and the fast judge test relies on the observed S being one.
double next_above(double s) { return std::max(std::nextafter(s, kInf), s + 0.25); }

struct Kernels {
  const Table& ranks;
  Storage storage{ranks};
  std::size_t n = ranks[0].size();
  Row rows = Row((ranks.size() - 1) * n + 1), work_a = Row(n), work_b = Row(n);
  Row observed_rsum = Row(n);

  explicit Kernels(const Table& r) : ranks(r) {
    rankora::rank_sums(storage.mat(), m(), nobj(), observed_rsum);
  }
  std::int32_t m() const { return static_cast<std::int32_t>(ranks.size()); }
  std::int32_t nobj() const { return static_cast<std::int32_t>(n); }

  std::int64_t global(std::int32_t nperm, double threshold, Perm& perm, RandStream& stream) {
    std::vector<std::uint16_t> doubled(ranks.size() * n);
    std::vector<std::int32_t> sums(n);
    return rankora::global_test_count(storage.mat(), m(), nobj(), nperm, threshold, perm,
                                      reinterpret_cast<rankora::DoubledRank*>(doubled.data()),
                                      sums, stream);
  }
  std::int64_t judge(std::int32_t j, std::int32_t nperm, double threshold, Perm& perm,
                     RandStream& stream) {
    return rankora::judge_test_count(storage.mat(), j, nobj(), nperm, threshold, observed_rsum,
                                     perm, work_a, work_b, stream);
  }
};

// Runs `one` (a single permutation from the given state) at S and just above S.
template <typename OnePermutation>
void pin(const std::vector<double>& permuted_s, Perm& perm, RandStream& stream,
         OnePermutation one) {
  for (std::size_t t = 0; t < permuted_s.size(); ++t) {
    const Perm perm_before = perm;
    const auto stream_before = std::make_unique<RandStream>(stream);
    ASSERT_EQ(one(permuted_s[t], perm, stream), 2)
        << "permutation " << t << " fell short of " << permuted_s[t];
    perm = perm_before;
    stream = *stream_before;
    ASSERT_EQ(one(next_above(permuted_s[t]), perm, stream), 1)
        << "permutation " << t << " went past " << permuted_s[t];
  }
}

Table ranks_of(const Table& data, double& tcorr) {
  Table ranks;
  for (const Row& values : data) ranks.push_back(reference::tri(values, tcorr).ranks);
  return ranks;
}

struct KernelCase {
  std::uint32_t seed;
  int m, n, nperm;
  Data kind;
};

std::vector<KernelCase> kernel_cases() {
  std::vector<KernelCase> cases;
  const Data kinds[] = {Data::Distinct, Data::FewLevels, Data::Agreeing, Data::WithConstantJudge};
  for (std::uint32_t seed = 1; seed <= 24; ++seed) {
    cases.push_back({seed, 2 + static_cast<int>(seed % 11), 2 + static_cast<int>(seed * 7 % 29),
                     static_cast<int>(seed * 37 % 300), kinds[seed % 4]});
  }
  return cases;
}

class Kernel : public ::testing::TestWithParam<KernelCase> {};

TEST_P(Kernel, GlobalTestGivesEveryPermutedSAndTheCount) {
  const KernelCase& c = GetParam();
  double tcorr = 0.0;
  const Table ranks = ranks_of(random_table(c.seed, c.m, c.n, c.kind), tcorr);
  const double s_observed = reference::s_of(ranks, ranks[0].size());
  reset_generators();
  Perm want_perm = identity(ranks[0].size());
  const reference::TestRun want = reference::global_test(ranks, c.nperm, s_observed, want_perm);

  Kernels k(ranks);
  auto stream = std::make_unique<RandStream>();
  Perm perm = identity(k.n);
  EXPECT_EQ(k.global(c.nperm, s_observed, perm, *stream), want.count);
  EXPECT_EQ(perm, want_perm);
  EXPECT_EQ(stream->next(), static_cast<std::uint32_t>(std::rand()));

  *stream = RandStream();
  perm = identity(k.n);
  pin(want.permuted_s, perm, *stream,
      [&](double threshold, Perm& p, RandStream& s) { return k.global(1, threshold, p, s); });
}

TEST_P(Kernel, JudgeTestsGiveEveryPermutedSAndTheCounts) {
  const KernelCase& c = GetParam();
  double tcorr = 0.0;
  const Table ranks = ranks_of(random_table(c.seed, c.m, c.n, c.kind), tcorr);
  const reference::Statistics observed = reference::wkendall(ranks, ranks[0].size(), tcorr, 2);
  Kernels k(ranks);
  ASSERT_EQ(k.observed_rsum, observed.rsum);
  const std::int32_t nperm = std::min(c.nperm, 60);

  reset_generators();
  Perm want_perm = identity(k.n), perm = identity(k.n);
  auto stream = std::make_unique<RandStream>();
  for (std::int32_t j = 1; j <= k.m(); ++j) {
    const auto judge = static_cast<std::size_t>(j - 1);
    const Perm start = perm;
    const auto start_stream = std::make_unique<RandStream>(*stream);
    const reference::TestRun want =
        reference::judge_test(ranks, judge, nperm, observed.s, want_perm);
    ASSERT_EQ(k.judge(j, nperm, observed.s, perm, *stream), want.count) << "judge " << j;
    ASSERT_EQ(perm, want_perm);

    perm = start;
    *stream = *start_stream;
    pin(want.permuted_s, perm, *stream,
        [&](double threshold, Perm& p, RandStream& s) { return k.judge(j, 1, threshold, p, s); });
  }
  EXPECT_EQ(stream->next(), static_cast<std::uint32_t>(std::rand()));
}

INSTANTIATE_TEST_SUITE_P(SmallTables, Kernel, ::testing::ValuesIn(kernel_cases()),
                         [](const auto& info) {
                           const KernelCase& c = info.param;
                           return std::string(name_of(c.kind)) + "_" + std::to_string(c.m) + "x" +
                                  std::to_string(c.n) + "_" + std::to_string(c.nperm);
                         });

// 1000 judges x 2000 objects that agree strongly, in tie groups of 1, 2 or 3: S passes
// 2^51, the permuted S is a rounded sum, and rank sums of both parities make the
// rounding real. Judge 1000 is constant and judge 999 nearly so.
Table agreeing_capacity_table() {
  std::mt19937 g(5);
  std::uniform_int_distribution<int> group(1, 3), swap_at(0, 1998);
  Table data(1000, Row(2000));
  for (std::size_t j = 0; j < 1000; ++j) {
    const int size = group(g);
    for (std::size_t k = 0; k < 2000; ++k)
      data[j][k] = static_cast<double>(k / static_cast<std::size_t>(size));
    for (int s = 0; s < 20; ++s)
      std::swap(data[j][static_cast<std::size_t>(swap_at(g))],
                data[j][static_cast<std::size_t>(swap_at(g))]);
  }
  data[999] = Row(2000, 3.0);
  data[998] = Row(2000, 1.0);
  data[998][17] = 0.0;
  data[998][1500] = 2.0;
  return data;
}

// 4 S of judge j's ranks moved by `perm` against the others' observed rank sums,
// in exact integers: twice a rank sum is below 2^23.
std::int64_t exact_quarter_s(const Table& ranks, const Row& observed_rsum, std::size_t j,
                             const Perm& perm) {
  std::int64_t q = 0;
  for (std::size_t k = 0; k < perm.size(); ++k) {
    const double moved =
        observed_rsum[k] - ranks[j][k] + ranks[j][static_cast<std::size_t>(perm[k] - 1)];
    const auto twice = static_cast<std::int64_t>(2.0 * moved);
    q += twice * twice;
  }
  return q;
}

TEST(JudgeTest, RoundedSumsAboveTwoToThe51Decide) {
  Table ranks = agreeing_capacity_table();
  double tcorr = 0.0;
  Row toprank(2000);
  std::vector<std::int32_t> tiecnt(2000);
  for (Row& values : ranks) rankora::tri(2000, 2000, tiecnt, values, toprank, tcorr);
  const reference::Statistics observed = reference::wkendall(ranks, 2000, tcorr, 2);
  ASSERT_GT(observed.s, 0x1p51);
  // Rounded, so that the constant judge reaches S only through the full sum.
  ASSERT_NE(exact_quarter_s(ranks, observed.rsum, 0, identity(2000)),
            static_cast<std::int64_t>(4.0 * observed.s));
  Kernels k(ranks);

  const std::int32_t judges[] = {1, 2, 500, 999, 1000};
  constexpr std::int32_t kPermutations = 3;
  reset_generators();
  Perm want_perm = identity(2000), perm = identity(2000);
  auto stream = std::make_unique<RandStream>();
  std::vector<double> all_permuted_s;
  for (std::int32_t j : judges) {
    const auto judge = static_cast<std::size_t>(j - 1);
    const Perm start = perm;
    const auto start_stream = std::make_unique<RandStream>(*stream);
    const reference::TestRun want =
        reference::judge_test(ranks, judge, kPermutations, observed.s, want_perm);
    ASSERT_EQ(k.judge(j, kPermutations, observed.s, perm, *stream), want.count) << "judge " << j;
    if (j == 1000) {
      EXPECT_EQ(want.count, kPermutations + 1) << "a constant judge always reaches S";
    }

    perm = start;
    *stream = *start_stream;
    pin(want.permuted_s, perm, *stream,
        [&](double threshold, Perm& p, RandStream& s) { return k.judge(j, 1, threshold, p, s); });
    all_permuted_s.insert(all_permuted_s.end(), want.permuted_s.begin(), want.permuted_s.end());
  }

  // Replays the arrangements to see where the exact value lies: every pin must take the
  // path that sums in full, and exact arithmetic alone must get some of them wrong.
  std::srand(1);
  Perm replay = identity(2000);
  int full_sums = 0, exact_alone_wrong = 0;
  std::size_t t = 0;
  for (std::int32_t j : judges) {
    for (int i = 0; i < kPermutations; ++i, ++t) {
      reference::permute(replay, 2000);
      const std::int64_t q =
          exact_quarter_s(ranks, observed.rsum, static_cast<std::size_t>(j - 1), replay);
      const double s = all_permuted_s[t];
      for (double threshold : {s, next_above(s)}) {
        const auto lead = q - static_cast<std::int64_t>(4.0 * threshold);
        full_sums += q >= (std::int64_t{1} << 53) && lead < 4000 && lead >= -4000 ? 1 : 0;
        exact_alone_wrong += (lead >= 0) != (s >= threshold) ? 1 : 0;
      }
    }
  }
  EXPECT_EQ(full_sums, 2 * static_cast<int>(t));
  EXPECT_GT(exact_alone_wrong, 0);
}

}  // namespace
}  // namespace analysis_test
