// Ranking with ties: mid-ranks, and the tie term sum(t^3 - t) over groups of t equal values.
#pragma once

#include <cstdint>
#include <span>

namespace rankora {

// vals(1..n) in: one judge's values; out: their ranks 1..n, tied values sharing the mean
// of the positions they span. toprank(i) = the number of values <= vals(i);
// tiecnt(h) = the size of the group whose highest position is h, else 0. tcorr grows
// by this judge's tie term, added group by group in increasing order of value.
// Values compare exactly (0.0 ties -0.0); a NaN must not be given.
void tri(std::int32_t nobj, std::span<std::int32_t> tiecnt, std::span<double> vals,
         std::span<double> toprank, double& tcorr);

}  // namespace rankora
