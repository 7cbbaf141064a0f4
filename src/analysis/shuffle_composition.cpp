#include "analysis/shuffle_composition.hpp"

#include <algorithm>

namespace rankora {
namespace {

// shuffle_targets() less one, as unsigned positions: the swaps then index straight from
// what they load. Returns whether a target lies beyond its step (a redraw).
__attribute__((target_clones("avx2", "default"))) bool composing_targets(const std::uint32_t* r,
                                                                         std::int32_t i0,
                                                                         std::int32_t count,
                                                                         std::uint32_t* targets) {
  std::int32_t rejected = 0;
  for (std::int32_t t = 0; t < count; ++t) {
    const std::int32_t i = i0 - t;
    const std::int32_t j = shuffle_target(uniform_from_rand(r[t] >> 1), i);
    targets[t] = static_cast<std::uint32_t>(j - 1);
    rejected |= static_cast<std::int32_t>(j > i);
  }
  return rejected != 0;
}

// shuffle() without the work that rides along: the same draws, redraws and swaps.
void compose_one(std::int32_t* v, std::int32_t n, RandStream& stream) {
  std::uint32_t targets[kMaxShuffle];
  std::int32_t i = n;
  while (i >= 2) {
    const std::int32_t wanted = std::min(i - 1, kMaxShuffle);
    stream.reserve(wanted);
    std::int32_t usable = wanted;
    if (composing_targets(stream.peek(), i, wanted, targets)) {
      usable = 0;
      while (static_cast<std::int32_t>(targets[usable]) < i - usable) ++usable;
    }
    std::int32_t* at = v + (i - 1);
#pragma GCC unroll 4
    for (const std::uint32_t* target = targets; target != targets + usable; ++target, --at) {
      const std::int32_t moved = v[*target];
      v[*target] = *at;
      *at = moved;
    }
    i -= usable;
    stream.consume(usable == wanted ? usable : usable + 1);
  }
}

}  // namespace

void compose_shuffles(std::uint64_t shuffles, std::int32_t n, RandStream& stream,
                      std::span<std::int32_t> sigma) {
  for (std::uint64_t s = 0; s < shuffles; ++s) compose_one(sigma.data(), n, stream);
}

void apply_arrangement(std::span<const std::int32_t> before, std::span<const std::int32_t> sigma,
                       std::int32_t n, std::span<std::int32_t> after) {
  for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k)
    after[k] = before[static_cast<std::size_t>(sigma[k] - 1)];
}

}  // namespace rankora
