// rankora-parallel-parts PART COUNT [THREADS]: one part of the permutation tests at capacity (1000
// judges, 2000 objects), alone, for counting its instructions and timing it:
//   global N   N permutations of the global test (999 shuffles each, with the sums)
//   judge N    N permutations of judge 1's test (one shuffle each, with the cross sum)
//   compose N  N shuffles of 2000 entries composed, nothing else
//   scan N     N draws scanned for redraws
//   jump N     N jumps of the generator ahead
//   rank N     the capacity table's ranking, what a run does before the global test
//   ranked N   the ranking, then N permutations of the global test
//   none N     nothing: the set-up alone
// With THREADS, global, judge and ranked run on that many threads, shared as a chain
// (shared_chain.hpp), which should change nothing in the result printed; for ranked the
// other threads compose while thread 0 ranks.
// Prints the wall time of the part and its time per item. Under callgrind, count the
// part alone with --toggle-collect='*run_part*'.
#include <charconv>
#include <chrono>
#include <cstdio>
#include <memory>
#include <numeric>
#include <string_view>
#include <vector>

#include "analysis/permutation_tests.hpp"
#include "analysis/random_jump.hpp"
#include "analysis/redraws.hpp"
#include "analysis/shared_chain.hpp"
#include "analysis/shuffle_composition.hpp"
#include "capacity.hpp"

namespace {

using namespace rankora;
using rankora::bench::kCapacityJudges;
using rankora::bench::kCapacityObjects;

// The ranking's share of the work of one permutation of the global test: how much
// composing the other threads can do while thread 0 ranks.
constexpr double kRankingInPermutations = 40.0;

struct Ranking {
  bench::CapacityMatrix mat;
  bench::CapacityMatrix table;
  bench::RankWork work;
  double run() {
    return bench::rank_rows(bench::capacity_data().scores.view(), mat.view(), table.view(),
                            kCapacityJudges, kCapacityObjects, work);
  }
};

struct Work {
  std::unique_ptr<RandStream> stream = std::make_unique<RandStream>();
  std::vector<std::int32_t> perm = std::vector<std::int32_t>(kCapacityObjects);
  std::vector<std::uint16_t> rows;  // the global test's doubled ranks, shared by the threads
  std::vector<std::int32_t> sums = std::vector<std::int32_t>(kCapacityObjects);
  std::vector<double> own = std::vector<double>(kCapacityObjects);
  std::vector<double> others = std::vector<double>(kCapacityObjects);
  std::vector<RedrawCandidate> candidates;
  NullHistogram histogram;
  std::unique_ptr<GlobalTest> global;
  std::unique_ptr<JudgeTest> judge;
  std::unique_ptr<Ranking> ranking = std::make_unique<Ranking>();
};

// Measured on this machine (README of bench/): composing a permutation of the global test
// costs this much of running it, and a shuffle of a judge's test.
constexpr double kComposeGlobal = 0.6;
constexpr double kComposeJudge = 0.6;

// The part on `threads` threads; `took` is the time from the scan for redraws to the end,
// what a run would add to its set-up.
std::uint64_t shared_part(std::string_view part, std::uint64_t count, std::int32_t threads,
                          Work& first, double& took) {
  bench::CapacityData& data = bench::capacity_data();
  const bool global = part != "judge";
  const bool ranked = part == "ranked";
  const std::uint64_t per_unit = global ? kCapacityJudges - 1 : 1;
  ChainRoom room(threads, kCapacityObjects);
  const RandLags at = first_lags();
  std::vector<Work> work(static_cast<std::size_t>(threads));
  for (Work& w : work) {
    w.global = std::make_unique<GlobalTest>(data.ranks.view(), kCapacityJudges, kCapacityObjects,
                                            data.s_observed, first.rows, w.sums, w.histogram);
    w.judge = std::make_unique<JudgeTest>(data.ranks.view(), 1, kCapacityObjects, data.s_observed,
                                          data.rank_sums, w.own, w.others);
  }
  std::vector<std::int32_t>& perm = first.perm;
  std::vector<std::int64_t> reached(work.size());
  const auto start = std::chrono::steady_clock::now();
  const ShuffleChain chain =
      find_redraws_shared(at, kCapacityObjects, count * per_unit, threads, room);
  const ChainPlan plan =
      plan_chain(count, threads, global ? kComposeGlobal : kComposeJudge,
                 ranked ? kRankingInPermutations / static_cast<double>(count) : 0.0);
  double tie_term = 0.0;
  run_chain(
      plan, chain, at, per_unit, kCapacityObjects, perm, room,
      [&](std::int32_t t, std::uint64_t, std::uint64_t units, std::span<std::int32_t> p,
          RandStream& s) {
        Work& w = work[static_cast<std::size_t>(t)];
        reached[static_cast<std::size_t>(t)] =
            global ? w.global->permute(static_cast<std::int32_t>(units), p, s)
                   : w.judge->permute(static_cast<std::int32_t>(units), p, s);
      },
      [&] {
        if (ranked) tie_term = first.ranking->run();
      });
  took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::uint64_t mixed =
      static_cast<std::uint64_t>(std::accumulate(reached.begin(), reached.end(), std::int64_t{0}));
  mixed += static_cast<std::uint64_t>(tie_term);
  for (const std::int32_t x : perm) mixed = mixed * 31 + static_cast<std::uint64_t>(x);
  return mixed;
}

__attribute__((noinline)) std::uint64_t run_part(std::string_view part, std::uint64_t count,
                                                 Work& w) {
  if (part == "rank") return static_cast<std::uint64_t>(w.ranking->run());
  if (part == "global" || part == "judge" || part == "ranked") {
    const double tie_term = part == "ranked" ? w.ranking->run() : 0.0;
    const std::int64_t reached =
        part != "judge" ? w.global->permute(static_cast<std::int32_t>(count), w.perm, *w.stream)
                        : w.judge->permute(static_cast<std::int32_t>(count), w.perm, *w.stream);
    std::uint64_t mixed =
        static_cast<std::uint64_t>(reached) + static_cast<std::uint64_t>(tie_term);
    for (const std::int32_t x : w.perm) mixed = mixed * 31 + static_cast<std::uint64_t>(x);
    return mixed;
  }
  if (part == "compose") {
    compose_shuffles(count, kCapacityObjects, *w.stream, w.perm);
    return static_cast<std::uint64_t>(w.perm[0]);
  }
  if (part == "scan") {
    find_redraw_candidates(first_lags(), 0, count, w.candidates);
    return w.candidates.size();
  }
  if (part == "jump") {
    RandLags lags = first_lags();
    for (std::uint64_t k = 0; k < count; ++k) lags = jump_ahead(lags, (std::uint64_t{1} << 40) + k);
    return lags[0];
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t count = 0;
  const std::string_view part = argc >= 3 ? argv[1] : "";
  const std::string_view text = argc >= 3 ? argv[2] : "";
  std::int32_t threads = 0;
  if (argc == 4) std::from_chars(argv[3], argv[3] + std::string_view(argv[3]).size(), threads);
  if (std::from_chars(text.data(), text.data() + text.size(), count).ec != std::errc{} ||
      (part != "global" && part != "judge" && part != "compose" && part != "scan" &&
       part != "jump" && part != "rank" && part != "ranked" && part != "none")) {
    std::fprintf(stderr,
                 "usage: rankora-parallel-parts global|judge|compose|scan|jump|rank|ranked|none "
                 "COUNT [THREADS]\n");
    return 2;
  }
  bench::CapacityData& data = bench::capacity_data();
  Work w;
  w.rows.resize(std::size_t{kCapacityJudges} * kCapacityObjects);
  std::iota(w.perm.begin(), w.perm.end(), 1);
  w.global = std::make_unique<GlobalTest>(data.ranks.view(), kCapacityJudges, kCapacityObjects,
                                          data.s_observed, w.rows, w.sums, w.histogram);
  w.judge = std::make_unique<JudgeTest>(data.ranks.view(), 1, kCapacityObjects, data.s_observed,
                                        data.rank_sums, w.own, w.others);
  double took = 0.0;
  std::uint64_t result = 0;
  if (threads > 0) {
    result = shared_part(part, count, threads, w, took);
  } else {
    const auto start = std::chrono::steady_clock::now();
    result = run_part(part, count, w);
    took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  std::printf("%s %llu: %.6f s, %.3g s each (result %llu)\n", argv[1],
              static_cast<unsigned long long>(count), took,
              count ? took / static_cast<double>(count) : 0.0,
              static_cast<unsigned long long>(result));
  return 0;
}
