// Bonferroni and Holm adjustment of the judges' probabilities, and the order of the
// judge table.
#pragma once

#include <cstdint>
#include <span>

#include "analysis/results.hpp"

namespace rankora {

// Keys that differ by less than this count as equal.
inline constexpr double kSortTolerance = static_cast<double>(1.0e-8f);

enum class SortOrder { increasing, decreasing };

// Straight insertion sort of key(1..nrow), then rows(1..nrow) put in the same order.
// Increasing: a key moves down only past keys larger by at least the tolerance, so keys
// within it keep their order. Decreasing: it moves down past every key not larger by
// more than the tolerance, so a run of equal keys ends reversed. A comparison with a NaN
// is false: the key moves past it either way.
//   nrow   in      the number of keys and rows
//   key    in,out  sorted in place
//   rows   in,out  reordered with the keys
//   temp   work    (1..nrow)
//   order  out     order(i) = the position before the sort of the row now at i
//   dir    in
void sortpl(std::int32_t nrow, std::span<double> key, std::span<JudgeResult> rows,
            std::span<JudgeResult> temp, std::span<std::int32_t> order, SortOrder dir);

// The Bonferroni and Holm probabilities of each judge, then the table's order.
//   njudge  in      m
//   key     work    (1..m)
//   judges  in,out  (1..m), in judge order: rbar and p in; p_bonferroni and p_holm out;
//                   the rows end by decreasing rbar, equal ones in the reverse of their
//                   order by increasing p (so by decreasing judge number when p ties too)
//   temp    work    (1..m)
//   order   work    (1..m)
void adjustp(std::int32_t njudge, std::span<double> key, std::span<JudgeResult> judges,
             std::span<JudgeResult> temp, std::span<std::int32_t> order);

}  // namespace rankora
