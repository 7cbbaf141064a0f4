// Standardised ranks and the Spearman correlations among judges.
#pragma once

#include <cstdint>
#include <span>

#include "analysis/matrix.hpp"
#include "analysis/results.hpp"

namespace rankora {

// Each judge's ranks become (x - mean) / sd, sd with divisor dn1.
//   nobj, njudge  in      n and m
//   table         in,out  rows 1..m, columns 1..n: ranks in, standardised ranks out; a
//                         judge whose sd is exactly 0 gets a row of zeros
//   varok         out     (1..m) 0 for a judge whose sd is exactly 0, else 1
//   dn, dn1       in      n and n - 1 as doubles
void standard(std::int32_t nobj, std::int32_t njudge, MatrixView table,
              std::span<std::int32_t> varok, double dn, double dn1);

// The correlations among judges, and each judge's mean correlation with the others.
//   nobj, njudge  in      n and m
//   table         in,out  ranks in, standardised ranks out (see standard)
//   spearr        out     (1..m, 1..m) the correlation of judges j and k; 0 when either
//                         has no variance; 1 on the diagonal
//   varok         out     (1..m) as standard sets it
//   judges        out     (1..m) rbar of judge j's row j, R-bar; nothing else written
void spear(std::int32_t nobj, std::int32_t njudge, MatrixView table, MatrixView spearr,
           std::span<std::int32_t> varok, std::span<JudgeResult> judges);

}  // namespace rankora
