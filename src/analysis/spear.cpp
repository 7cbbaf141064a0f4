#include "analysis/spear.hpp"

#include <algorithm>
#include <cmath>

namespace rankora {
namespace {

constexpr std::int32_t kBlock = 8;

// Column j of spearr, rows first+1..m, receives the sum over objects of z(j, i) z(k, i)
// for every j of the block [first, first + size). Rows within the block are scratch
// (the caller rewrites them, and the diagonal). Wider vectors where the processor has
// them: products and sums round alike in every instruction set, and nothing fuses.
__attribute__((target_clones("avx2", "default"))) void accumulate_block(
    MatrixView z, MatrixView spearr, std::int32_t first, std::int32_t size, std::int32_t nobj,
    std::int32_t njudge) {
  double* sums[kBlock];
  for (std::int32_t b = 0; b < size; ++b) {
    sums[b] = spearr.column(first + b);
    std::fill(sums[b] + first, sums[b] + njudge, 0.0);
  }
  for (std::int32_t i = 1; i <= nobj; ++i) {
    const double* column = z.column(i);
    for (std::int32_t b = 0; b < size; ++b) {
      const double zj = column[first - 1 + b];
      double* sum = sums[b];
      for (std::int32_t k = first; k < njudge; ++k) sum[k] += zj * column[k];
    }
  }
}

}  // namespace

void standard(std::int32_t nobj, std::int32_t njudge, MatrixView table,
              std::span<std::int32_t> varok, double dn, double dn1) {
  for (std::int32_t j = 1; j <= njudge; ++j) {
    double s = 0.0;
    double q = 0.0;
    for (std::int32_t k = 1; k <= nobj; ++k) {
      const double x = table(j, k);
      s += x;
      q += x * x;
    }
    const double mean = s / dn;
    const double sd = std::sqrt((q - (s * s) / dn) / dn1);
    const bool constant = sd == 0.0;
    varok[static_cast<std::size_t>(j - 1)] = constant ? 0 : 1;
    for (std::int32_t k = 1; k <= nobj; ++k) {
      table(j, k) = constant ? 0.0 : (table(j, k) - mean) / sd;
    }
  }
}

void spear(std::int32_t nobj, std::int32_t njudge, MatrixView table, MatrixView spearr,
           std::span<std::int32_t> varok, std::span<JudgeResult> judges) {
  const double dn = nobj;
  const double dn1 = nobj - 1;
  standard(nobj, njudge, table, varok, dn, dn1);
  // Judges go by blocks: for each object, one pass over the later judges' standardised
  // ranks feeds the sums of every judge of the block, so the 16 MB of ranks are read a
  // block at a time instead of a judge at a time. Column j of spearr, below the block,
  // holds judge j's sums; each pair still adds its products in object order.
  for (std::int32_t first = 1; first < njudge; first += kBlock) {
    const std::int32_t size = std::min(kBlock, njudge - first);
    accumulate_block(table, spearr, first, size, nobj, njudge);
    for (std::int32_t j = first; j < first + size; ++j) {
      const bool j_varies = varok[static_cast<std::size_t>(j - 1)] != 0;
      for (std::int32_t k = j + 1; k <= njudge; ++k) {
        const bool both_vary = j_varies && varok[static_cast<std::size_t>(k - 1)] != 0;
        const double r = both_vary ? spearr(k, j) / dn1 : 0.0;
        spearr(j, k) = r;
        spearr(k, j) = r;
      }
    }
  }
  for (std::int32_t j = 1; j <= njudge; ++j) spearr(j, j) = 1.0;

  for (std::int32_t j = 1; j <= njudge; ++j) {
    double sum = 0.0;
    for (std::int32_t k = 1; k <= njudge; ++k) sum += spearr(j, k);
    judges[static_cast<std::size_t>(j - 1)].rbar = (sum - 1.0) / static_cast<double>(njudge - 1);
  }
}

}  // namespace rankora
