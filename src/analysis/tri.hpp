// Ranking with ties: mid-ranks, and the tie term sum(t^3 - t) over groups of t equal values.
#pragma once

#include <cstdint>
#include <span>

namespace rankora {

// One judge's values become their ranks 1..n; tied values share the mean of the positions
// they span. Values compare exactly (0.0 ties -0.0); a NaN must not be given.
//   nobj     in      n
//   tiecnt   out     (1..n) tiecnt(h) = the size of the group whose highest position is
//                    h, else 0
//   vals     in,out  (1..n) the values in, their ranks out
//   toprank  out     (1..n) toprank(i) = the number of values <= vals(i)
//   tcorr    in,out  grows by this judge's tie term, added group by group in increasing
//                    order of value
void tri(std::int32_t nobj, std::span<std::int32_t> tiecnt, std::span<double> vals,
         std::span<double> toprank, double& tcorr);

}  // namespace rankora
