// Where the draws of a chain of shuffles fall in the generator's sequence. A shuffle of
// n entries takes n - 1 draws, and one more for each target beyond its step (redrawn):
// rare, but each one moves every later shuffle one draw on. A vectorised scan finds the
// few raw numbers that could be redrawn; walking through them in order decides which are.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "analysis/random.hpp"

namespace rankora {

// A draw whose raw number lies below this is never redrawn at any step up to
// kMaxShuffle: only u = 1 and the float just below 1 can give a target beyond the step.
inline constexpr std::uint32_t kRedrawRawFloor = (0x8000'0000u - 191u) << 1;

struct RedrawCandidate {
  std::uint64_t draw;  // from the first draw scanned
  std::uint32_t raw;
};

// Appends every draw of [first, first + count) after `at` whose raw number reaches
// kRedrawRawFloor, in ascending order.
void find_redraw_candidates(const RandLags& at, std::uint64_t first, std::uint64_t count,
                            std::vector<RedrawCandidate>& out);

struct Redraw {
  std::uint64_t shuffle;  // in the chain, from 0
  std::uint64_t draw;     // in the chain's draws, from 0
  std::int32_t step;      // i, the position the draw was for
};

// `shuffles` shuffles of n entries drawn one after another.
class ShuffleChain {
 public:
  ShuffleChain(std::int32_t n, std::uint64_t shuffles);

  // Decides the candidates (ascending, positions from the chain's first draw) for every
  // draw below `scanned`. Returns the draws the whole chain takes, which is final once it
  // is at most `scanned`; otherwise scan on to it and resolve again.
  std::uint64_t resolve(std::span<const RedrawCandidate> candidates, std::uint64_t scanned);

  // The position of shuffle s's first draw, s <= shuffles (the chain's end).
  std::uint64_t start_of(std::uint64_t shuffle) const;

  const std::vector<Redraw>& redraws() const { return redraws_; }
  std::uint64_t draws_per_shuffle() const { return per_shuffle_; }

 private:
  std::int32_t n_;
  std::uint64_t shuffles_;
  std::uint64_t per_shuffle_;
  std::vector<Redraw> redraws_;
};

// The chain's redraws from the state `at` before its first draw: scans, then resolves,
// then scans the few draws the redraws add, until the chain's end is known.
ShuffleChain find_redraws(const RandLags& at, std::int32_t n, std::uint64_t shuffles);

}  // namespace rankora
