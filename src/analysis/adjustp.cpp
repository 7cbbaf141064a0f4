#include "analysis/adjustp.hpp"

#include <algorithm>

namespace rankora {

void sortpl(std::int32_t nrow, std::span<double> key, std::span<JudgeResult> rows,
            std::span<JudgeResult> temp, std::span<std::int32_t> order, SortOrder dir) {
  const bool decreasing = dir == SortOrder::decreasing;
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
  const auto n = static_cast<std::size_t>(std::max(nrow, 0));
  std::copy_n(rows.begin(), n, temp.begin());
  for (std::size_t i = 0; i < n; ++i) rows[i] = temp[static_cast<std::size_t>(order[i] - 1)];
}

void adjustp(std::int32_t njudge, std::span<double> key, std::span<JudgeResult> judges,
             std::span<JudgeResult> temp, std::span<std::int32_t> order) {
  const std::int32_t m = njudge;
  const auto rows = judges.first(static_cast<std::size_t>(m));
  for (std::size_t i = 0; i < rows.size(); ++i) key[i] = rows[i].p;
  sortpl(m, key, rows, temp, order, SortOrder::increasing);
  // Holm: p (m - i + 1) at position i of the increasing order, then its running maximum.
  for (std::int32_t i = 1; i <= m; ++i) {
    JudgeResult& row = rows[static_cast<std::size_t>(i - 1)];
    row.p_bonferroni = row.p * static_cast<double>(m);
    row.p_holm = row.p * static_cast<double>(m - i + 1);
    if (i > 1) {
      const double before = rows[static_cast<std::size_t>(i - 2)].p_holm;
      if (row.p_holm < before) row.p_holm = before;
    }
  }
  for (std::size_t i = 0; i < rows.size(); ++i) key[i] = rows[i].rbar;
  sortpl(m, key, rows, temp, order, SortOrder::decreasing);
}

}  // namespace rankora
