// The analysis against its worked examples (examples.txt) and, on seeded tables
// (tables.txt), against reference.hpp. A case is a line: its kind, then fields after "|".
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <sstream>

#include "analysis/adjustp.hpp"
#include "analysis/null_histogram.hpp"
#include "analysis/permutation_tests.hpp"
#include "analysis/rankora.hpp"
#include "analysis/spear.hpp"
#include "analysis/tri.hpp"
#include "analysis/wkendall.hpp"
#include "reader/table_syntax.hpp"
#include "reference.hpp"
#include "run/storage.hpp"

namespace {

using rankora::RandStream;
using reference::Perm;
using reference::Row;
using reference::Table;
using Fields = std::vector<std::string>;

// 17 digits: equal texts are the same doubles, a NaN's sign included (the report shows it).
std::string text(const Table& t) {
  std::ostringstream out;
  out.precision(17);
  for (const Row& row : t)
    for (double x : row) out << x << ' ';
  return out.str();
}

// "a..b" stands for the integers a to b; "-" for none.
Row numbers(const std::string& field) {
  std::istringstream in(rankora::tables::trim(field) == "-" ? "" : field);
  Row out;
  for (std::string t; in >> t;) {
    out.push_back(std::stod(t));
    for (auto dots = t.find("..");
         dots != std::string::npos && out.back() < std::stod(t.substr(dots + 2));)
      out.push_back(out.back() + 1);
  }
  return out;
}

// The first figures of `got`, exactly, as many as `field` lists; returns how many.
std::size_t expect_figures(const Table& got, const std::string& field) {
  const Row want = numbers(field);
  EXPECT_TRUE(!want.empty() || rankora::tables::trim(field) == "-") << "no figure: write -";
  Row all;
  for (const Row& row : got) all.insert(all.end(), row.begin(), row.end());
  all.resize(std::min(all.size(), want.size()));
  EXPECT_EQ(text({all}), text({want}));
  return want.size();
}

int number(const std::string& field) { return static_cast<int>(numbers(field).at(0)); }

Table table(const std::string& shape, const std::string& values) {
  const Row size = numbers(shape), v = numbers(values);
  Table t(static_cast<std::size_t>(size[0]), Row(static_cast<std::size_t>(size[1])));
  std::size_t at = 0;
  for (Row& judge : t)
    for (double& x : judge) x = v[at++ % v.size()];
  return t;
}

// seed m n levels agree constant, as tables.txt describes them.
Table random_table(const Row& c) {
  std::mt19937 g(static_cast<std::uint32_t>(c[0]));
  Table t(static_cast<std::size_t>(c[1]), Row(static_cast<std::size_t>(c[2])));
  for (std::size_t j = 0; j < t.size(); ++j)
    for (std::size_t k = 0; k < t[j].size(); ++k)
      t[j][k] = std::fmod(static_cast<double>(j + 1), c[5]) == 0
                    ? 1.0
                    : c[4] * static_cast<double>(k) + std::fmod(g(), c[3]);
  return t;
}

void put(rankora::MatrixView v, const Table& t) {
  for (std::size_t j = 0; j < t.size(); ++j)
    for (std::size_t k = 0; k < t[j].size(); ++k)
      v(static_cast<int>(j + 1), static_cast<int>(k + 1)) = t[j][k];
}

Table block(rankora::MatrixView v, int rows, int cols) {
  Table t(static_cast<std::size_t>(rows));
  for (int i = 1; i <= rows; ++i)
    for (int k = 1; k <= cols; ++k) t[static_cast<std::size_t>(i - 1)].push_back(v(i, k));
  return t;
}

// Each judge's judge, R-bar, W, p, Bonferroni, Holm, W without it, permutations that
// reached, no variance (1), as the reference's rows, the first `columns` of them.
Table rows(std::span<const rankora::JudgeResult> judges, std::size_t columns = 9) {
  Table t;
  for (const rankora::JudgeResult& j : judges) {
    t.push_back({static_cast<double>(j.judge), j.rbar, j.w, j.p, j.p_bonferroni, j.p_holm,
                 j.w_without, static_cast<double>(j.reached), j.null_variance ? 1.0 : 0.0});
    t.back().resize(columns);
  }
  return t;
}

struct Silent final : rankora::AnalysisObserver {
  void statistics_ready(const rankora::Concordance&) override {}
  void global_test_progress(std::int64_t) override {}
  void global_test_done(const rankora::Concordance&) override {}
  void judges_progress(std::int64_t, std::int32_t) override {}
  void judges_done(const rankora::Concordance&, std::span<const rankora::JudgeResult>) override {}
};

struct Run {
  std::unique_ptr<rankora::Storage> storage = std::make_unique<rankora::Storage>();
  rankora::Concordance concordance;
  std::span<const rankora::JudgeResult> judges;
};

Run run_rankora(const Table& data, int nperm, int ties) {
  Run run;
  rankora::Storage* s = run.storage.get();
  const auto m = static_cast<int>(data.size()), n = static_cast<int>(data[0].size());
  put(s->mat_view(), data);
  put(s->table_view(), data);
  Silent silent;
  rankora::rankora(n, m, s->mat_view(), s->table_view(), nperm, ties, run.concordance,
                   s->judges.span(), s->spearr_view(), s->varok.span(), s->rankora_work(), silent);
  run.judges = s->judges.span().first(static_cast<std::size_t>(m));
  return run;
}

// Ranks each judge into table; returns the tie term, S, chi-square and W.
Row observe(rankora::Storage& st, Table ranks, int ties) {
  Row r(4);
  for (Row& values : ranks)
    rankora::tri(static_cast<int>(values.size()), st.tiecnt.span(), values, st.rank_work.span(),
                 r[0]);
  put(st.table_view(), ranks);
  rankora::wkendall(static_cast<int>(ranks.size()), static_cast<int>(ranks[0].size()),
                    st.table_view(), r[0], st.rsum.span(), r[2], r[3], r[1], ties);
  return r;
}

void judges(const Fields& f) {
  const Table data = table(f[1], f[2]);
  const auto m = static_cast<int>(data.size()), n = static_cast<int>(data[0].size());
  auto s = std::make_unique<rankora::Storage>();
  std::size_t pinned = expect_figures({observe(*s, data, number(f[3]))}, f[5]) +
                       expect_figures(block(s->table_view(), m, n), f[4]);
  EXPECT_TRUE(pinned > 0 || numbers(f[6]).size() + numbers(f[7]).size() > 0) << "pins nothing";
  if (numbers(f[6]).empty() && numbers(f[7]).empty()) return;  // spear at capacity is slow
  rankora::spear(n, m, s->table_view(), s->spearr_view(), s->varok.span(), s->judges.span());
  expect_figures(block(s->spearr_view(), m, m), f[6]);
  Row rbar;
  for (const rankora::JudgeResult& j : s->judges.span().first(static_cast<std::size_t>(m)))
    rbar.push_back(j.rbar);
  expect_figures({rbar}, f[7]);
}

void adjust(const Fields& f) {
  auto s = std::make_unique<rankora::Storage>();
  const int m = number(f[1]);
  const auto judges = s->judges.span().first(static_cast<std::size_t>(m));
  const Table given = table(f[1] + " 4", f[2]);
  for (std::size_t i = 0; i < judges.size(); ++i)
    judges[i] = {.judge = static_cast<std::int32_t>(given[i][0]),
                 .rbar = given[i][1],
                 .w = given[i][2],
                 .p = given[i][3]};
  rankora::adjustp(m, s->key.span(), judges, s->judge_work.span(), s->order.span());
  EXPECT_GT(expect_figures(rows(judges, 6), f[3]), 0u) << "pins nothing";
}

void histogram(const Fields& f) {
  const Row c = numbers(f[1]);
  const rankora::NullHistogram h = rankora::null_histogram(
      static_cast<int>(c[0]), static_cast<int>(c[1]), c[2], static_cast<int>(c[3]));
  const Row got = {static_cast<double>(h.bins), h.s_low, h.s_width, h.w_low, h.w_high};
  EXPECT_GT(expect_figures({got}, f[2]), 0u) << "pins nothing";
}

void tally(const Fields& f) {
  const Row c = numbers(f[1]);
  rankora::NullHistogram h;
  h.bins = static_cast<std::int32_t>(c[0]);
  h.s_low = c[1];
  h.s_width = c[2];
  rankora::NullHistogramTally counter(h);
  for (const double s : numbers(f[2])) counter.add(static_cast<std::int64_t>(4 * s));
  Row got(h.counts.begin(), h.counts.begin() + h.bins);
  got.push_back(static_cast<double>(h.below));
  got.push_back(static_cast<double>(h.above));
  EXPECT_GT(expect_figures({got}, f[3]), 0u) << "pins nothing";
}

void reject(const Fields& f) {
  const float u = rankora::uniform_from_rand(static_cast<std::uint32_t>(number(f[1])));
  Row rejected;
  for (double i : numbers(f[2]))
    if (rankora::shuffle_target(u, static_cast<std::int32_t>(i)) > i) rejected.push_back(i);
  EXPECT_EQ(rejected, numbers(f[3]));
}

void shuffle(const Fields& f) {
  const int first = number(f[1]), n = number(f[2]);
  std::srand(1);
  auto stream = std::make_unique<RandStream>();
  for (int i = 1; i < first; ++i) stream->next(), std::rand();
  Perm want(static_cast<std::size_t>(n));
  std::iota(want.begin(), want.end(), 1);
  Perm got = want;
  EXPECT_EQ(reference::shuffle(want, n), number(f[3]) - (n - 1)) << "draws rejected";
  rankora::shuffle(got.data(), n, *stream);
  EXPECT_EQ(got, want);
  EXPECT_EQ(stream->next(), static_cast<std::uint32_t>(std::rand())) << "another count of numbers";
}

// Every permuted S of the reference in the bin the histogram's edges give it.
void expect_histogram(const rankora::NullHistogram& got, const Row& permuted_s) {
  rankora::NullHistogram want = got;
  want.counts.fill(0);
  want.below = want.above = 0;
  for (const double s : permuted_s) {
    const double bin = std::floor((s - got.s_low) / got.s_width);
    if (bin < 0) {
      ++want.below;
    } else if (bin >= got.bins) {
      ++want.above;
    } else {
      ++want.counts[static_cast<std::size_t>(bin)];
    }
  }
  EXPECT_EQ(std::vector(got.counts.begin(), got.counts.end()),
            std::vector(want.counts.begin(), want.counts.end()));
  EXPECT_EQ(got.below, want.below);
  EXPECT_EQ(got.above, want.above);
  EXPECT_EQ(std::accumulate(got.counts.begin(), got.counts.end(), got.below + got.above),
            static_cast<std::int64_t>(permuted_s.size()));
}

void analysis(const Fields& f) {
  const Row c = numbers(f[1] + " " + f[2]);
  const auto m = static_cast<int>(c[1]), n = static_cast<int>(c[2]);
  const auto nperm = static_cast<int>(c[6]), ties = static_cast<int>(c[7]);
  const Table data = random_table(c);
  std::srand(1);
  rankora::rand_stream() = RandStream();
  const reference::Analysis want = reference::analysis(data, ties, nperm);
  const Run run = run_rankora(data, nperm, ties);
  const rankora::Storage* s = run.storage.get();
  EXPECT_EQ(text(block(s->mat_view(), m, n)), text(want.ranks));
  EXPECT_EQ(text(block(s->spearr_view(), m, m)), text(want.r));
  EXPECT_EQ(text(rows(run.judges)), text(want.result));
  EXPECT_EQ(std::vector<std::int32_t>(s->varok.data(), s->varok.data() + m), want.varok);
  EXPECT_EQ(Perm(s->perm.data(), s->perm.data() + n), want.perm);
  EXPECT_EQ(rankora::rand_stream().next(), static_cast<std::uint32_t>(std::rand()));
  const rankora::Concordance& got = run.concordance;
  const Row other = reference::statistics(want.ranks, want.tcorr, 3 - ties);
  EXPECT_EQ(text({{got.tie_term, got.s, got.chi2, got.kendw, other[2], other[3],
                   static_cast<double>(got.reached), got.p}}),
            text({{want.observed[0], want.observed[1], want.observed[2], want.observed[3],
                   ties == 1 ? got.chi2_uncorrected : got.chi2_corrected,
                   ties == 1 ? got.kendw_uncorrected : got.kendw_corrected,
                   static_cast<double>(want.global.count - 1),
                   static_cast<double>(want.global.count) / (nperm + 1.0)}}));
  EXPECT_EQ(text({{got.chi2, got.kendw}}),
            text({{ties == 1 ? got.chi2_corrected : got.chi2_uncorrected,
                   ties == 1 ? got.kendw_corrected : got.kendw_uncorrected}}));
  expect_histogram(got.null_histogram, want.global.permuted_s);
  // W without a judge is W computed afresh, by the program's own routines, on the others.
  auto scratch = std::make_unique<rankora::Storage>();
  for (const rankora::JudgeResult& j : run.judges) {
    Table others = data;
    others.erase(others.begin() + (j.judge - 1));
    if (!others.empty()) {
      EXPECT_EQ(text({{j.w_without}}), text({{observe(*scratch, others, ties)[3]}})) << j.judge;
    }
  }
}

// Every call of the fast permutation tests; judge 0 is the global test. Returns 1 + the
// permutations whose S reaches s.
std::int64_t fast_count(const rankora::Storage& st, int m, int n, int judge, int nperm, double s,
                        Perm& perm, RandStream& stream) {
  const auto size = static_cast<std::size_t>(n);
  Row a(size), b(size), sums(size);
  std::vector<std::uint16_t> rows(static_cast<std::size_t>(m) * size);
  std::vector<std::int32_t> work(size);
  rankora::rank_sums(st.table_view(), m, n, sums);
  rankora::NullHistogram histogram = rankora::null_histogram(m, n, 0.0, 2);
  return judge == 0 ? rankora::global_test_count(st.table_view(), m, n, nperm, s, perm, rows, work,
                                                 histogram, stream)
                    : rankora::judge_test_count(st.table_view(), judge, n, nperm, s, sums, perm, a,
                                                b, stream);
}

// Every permuted S is pinned: the permutation reaches it, and run again from the same
// place does not reach the least value above it (S is a multiple of 1/4 while exact).
void permutation(const Fields& f) {
  const Row c = numbers(f[1] + " " + f[2]);
  const auto m = static_cast<int>(c[1]), n = static_cast<int>(c[2]);
  const auto nperm = static_cast<int>(c[6]), step = static_cast<int>(c[7]);
  auto s = std::make_unique<rankora::Storage>();
  const double s_obs = observe(*s, random_table(c), 2)[1];
  const Table ranks = block(s->table_view(), m, n);
  std::srand(1);
  auto stream = std::make_unique<RandStream>();
  Perm perm(static_cast<std::size_t>(n));
  std::iota(perm.begin(), perm.end(), 1);
  Perm want_perm = perm;
  for (int judge = 0; judge <= m; judge = judge == m ? m + 1 : std::min(judge + step, m)) {
    const auto from_here = [&](int count, double threshold) {
      Perm p = perm;
      auto r = std::make_unique<RandStream>(*stream);
      return fast_count(*s, m, n, judge, count, threshold, p, *r);
    };
    const auto want = reference::permutation_test(ranks, static_cast<std::size_t>(judge), nperm,
                                                  s_obs, want_perm);
    EXPECT_EQ(from_here(nperm, s_obs), want.count) << "judge " << judge;
    for (const double x : want.permuted_s) {
      ASSERT_EQ(from_here(1, std::max(std::nextafter(x, INFINITY), x + 0.25)), 1) << judge;
      ASSERT_EQ(fast_count(*s, m, n, judge, 1, x, perm, *stream), 2) << judge << ": S " << x;
    }
    ASSERT_EQ(perm, want_perm) << "judge " << judge;
  }
  EXPECT_EQ(stream->next(), static_cast<std::uint32_t>(std::rand()));
}

// Each kind's check and its count of fields, every one written out ("-" where it is empty).
const std::map<std::string, std::pair<void (*)(const Fields&), std::size_t>> kCheck = {
    {"judges", {judges, 8}},       {"adjust", {adjust, 4}},   {"histogram", {histogram, 3}},
    {"tally", {tally, 4}},         {"reject", {reject, 4}},   {"shuffle", {shuffle, 4}},
    {"analysis", {analysis, 3}},   {"permutation", {permutation, 3}}};

std::vector<Fields> cases(const char* file, bool slow = false) {
  std::vector<Fields> out;
  for (Fields c : rankora::tables::slow_rows(
           rankora::tables::table_rows(std::filesystem::path(__FILE__).parent_path() / file), slow)) {
    c[0] = rankora::tables::trim(c[0]) + "_" + c.back();
    c.pop_back();
    out.push_back(std::move(c));
  }
  return out;
}

class Analysis : public testing::TestWithParam<Fields> {};

TEST_P(Analysis, Holds) {
  const auto& [check, fields] = kCheck.at(GetParam()[0].substr(0, GetParam()[0].find('_')));
  ASSERT_EQ(GetParam().size(), fields) << "fields in the row: a row is never padded";
  check(GetParam());
}

const auto kName = [](const testing::TestParamInfo<Fields>& info) { return info.param[0]; };
INSTANTIATE_TEST_SUITE_P(Worked, Analysis, testing::ValuesIn(cases("examples.txt")), kName);
INSTANTIATE_TEST_SUITE_P(Seeded, Analysis, testing::ValuesIn(cases("tables.txt")), kName);
INSTANTIATE_TEST_SUITE_P(SlowSeeded, Analysis, testing::ValuesIn(cases("tables.txt", true)), kName);

TEST(RandStream, FirstTenMillionNumbersAreTheCLibrarys) {
  std::srand(1);
  auto stream = std::make_unique<RandStream>();
  for (int i = 0; i < 10'000'000; ++i)
    if (stream->next() != static_cast<std::uint32_t>(std::rand())) FAIL() << "number " << i;
}

// At the largest count neither nperm + 1 nor the count of a test that always reaches S
// fits 32 bits; every probability here is an exact double.
TEST(PermutationProbability, IsExactUpToTheLargestCount) {
  constexpr std::int32_t kLargest = INT32_MAX;
  EXPECT_EQ(rankora::permutation_probability(std::int64_t{1} << 31, kLargest), 1.0);
  EXPECT_EQ(rankora::permutation_probability(kLargest, kLargest), 1.0 - 0x1p-31);
  EXPECT_EQ(rankora::permutation_probability(1, kLargest), 0x1p-31);
  EXPECT_EQ(rankora::permutation_probability(kLargest, kLargest - 1), 1.0);
  EXPECT_EQ(rankora::permutation_probability(3, 3), 0.75);
}

}  // namespace
