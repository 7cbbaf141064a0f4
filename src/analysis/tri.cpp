#include "analysis/tri.hpp"

#include <algorithm>
#include <numeric>

namespace rankora {

void tri(std::int32_t nobj, std::span<std::int32_t> tiecnt, std::span<double> vals,
         std::span<double> toprank, double& tcorr) {
  if (nobj <= 0) return;
  const auto n = static_cast<std::size_t>(nobj);
  const auto order = tiecnt.first(n);  // sorting scratch until the counts are written
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
    return vals[static_cast<std::size_t>(a)] < vals[static_cast<std::size_t>(b)];
  });

  // Each group of equal values ends at position h (1-based): every member gets h.
  for (std::size_t start = 0; start < n;) {
    const double value = vals[static_cast<std::size_t>(order[start])];
    std::size_t end = start + 1;
    while (end < n && vals[static_cast<std::size_t>(order[end])] == value) ++end;
    for (std::size_t p = start; p < end; ++p) {
      toprank[static_cast<std::size_t>(order[p])] = static_cast<double>(end);
    }
    start = end;
  }

  std::fill(tiecnt.begin(), tiecnt.begin() + nobj, 0);
  for (std::size_t i = 0; i < n; ++i) ++tiecnt[static_cast<std::size_t>(toprank[i]) - 1];

  for (std::size_t h = 0; h < n; ++h) {
    const double t = tiecnt[h];
    if (t > 1.0) tcorr += ((t + 1.0) * t) * (t - 1.0);
  }

  for (std::size_t i = 0; i < n; ++i) {
    const auto h = static_cast<std::int32_t>(toprank[i]);
    const std::int32_t t = tiecnt[static_cast<std::size_t>(h - 1)];
    if (t == 1) {
      vals[i] = toprank[i];
    } else {
      // h + (h-1) + ... + (h-t+1), at most 2,001,000 for 2000 objects.
      const std::int32_t positions = t * h - t * (t - 1) / 2;
      vals[i] = static_cast<double>(positions) / static_cast<double>(t);
    }
  }
}

}  // namespace rankora
