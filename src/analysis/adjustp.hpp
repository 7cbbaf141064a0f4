// Bonferroni and Holm adjustment of the judges' probabilities, and the order of the
// judge table.
#pragma once

#include <cstdint>
#include <span>

#include "analysis/matrix.hpp"

namespace rankora {

// Keys that differ by less than this count as equal.
inline constexpr double kSortTolerance = static_cast<double>(1.0e-8f);

// Straight insertion sort of key(1..nrow), increasing (stable within the tolerance) or,
// with dir 2, decreasing (a run of equal keys ends reversed); then rows 1..nrow of
// columns 1..ncol of tab are put in the same order. order(i) = the row's old position.
void sortpl(std::int32_t nrow, std::int32_t ncol, std::span<double> key, MatrixView tab,
            std::span<double> temp, std::span<std::int32_t> order, std::int32_t dir);

// Fills columns 5 (Bonferroni), 6 (Holm working values) and 7 (Holm) of result from the
// probabilities of column 4, then orders the rows by decreasing R-bar (column 2).
void adjustp(std::int32_t njudge, std::span<double> key, MatrixView result, std::span<double> temp,
             std::span<std::int32_t> order);

}  // namespace rankora
