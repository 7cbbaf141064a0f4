#include "analysis/parallel_tests.hpp"

#include <algorithm>
#include <chrono>
#include <thread>

#include "analysis/random.hpp"
#include "analysis/random_jump.hpp"

namespace rankora {
namespace {

// Composing a unit's shuffles costs this much of running them (bench/PARALLEL.md): the
// threads that compose get shorter stretches. A wrong value unbalances, never changes a bit.
constexpr double kComposeGlobal = 0.6;
constexpr double kComposeJudges = 0.6;

// The observer hears from thread 0 alone, after about this many swaps of its own.
constexpr std::int64_t kSwapsPerProgress = std::int64_t{1} << 16;
constexpr auto kProgressWait = std::chrono::milliseconds(50);

// Thread 0, its stretch done, tells of the others' until they are done too. It looks
// again soon, then less and less often: a small table's run is not held back by a wait.
template <typename Tell>
void tell_until(const std::atomic<std::int64_t>& done, std::int64_t total, Tell&& tell) {
  std::chrono::microseconds wait(100);
  for (std::int64_t now = done.load(); now < total; now = done.load()) {
    tell(now);
    std::this_thread::sleep_for(wait);
    wait = std::min<std::chrono::microseconds>(2 * wait, kProgressWait);
  }
}

}  // namespace

ThreadWork::ThreadWork(std::int32_t maxj, std::int32_t maxobj)
    : sums(static_cast<std::size_t>(maxobj)),
      own(static_cast<std::size_t>(maxobj)),
      others(static_cast<std::size_t>(maxobj)),
      reached(static_cast<std::size_t>(maxj)) {}

SharedTests::SharedTests(std::int32_t threads, std::int32_t maxj, std::int32_t maxobj)
    : room_(threads, maxobj), judge_done_(static_cast<std::size_t>(maxj)) {
  work_.reserve(static_cast<std::size_t>(threads));
  for (std::int32_t t = 0; t < threads; ++t) work_.emplace_back(maxj, maxobj);
}

void SharedTests::global_test(MatrixView ranks, std::int32_t njudge, std::int32_t nobj,
                              std::span<std::uint16_t> doubled_ranks, std::span<std::int32_t> perm,
                              Concordance& concordance, AnalysisObserver& observer) {
  const std::int32_t nperm = concordance.nperm;
  const auto per_unit = static_cast<std::uint64_t>(njudge - 1);
  const RandLags at = rand_stream().lags();
  const ShuffleChain chain =
      find_redraws_shared(at, nobj, per_unit * static_cast<std::uint64_t>(nperm), threads(), room_);
  const ChainPlan plan = plan_chain(static_cast<std::uint64_t>(nperm), threads(), kComposeGlobal);
  // The rows are written once, then only read.
  for (std::int32_t t = 0; t < plan.threads(); ++t) {
    ThreadWork& w = work_[static_cast<std::size_t>(t)];
    w.histogram = concordance.null_histogram;
    w.global.emplace(ranks, njudge, nobj, concordance.s, doubled_ranks, w.sums, w.histogram);
  }
  const std::int64_t swaps_each = std::max<std::int64_t>(1, std::int64_t{njudge - 1} * nobj);
  const auto per_progress =
      static_cast<std::uint64_t>(std::max<std::int64_t>(1, kSwapsPerProgress / swaps_each));
  const std::int64_t total = std::int64_t{nperm} * (njudge - 1);
  std::atomic<std::int64_t> shuffles_done = 0;
  std::vector<std::int64_t> reached(static_cast<std::size_t>(plan.threads()));
  run_chain(plan, chain, at, per_unit, nobj, perm, room_,
            [&](std::int32_t t, std::uint64_t, std::uint64_t units, std::span<std::int32_t> p,
                RandStream& stream) {
              GlobalTest& test = *work_[static_cast<std::size_t>(t)].global;
              for (std::uint64_t done = 0; done < units;) {
                const std::uint64_t count = std::min(per_progress, units - done);
                reached[static_cast<std::size_t>(t)] +=
                    test.permute(static_cast<std::int32_t>(count), p, stream);
                done += count;
                const std::int64_t now = shuffles_done +=
                    static_cast<std::int64_t>(count) * (njudge - 1);
                if (t == 0) observer.global_test_progress(now);
              }
              if (t == 0)
                tell_until(shuffles_done, total,
                           [&](std::int64_t now) { observer.global_test_progress(now); });
            });
  observer.global_test_progress(total);
  rand_stream() =
      RandStream(jump_ahead(at, chain.start_of(per_unit * static_cast<std::uint64_t>(nperm))));
  concordance.reached = 0;
  for (std::int32_t t = 0; t < plan.threads(); ++t) {
    ThreadWork& w = work_[static_cast<std::size_t>(t)];
    concordance.reached += reached[static_cast<std::size_t>(t)];
    NullHistogram& sum = concordance.null_histogram;
    for (std::size_t b = 0; b < sum.counts.size(); ++b) sum.counts[b] += w.histogram.counts[b];
    sum.below += w.histogram.below;
    sum.above += w.histogram.above;
    w.global.reset();
  }
}

void SharedTests::judge_tests(MatrixView ranks, std::int32_t njudge, std::int32_t nobj,
                              std::span<const double> rsum, std::span<std::int32_t> perm,
                              const Concordance& concordance, std::span<JudgeResult> judges,
                              AnalysisObserver& observer) {
  const auto nperm = static_cast<std::uint64_t>(concordance.nperm);
  const std::uint64_t units = nperm * static_cast<std::uint64_t>(njudge);
  const RandLags at = rand_stream().lags();
  const ShuffleChain chain = find_redraws_shared(at, nobj, units, threads(), room_);
  const ChainPlan plan = plan_chain(units, threads(), kComposeJudges);
  for (ThreadWork& w : work_) std::fill_n(w.reached.begin(), njudge, 0);
  for (std::int32_t j = 0; j < njudge; ++j) judge_done_[static_cast<std::size_t>(j)] = 0;
  const std::int64_t before = static_cast<std::int64_t>(nperm) * (njudge - 1);
  std::atomic<std::int64_t> shuffles_done = 0;
  std::atomic<std::int32_t> judges_done = 0;
  const auto tell = [&](std::int64_t now) {
    observer.judges_progress(before + now, judges_done.load());
  };
  run_chain(plan, chain, at, 1, nobj, perm, room_,
            [&](std::int32_t t, std::uint64_t first, std::uint64_t count, std::span<std::int32_t> p,
                RandStream& stream) {
              ThreadWork& w = work_[static_cast<std::size_t>(t)];
              for (std::uint64_t unit = first; unit < first + count;) {
                const auto judge = static_cast<std::int32_t>(unit / nperm);
                const std::uint64_t piece =
                    std::min(first + count, (unit / nperm + 1) * nperm) - unit;
                JudgeTest test(ranks, judge + 1, nobj, concordance.s, rsum, w.own, w.others);
                w.reached[static_cast<std::size_t>(judge)] +=
                    test.permute(static_cast<std::int32_t>(piece), p, stream);
                unit += piece;
                const auto shuffles = static_cast<std::int64_t>(piece);
                if ((judge_done_[static_cast<std::size_t>(judge)] += shuffles) ==
                    static_cast<std::int64_t>(nperm))
                  ++judges_done;
                const std::int64_t now = shuffles_done += shuffles;
                if (t == 0) tell(now);
              }
              if (t == 0) tell_until(shuffles_done, static_cast<std::int64_t>(units), tell);
            });
  tell(static_cast<std::int64_t>(units));
  rand_stream() = RandStream(jump_ahead(at, chain.start_of(units)));
  for (std::int32_t j = 0; j < njudge; ++j) {
    std::int64_t sum = 0;
    for (const ThreadWork& w : work_) sum += w.reached[static_cast<std::size_t>(j)];
    judges[static_cast<std::size_t>(j)].reached = sum;
  }
}

}  // namespace rankora
