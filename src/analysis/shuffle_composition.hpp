// Shuffles compose: the swaps of a shuffle depend only on its draws, so a run of shuffles
// turns any arrangement a into a o sigma, where sigma is what the same run makes of the
// identity. A thread that knows the sigma of every stretch of shuffles before its own
// knows the arrangement its own stretch starts from, without the work of those stretches.
#pragma once

#include <cstdint>
#include <span>

#include "analysis/random.hpp"

namespace rankora {

// Draws `shuffles` shuffles of n entries from `stream` and applies them to sigma(1..n),
// which should start as the identity (the values 1..n in order).
void compose_shuffles(std::uint64_t shuffles, std::int32_t n, RandStream& stream,
                      std::span<std::int32_t> sigma);

// after(k) = before(sigma(k)): the arrangement that the shuffles of sigma leave of before.
// after must not be before.
void apply_arrangement(std::span<const std::int32_t> before, std::span<const std::int32_t> sigma,
                       std::int32_t n, std::span<std::int32_t> after);

}  // namespace rankora
