// A chain of units of work (a unit: a fixed number of shuffles of n entries, each going on
// from the arrangement the last one left) shared among threads with the same result as
// one thread. Thread 0 runs the first stretch at once, from the arrangement it is given.
// Every other thread first composes its share of the shuffles that come before the last
// stretch (shuffle_composition.hpp), then works out the arrangement its own stretch
// starts from and runs it, its generator jumped to that stretch's first draw.
#pragma once

#include <barrier>
#include <cstdint>
#include <latch>
#include <memory>
#include <span>
#include <thread>
#include <vector>

#include "analysis/random.hpp"
#include "analysis/random_jump.hpp"
#include "analysis/redraws.hpp"
#include "analysis/shuffle_composition.hpp"

namespace rankora {

// Who does what. Composing a unit costs `compose_ratio` of running it, so thread 0, which
// composes nothing, gets the longest stretch and the others equal ones: all end together.
// `head_start` is work that thread 0 does first (in the chain's whole work as 1), while the
// others already compose: nothing they compose depends on it.
struct ChainPlan {
  std::vector<std::uint64_t> starts;   // thread t runs units [starts[t], starts[t + 1])
  std::vector<std::uint64_t> cuts;     // pieces [cuts[p], cuts[p + 1]) composed, up to starts[T-1]
  std::vector<std::int32_t> composer;  // the thread that composes piece p

  std::int32_t threads() const { return static_cast<std::int32_t>(starts.size()) - 1; }
};

ChainPlan plan_chain(std::uint64_t units, std::int32_t threads, double compose_ratio,
                     double head_start = 0.0);

// The room a shared chain needs, reserved before it runs.
struct ChainRoom {
  ChainRoom(std::int32_t threads, std::int32_t n);
  std::vector<std::unique_ptr<RandStream>> streams;      // one a thread
  std::vector<std::vector<std::int32_t>> arrangements;   // two a thread
  std::vector<std::vector<std::int32_t>> sigmas;         // one a piece, at most 2 a thread
  std::vector<std::vector<RedrawCandidate>> candidates;  // one a thread
};

// The chain's redraws, its scan shared among the plan's threads.
ShuffleChain find_redraws_shared(const RandLags& at, std::int32_t n, std::uint64_t shuffles,
                                 std::int32_t threads, ChainRoom& room);

// Runs the plan: lead() on thread 0 (the head start), then work(thread, first unit, units,
// arrangement, stream) on every thread, each after lead() has returned; leaves in `perm` the
// arrangement the last unit left, as one thread would. `perm` is read before lead() runs.
template <typename Work, typename Lead>
void run_chain(const ChainPlan& plan, const ShuffleChain& chain, const RandLags& at,
               std::uint64_t shuffles_per_unit, std::int32_t n, std::span<std::int32_t> perm,
               ChainRoom& room, Work&& work, Lead&& lead) {
  const std::int32_t threads = plan.threads();
  const std::size_t pieces = plan.cuts.empty() ? 0 : plan.cuts.size() - 1;
  const auto stream_at = [&](std::int32_t t, std::uint64_t unit) -> RandStream& {
    *room.streams[static_cast<std::size_t>(t)] =
        RandStream(jump_ahead(at, chain.start_of(unit * shuffles_per_unit)));
    return *room.streams[static_cast<std::size_t>(t)];
  };
  std::barrier composed(threads > 1 ? threads - 1 : 1);
  std::latch led(1);
  const auto run = [&](std::int32_t t) {
    std::vector<std::int32_t>& own = room.arrangements[static_cast<std::size_t>(t)];
    if (t == 0) {
      lead();
      led.count_down();
    }
    if (t > 0) {
      for (std::size_t p = 0; p < pieces; ++p) {
        if (plan.composer[p] != t) continue;
        std::vector<std::int32_t>& sigma = room.sigmas[p];
        for (std::int32_t k = 0; k < n; ++k) sigma[static_cast<std::size_t>(k)] = k + 1;
        compose_shuffles((plan.cuts[p + 1] - plan.cuts[p]) * shuffles_per_unit, n,
                         stream_at(t, plan.cuts[p]), sigma);
      }
      composed.arrive_and_wait();
      // The pieces before this thread's stretch, in order, from the arrangement given.
      std::vector<std::int32_t>& spare = room.arrangements[static_cast<std::size_t>(threads + t)];
      for (std::size_t p = 0; p < pieces && plan.cuts[p] < plan.starts[static_cast<std::size_t>(t)];
           ++p) {
        apply_arrangement(own, room.sigmas[p], n, spare);
        own.swap(spare);
      }
      led.wait();
    }
    const std::uint64_t first = plan.starts[static_cast<std::size_t>(t)];
    work(t, first, plan.starts[static_cast<std::size_t>(t) + 1] - first,
         std::span<std::int32_t>(own), stream_at(t, first));
  };
  for (std::int32_t t = 0; t < threads; ++t)
    std::copy_n(perm.begin(), n, room.arrangements[static_cast<std::size_t>(t)].begin());
  std::vector<std::jthread> others;
  for (std::int32_t t = 1; t < threads; ++t) others.emplace_back(run, t);
  run(0);
  others.clear();
  std::copy_n(room.arrangements[static_cast<std::size_t>(threads - 1)].begin(), n, perm.begin());
}

template <typename Work>
void run_chain(const ChainPlan& plan, const ShuffleChain& chain, const RandLags& at,
               std::uint64_t shuffles_per_unit, std::int32_t n, std::span<std::int32_t> perm,
               ChainRoom& room, Work&& work) {
  run_chain(plan, chain, at, shuffles_per_unit, n, perm, room, work, [] {});
}

}  // namespace rankora
