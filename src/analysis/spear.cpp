#include "analysis/spear.hpp"

#include <cmath>

namespace rankora {

void standard(std::int32_t nobj, std::int32_t njudge, std::int32_t /*maxobj*/,
              std::int32_t /*maxj*/, MatrixView table, std::span<std::int32_t> varok, double dn,
              double dn1) {
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

void spear(std::int32_t nobj, std::int32_t njudge, std::int32_t maxobj, std::int32_t maxj,
           MatrixView table, MatrixView spearr, std::span<std::int32_t> varok, MatrixView result) {
  const double dn = nobj;
  const double dn1 = nobj - 1;
  standard(nobj, njudge, maxobj, maxj, table, varok, dn, dn1);
  for (std::int32_t j = 1; j <= njudge; ++j) spearr(j, j) = 1.0;

  // Column j of spearr below the diagonal accumulates the cross products of judge j
  // with every later judge at once; each pair still adds its products in object order.
  for (std::int32_t j = 1; j < njudge; ++j) {
    double* sums = spearr.column(j);
    for (std::int32_t k = j + 1; k <= njudge; ++k) sums[k - 1] = 0.0;
    for (std::int32_t i = 1; i <= nobj; ++i) {
      const double* z = table.column(i);
      const double zj = z[j - 1];
      for (std::int32_t k = j; k < njudge; ++k) sums[k] += zj * z[k];
    }
    const bool j_varies = varok[static_cast<std::size_t>(j - 1)] != 0;
    for (std::int32_t k = j + 1; k <= njudge; ++k) {
      const bool both_vary = j_varies && varok[static_cast<std::size_t>(k - 1)] != 0;
      const double r = both_vary ? sums[k - 1] / dn1 : 0.0;
      spearr(j, k) = r;
      spearr(k, j) = r;
    }
  }

  for (std::int32_t j = 1; j <= njudge; ++j) {
    double sum = 0.0;
    for (std::int32_t k = 1; k <= njudge; ++k) sum += spearr(j, k);
    result(j, 2) = (sum - 1.0) / static_cast<double>(njudge - 1);
  }
}

}  // namespace rankora
