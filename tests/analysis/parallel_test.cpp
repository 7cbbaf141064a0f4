// The pieces that let threads share the permutation tests (parallel.txt): the generator
// jumped ahead against the sequence drawn one by one, the scan and the decision of the
// redraws against shuffles drawn one by one, and shuffles composed against shuffles run.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <sstream>
#include <thread>

#include "analysis/random_jump.hpp"
#include "analysis/rankora.hpp"
#include "analysis/redraws.hpp"
#include "analysis/shared_chain.hpp"
#include "analysis/shuffle_composition.hpp"
#include "reader/table_syntax.hpp"
#include "run/storage.hpp"

namespace {

using rankora::RandLags;
using rankora::RandStream;
using Fields = std::vector<std::string>;
using Numbers = std::vector<std::uint64_t>;

// "a..b" stands for a to b; "-" for none.
Numbers numbers(const std::string& field) {
  std::istringstream in(rankora::tables::trim(field) == "-" ? "" : field);
  Numbers out;
  for (std::string t; in >> t;) {
    const auto dots = t.find("..");
    out.push_back(std::stoull(t.substr(0, dots)));
    if (dots != std::string::npos)
      while (out.back() < std::stoull(t.substr(dots + 2))) out.push_back(out.back() + 1);
  }
  return out;
}

std::uint64_t number(const std::string& field) { return numbers(field).at(0); }

std::unique_ptr<RandStream> stream_at(std::uint64_t draws) {
  return std::make_unique<RandStream>(rankora::jump_ahead(rankora::first_lags(), draws));
}

// Draws one by one up to each number of draws asked for (ascending), reading the state
// there as a run leaves it, and checks the jumped state and the numbers that follow.
void jump(const Fields& f) {
  auto walk = std::make_unique<RandStream>();
  std::uint64_t done = 0;
  for (const std::uint64_t k : numbers(f[1])) {
    while (done < k) {
      const auto run = static_cast<int>(std::min<std::uint64_t>(k - done, RandStream::kMaxRun));
      walk->reserve(run);
      walk->consume(run);
      done += static_cast<std::uint64_t>(run);
    }
    ASSERT_EQ(walk->lags(), rankora::jump_ahead(rankora::first_lags(), k)) << "after " << k;
    auto ahead = stream_at(k);
    auto rest = std::make_unique<RandStream>(*walk);
    for (int d = 0; d < 3 * RandStream::kMaxRun + 100; ++d)
      ASSERT_EQ(ahead->next(), rest->next()) << "number " << d << " after " << k;
  }
}

// A refill keeps only the values the recurrence needs; the state before the next output
// must come back whatever was still unread when it came.
void lags(const Fields& f) {
  for (const std::uint64_t unread : numbers(f[1])) {
    auto s = std::make_unique<RandStream>();
    s->reserve(1);
    const std::uint64_t first_fill = 3 * RandStream::kMaxRun;
    for (std::uint64_t d = 0; d < first_fill - unread; ++d) s->next();
    s->reserve(RandStream::kMaxRun);
    for (std::uint64_t read = 0; read < 3; ++read) {
      EXPECT_EQ(s->lags(), rankora::jump_ahead(rankora::first_lags(), first_fill - unread + read))
          << unread << " unread, then " << read;
      s->next();
    }
  }
}

// Every low bit b of the sequence repeats after 2^b (2^31 - 1) draws, and no more: the
// jump's arithmetic at distances far past anything a run draws.
void period(const Fields& f) {
  const std::uint64_t b = number(f[1]);
  const RandLags start = rankora::first_lags();
  const RandLags after = rankora::jump_ahead(start, (std::uint64_t{1} << b) * 0x7fff'ffffULL);
  int agreeing = 32;
  for (std::size_t t = 0; t < start.size(); ++t)
    agreeing = std::min(agreeing, std::countr_zero(start[t] ^ after[t]));
  EXPECT_EQ(agreeing, static_cast<int>(number(f[2])));
}

void scan(const Fields& f) {
  const Numbers range = numbers(f[1]);
  std::vector<rankora::RedrawCandidate> found;
  rankora::find_redraw_candidates(rankora::first_lags(), range[0], range[1], found);
  Numbers at;
  for (const auto& c : found) at.push_back(c.draw);
  EXPECT_EQ(at, numbers(f[2]));
  auto s = stream_at(range[0]);
  std::uint64_t next = range[0];
  for (const auto& c : found) {
    for (; next < c.draw; ++next) s->next();
    ++next;
    EXPECT_EQ(c.raw >> 1, s->next()) << "the number at " << c.draw;
  }
}

// Shuffles of n entries drawn one by one: the draws redrawn (shuffle, step) and the
// position where every shuffle starts.
struct Drawn {
  Numbers redraws;
  Numbers starts;
};

Drawn draw_one_by_one(std::int32_t n, std::uint64_t shuffles, RandStream& s) {
  Drawn out;
  std::uint64_t draws = 0;
  for (std::uint64_t k = 0; k < shuffles; ++k) {
    out.starts.push_back(draws);
    for (std::int32_t i = n; i >= 2; --i) {
      ++draws;
      while (rankora::shuffle_target(rankora::uniform_from_rand(s.next()), i) > i) {
        out.redraws.insert(out.redraws.end(), {k, static_cast<std::uint64_t>(i)});
        ++draws;
      }
    }
  }
  out.starts.push_back(draws);
  return out;
}

void chain(const Fields& f) {
  const Numbers size = numbers(f[1]);
  const auto n = static_cast<std::int32_t>(size[0]);
  const std::uint64_t from = number(f[2]);
  const rankora::ShuffleChain found =
      rankora::find_redraws(rankora::jump_ahead(rankora::first_lags(), from), n, size[1]);
  Numbers redraws;
  for (const auto& r : found.redraws())
    redraws.insert(redraws.end(), {r.shuffle, static_cast<std::uint64_t>(r.step)});
  EXPECT_EQ(redraws, numbers(f[3]));
  auto s = stream_at(from);
  const Drawn want = draw_one_by_one(n, size[1], *s);
  EXPECT_EQ(redraws, want.redraws);
  for (std::uint64_t k = 0; k <= size[1]; ++k)
    ASSERT_EQ(found.start_of(k), want.starts[k]) << "shuffle " << k;
}

// Candidates made up: raw numbers written in hex, "draw:raw".
void resolve(const Fields& f) {
  const Numbers size = numbers(f[1]);
  std::vector<rankora::RedrawCandidate> candidates;
  std::istringstream in(f[2]);
  for (std::string c; in >> c;)
    candidates.push_back(
        {std::stoull(c.substr(0, c.find(':'))),
         static_cast<std::uint32_t>(std::stoul(c.substr(c.find(':') + 1), nullptr, 16))});
  rankora::ShuffleChain chain(static_cast<std::int32_t>(size[0]), size[1]);
  const std::uint64_t draws = chain.resolve(candidates, number(f[3]));
  Numbers redraws;
  for (const auto& r : chain.redraws())
    redraws.insert(redraws.end(), {r.shuffle, r.draw, static_cast<std::uint64_t>(r.step)});
  EXPECT_EQ(redraws, numbers(f[4]));
  EXPECT_EQ(draws, number(f[5]));
}

// The chain cut at each cut, each piece composed from its own jumped stream, then
// applied in turn to an arrangement that is not the identity.
void compose(const Fields& f) {
  const Numbers size = numbers(f[1]), cuts = numbers(f[3]);
  const auto n = static_cast<std::int32_t>(size[0]);
  const std::uint64_t from = number(f[2]);
  const RandLags at = rankora::jump_ahead(rankora::first_lags(), from);
  const rankora::ShuffleChain chain = rankora::find_redraws(at, n, size[1]);
  std::vector<std::int32_t> start(static_cast<std::size_t>(n));
  for (std::size_t k = 0; k < start.size(); ++k)
    start[k] = static_cast<std::int32_t>((k * 7 + 3) % start.size()) + 1;
  std::vector<std::int32_t> got = start, sigma(start.size()), next(start.size());
  for (std::size_t c = 0; c + 1 < cuts.size(); ++c) {
    RandStream s(rankora::jump_ahead(at, chain.start_of(cuts[c])));
    std::iota(sigma.begin(), sigma.end(), 1);
    rankora::compose_shuffles(cuts[c + 1] - cuts[c], n, s, sigma);
    rankora::apply_arrangement(got, sigma, n, next);
    got.swap(next);
  }
  auto s = std::make_unique<RandStream>(at);
  std::vector<std::int32_t> want = start;
  for (std::uint64_t k = 0; k < size[1]; ++k) rankora::shuffle(want.data(), n, *s);
  EXPECT_EQ(got, want);
}

// Units of shuffles shared among threads, each unit's arrangement summed into a check that
// depends on the unit's place: one thread's checks and last arrangement, whatever the count.
void shared(const Fields& f) {
  const Numbers size = numbers(f[1]);
  const auto n = static_cast<std::int32_t>(size[0]);
  const std::uint64_t units = size[1], per_unit = size[2];
  const RandLags at = rankora::jump_ahead(rankora::first_lags(), number(f[2]));
  const auto check = [&](std::uint64_t unit, std::span<const std::int32_t> perm) {
    std::uint64_t sum = 0;
    for (std::size_t k = 0; k < perm.size(); ++k)
      sum += (k + 1) * static_cast<std::uint64_t>(perm[k]);
    return sum * (unit + 1);
  };
  std::vector<std::int32_t> want(static_cast<std::size_t>(n));
  std::iota(want.rbegin(), want.rend(), 1);
  const std::vector<std::int32_t> start = want;
  std::uint64_t want_check = 0;
  auto s = std::make_unique<RandStream>(at);
  for (std::uint64_t u = 0; u < units; ++u) {
    for (std::uint64_t k = 0; k < per_unit; ++k) rankora::shuffle(want.data(), n, *s);
    want_check += check(u, want);
  }
  for (const std::uint64_t threads : numbers(f[3])) {
    const auto t_count = static_cast<std::int32_t>(threads);
    rankora::ChainRoom room(t_count, n);
    const rankora::ShuffleChain chain =
        rankora::find_redraws_shared(at, n, units * per_unit, t_count, room);
    const double head_start = rankora::tables::trim(f[4]) == "-" ? 0.0 : std::stod(f[4]);
    const rankora::ChainPlan plan = rankora::plan_chain(units, t_count, 0.8, head_start);
    std::vector<std::uint64_t> checks(threads);
    std::vector<std::int32_t> got = start;
    bool led = false;
    rankora::run_chain(
        plan, chain, at, per_unit, n, got, room,
        [&](std::int32_t t, std::uint64_t first, std::uint64_t count, std::span<std::int32_t> perm,
            RandStream& stream) {
          for (std::uint64_t u = first; u < first + count; ++u) {
            for (std::uint64_t k = 0; k < per_unit; ++k) rankora::shuffle(perm.data(), n, stream);
            checks[static_cast<std::size_t>(t)] += check(u, perm) * (led ? 1 : 0);
          }
        },
        [&] {
          // Long enough for the others to overtake it if they did not wait.
          if (head_start > 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
          led = true;
        });
    EXPECT_EQ(std::accumulate(checks.begin(), checks.end(), std::uint64_t{0}), want_check)
        << threads << " threads";
    EXPECT_EQ(got, want) << threads << " threads";
  }
}

// Takes the progress as a line would show it, and checks that it is true: it never goes
// back, never passes what is done, and ends with all of it. On one thread it must also
// come seldom, so that telling it costs nothing: at most once in 2^15 swaps, and at the
// end (several threads add the waits of thread 0, which depend on the machine's load).
class ProgressCheck final : public rankora::AnalysisObserver {
 public:
  explicit ProgressCheck(bool one_thread) : one_thread_(one_thread) {}
  void statistics_ready(const rankora::Concordance& c) override {
    global_total_ = std::int64_t{c.nperm} * (c.judges - 1);
    judges_ = c.judges;
  }
  void global_test_progress(std::int64_t shuffles) override {
    EXPECT_GE(shuffles, global_);
    EXPECT_LE(shuffles, global_total_);
    global_ = shuffles;
    ++global_calls_;
  }
  void global_test_done(const rankora::Concordance& c) override {
    EXPECT_EQ(global_, global_total_);
    if (one_thread_) {
      EXPECT_LE(global_calls_, global_total_ * c.objects / (1 << 15) + 1)
          << "the global test's progress told too often";
    }
  }
  void judges_progress(std::int64_t shuffles, std::int32_t judges_done) override {
    EXPECT_GE(shuffles, std::max(judge_shuffles_, global_total_));
    EXPECT_GE(judges_done, judges_done_);
    EXPECT_LE(judges_done, judges_);
    judge_shuffles_ = shuffles;
    judges_done_ = judges_done;
  }
  void judges_done(const rankora::Concordance& c, std::span<const rankora::JudgeResult>) override {
    EXPECT_LE(judge_shuffles_, global_total_ + std::int64_t{c.nperm} * c.judges);
    if (c.nperm > 0 && c.judges > 0) {
      EXPECT_EQ(judges_done_, judges_);
    }
  }

 private:
  bool one_thread_;
  std::int64_t global_total_ = 0, global_ = 0, global_calls_ = 0, judge_shuffles_ = 0;
  std::int32_t judges_ = 0, judges_done_ = 0;
};

// Everything a run leaves, as bytes: its figures, the histogram, the judges' rows, the
// correlations, the last arrangement and the next number drawn.
std::string run_bytes(const std::vector<std::vector<double>>& data, std::int32_t nperm,
                      std::int32_t ties, std::int32_t threads) {
  auto s = std::make_unique<rankora::Storage>(threads);
  const auto m = static_cast<std::int32_t>(data.size()),
             n = static_cast<std::int32_t>(data[0].size());
  for (std::int32_t j = 1; j <= m; ++j)
    for (std::int32_t k = 1; k <= n; ++k)
      s->mat_view()(j, k) = s->table_view()(j, k) =
          data[static_cast<std::size_t>(j - 1)][static_cast<std::size_t>(k - 1)];
  rankora::rand_stream() = RandStream();
  rankora::Concordance c;
  ProgressCheck progress(threads == 1);
  rankora::rankora(n, m, s->mat_view(), s->table_view(), nperm, ties, c, s->judges.span(),
                   s->spearr_view(), s->varok.span(), s->rankora_work(), progress);
  // Field by field: the structures' padding holds whatever the compiler left there.
  std::string out;
  const auto put = [&out](const auto&... field) {
    (out.append(reinterpret_cast<const char*>(&field), sizeof field), ...);
  };
  const rankora::NullHistogram& h = c.null_histogram;
  put(c.judges, c.objects, c.ties, c.nperm, c.tie_term, c.s, c.chi2, c.kendw, c.chi2_corrected,
      c.kendw_corrected, c.chi2_uncorrected, c.kendw_uncorrected, c.reached, c.p, h.bins,
      h.s_low, h.s_width, h.w_low, h.w_high, h.counts, h.below, h.above);
  for (const rankora::JudgeResult& j : s->judges.span().first(static_cast<std::size_t>(m)))
    put(j.judge, j.rbar, j.w, j.p, j.p_bonferroni, j.p_holm, j.null_variance, j.reached,
        j.w_without, j.tie_term);
  for (std::int32_t k = 1; k <= m; ++k)
    out.append(reinterpret_cast<const char*>(s->spearr_view().column(k)),
               sizeof(double) * static_cast<std::size_t>(m));
  out.append(reinterpret_cast<const char*>(s->perm.data()),
             sizeof(std::int32_t) * static_cast<std::size_t>(n));
  const std::uint32_t next = rankora::rand_stream().next();
  out.append(reinterpret_cast<const char*>(&next), sizeof next);
  return out;
}

// A whole analysis on several threads against one: "seed m n levels agree" as the seeded
// tables of tables.txt (integers below levels, plus the object's number times agree).
void threads(const Fields& f) {
  const Numbers c = numbers(f[1]), run = numbers(f[2]);
  std::mt19937 g(static_cast<std::uint32_t>(c[0]));
  std::vector<std::vector<double>> data(c[1], std::vector<double>(c[2]));
  for (auto& judge : data)
    for (std::size_t k = 0; k < judge.size(); ++k)
      judge[k] = static_cast<double>(c[4] * k + g() % c[3]);
  const auto nperm = static_cast<std::int32_t>(run[0]), ties = static_cast<std::int32_t>(run[1]);
  const std::string want = run_bytes(data, nperm, ties, 1);
  for (const std::uint64_t t : numbers(f[3]))
    EXPECT_TRUE(run_bytes(data, nperm, ties, static_cast<std::int32_t>(t)) == want)
        << t << " threads";
}

// Each kind's check and its count of fields, every one written out ("-" where it is empty).
const std::map<std::string, std::pair<void (*)(const Fields&), std::size_t>> kCheck = {
    {"threads", {threads, 4}}, {"shared", {shared, 5}}, {"jump", {jump, 2}},
    {"lags", {lags, 2}},       {"period", {period, 3}}, {"scan", {scan, 3}},
    {"chain", {chain, 4}},     {"compose", {compose, 4}}, {"resolve", {resolve, 6}}};

// The rows of one kind of test: the slow ones (named slow_...), those that run threads
// (shared and threads), and the pieces.
std::vector<Fields> cases(const std::string& group) {
  std::vector<Fields> out;
  for (Fields c : rankora::tables::table_rows(std::filesystem::path(__FILE__).parent_path() /
                                              "parallel.txt")) {
    const std::string kind = rankora::tables::trim(c[0]);
    const bool threads = kind == "shared" || kind == "threads";
    if (group != (c.back().starts_with("slow_") ? "Slow" : threads ? "Threads" : "Pieces")) {
      continue;
    }
    c[0] = kind + "_" + c.back();
    c.pop_back();
    out.push_back(std::move(c));
  }
  return out;
}

class Parallel : public testing::TestWithParam<Fields> {};

TEST_P(Parallel, Holds) {
  const auto& [check, fields] = kCheck.at(GetParam()[0].substr(0, GetParam()[0].find('_')));
  ASSERT_EQ(GetParam().size(), fields) << "fields in the row: a row is never padded";
  check(GetParam());
}

const auto kName = [](const testing::TestParamInfo<Fields>& info) { return info.param[0]; };
INSTANTIATE_TEST_SUITE_P(Pieces, Parallel, testing::ValuesIn(cases("Pieces")), kName);
INSTANTIATE_TEST_SUITE_P(Threads, Parallel, testing::ValuesIn(cases("Threads")), kName);
INSTANTIATE_TEST_SUITE_P(Slow, Parallel, testing::ValuesIn(cases("Slow")), kName);

// The scan may skip a raw number only if no step of any shuffle can redraw it, and should
// skip every other: the floor is exactly the least raw number ever redrawn.
TEST(RedrawFloor, IsTheLeastRawNumberEverRedrawn) {
  std::uint32_t least = 0xffff'ffff;
  for (std::uint32_t r = 0x7fff'ffff; r >= 0x7fff'f000; --r)
    for (std::int32_t i = 2; i <= rankora::kMaxShuffle; ++i)
      if (rankora::shuffle_target(rankora::uniform_from_rand(r), i) > i) {
        least = std::min(least, r << 1);
        break;
      }
  EXPECT_EQ(least, rankora::kRedrawRawFloor);
}

}  // namespace
