#include "analysis/adjustp.hpp"

namespace rankora {

void sortpl(std::int32_t nrow, std::int32_t ncol, std::span<double> key, MatrixView tab,
            std::span<double> temp, std::span<std::int32_t> order, std::int32_t dir) {
  const bool decreasing = dir == 2;
  for (std::int32_t i = 1; i <= nrow; ++i) order[static_cast<std::size_t>(i - 1)] = i;
  for (std::int32_t j = 2; j <= nrow; ++j) {
    const double v = key[static_cast<std::size_t>(j - 1)];
    const std::int32_t o = order[static_cast<std::size_t>(j - 1)];
    std::int32_t i = j - 1;
    for (; i >= 1; --i) {
      const double d = key[static_cast<std::size_t>(i - 1)] - v;
      if (decreasing ? d > kSortTolerance : d < kSortTolerance) break;
      key[static_cast<std::size_t>(i)] = key[static_cast<std::size_t>(i - 1)];
      order[static_cast<std::size_t>(i)] = order[static_cast<std::size_t>(i - 1)];
    }
    key[static_cast<std::size_t>(i)] = v;
    order[static_cast<std::size_t>(i)] = o;
  }
  for (std::int32_t k = 1; k <= ncol; ++k) {
    for (std::int32_t i = 1; i <= nrow; ++i) temp[static_cast<std::size_t>(i - 1)] = tab(i, k);
    for (std::int32_t i = 1; i <= nrow; ++i) {
      tab(i, k) = temp[static_cast<std::size_t>(order[static_cast<std::size_t>(i - 1)] - 1)];
    }
  }
}

void adjustp(std::int32_t njudge, std::span<double> key, MatrixView result, std::span<double> temp,
             std::span<std::int32_t> order) {
  const std::int32_t m = njudge;
  for (std::int32_t i = 1; i <= m; ++i) key[static_cast<std::size_t>(i - 1)] = result(i, 4);
  sortpl(m, 7, key, result, temp, order, 1);
  for (std::int32_t i = 1; i <= m; ++i) {
    const double p = result(i, 4);
    result(i, 5) = p * static_cast<double>(m);
    result(i, 6) = p * static_cast<double>(m - i + 1);
    result(i, 7) = result(i, 6);
  }
  for (std::int32_t i = 2; i <= m; ++i) {
    if (result(i, 7) < result(i - 1, 7)) result(i, 7) = result(i - 1, 7);
  }
  for (std::int32_t i = 1; i <= m; ++i) key[static_cast<std::size_t>(i - 1)] = result(i, 2);
  sortpl(m, 7, key, result, temp, order, 2);
}

}  // namespace rankora
