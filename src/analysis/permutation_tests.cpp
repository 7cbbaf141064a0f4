#include "analysis/permutation_tests.hpp"

#include "analysis/random.hpp"
#include "analysis/wkendall.hpp"

namespace rankora {
namespace {

void prefetch(const void* start, std::size_t bytes) {
  const char* p = static_cast<const char*>(start);
  for (std::size_t offset = 0; offset < bytes; offset += 64) __builtin_prefetch(p + offset);
}

// Ranks are multiples of 1/2 and a rank sum stays below 2^22, so twice a rank, twice a
// rank sum, their products (< 2^34) and sums of n such products (< 2^45) are integers
// that doubles and 64-bit integers hold exactly, whatever the order of the additions.
// S of the arrangement, summed in object order as wkendall sums it.
double permuted_s(const double* others2, const double* own2, const std::int32_t* perm,
                  std::int32_t nobj) {
  double s = 0.0;
  for (std::int32_t k = 0; k < nobj; ++k) {
    const double rank_sum = 0.5 * (others2[k] + own2[perm[k] - 1]);
    s += rank_sum * rank_sum;
  }
  return s;
}

}  // namespace

std::int64_t global_test_count(MatrixView ranks, std::int32_t njudge, std::int32_t nobj,
                               std::int32_t nperm, double s_observed, std::span<std::int32_t> perm,
                               double* rows, std::span<double> rsum, std::span<double> last_row,
                               RandStream& stream) {
  const std::int32_t m = njudge;
  for (std::int32_t j = 1; j < m; ++j) {
    double* row = rows + static_cast<std::ptrdiff_t>(j - 1) * nobj;
    for (std::int32_t k = 1; k <= nobj; ++k) row[k - 1] = ranks(j, k);
  }
  for (std::int32_t k = 1; k <= nobj; ++k) last_row[static_cast<std::size_t>(k - 1)] = ranks(m, k);

  std::int32_t* p = perm.data();
  double* sums = rsum.data();
  const std::size_t row_bytes = static_cast<std::size_t>(nobj) * sizeof(double);
  std::int64_t count = 1;
  for (std::int32_t t = 0; t < nperm; ++t) {
    // Rank sums are exact in any order of addition, so judge m may come first.
    for (std::int32_t k = 0; k < nobj; ++k) sums[k] = last_row[static_cast<std::size_t>(k)];
    for (std::int32_t j = 1; j < m; ++j) {
      // The rows together outgrow the caches: fetch the next judge's while this one works.
      if (j + 1 < m) prefetch(rows + static_cast<std::ptrdiff_t>(j) * nobj, row_bytes);
      const double* row = rows + static_cast<std::ptrdiff_t>(j - 1) * nobj - 1;
      shuffle(p, nobj, stream, [&](std::int32_t k, std::int32_t object) { sums[k] += row[object]; });
    }
    if (sum_of_squares(sums, nobj) >= s_observed) ++count;
  }
  return count;
}

void observed_rank_sums(MatrixView ranks, std::int32_t njudge, std::int32_t nobj,
                        std::span<double> rsum) {
  for (std::int32_t k = 1; k <= nobj; ++k) {
    const double* column = ranks.column(k);
    double sum = 0.0;
    for (std::int32_t j = 0; j < njudge; ++j) sum += column[j];
    rsum[static_cast<std::size_t>(k - 1)] = sum;
  }
}

// S(perm) = sum (others(k) + own(perm(k)))^2 differs from the observed S only by
// 2 * sum others(k) * (own(perm(k)) - own(k)), which is exact. The permuted S itself is
// a rounded sum once it passes 2^51; it is summed in full only when the exact value
// lies so near the observed S that the rounding could decide the comparison.
std::int64_t judge_test_count(MatrixView ranks, std::int32_t judge, std::int32_t nobj,
                              std::int32_t nperm, double s_observed,
                              std::span<const double> observed_rsum, std::span<std::int32_t> perm,
                              std::span<double> own, std::span<double> others,
                              RandStream& stream) {
  double* own2 = own.data();
  double* others2 = others.data();
  for (std::int32_t k = 1; k <= nobj; ++k) {
    const double x = ranks(judge, k);
    own2[k - 1] = 2.0 * x;
    others2[k - 1] = 2.0 * (observed_rsum[static_cast<std::size_t>(k - 1)] - x);
  }
  // In units of S/4, where everything is an integer: q = 4 S.
  std::int64_t q_exact_observed = 0;
  for (std::int32_t k = 0; k < nobj; ++k) {
    const auto twice_sum = static_cast<std::int64_t>(2.0 * observed_rsum[static_cast<std::size_t>(k)]);
    q_exact_observed += twice_sum * twice_sum;
  }
  const auto q_observed = static_cast<std::int64_t>(4.0 * s_observed);
  double cross_observed = 0.0;
  for (std::int32_t k = 0; k < nobj; ++k) cross_observed += others2[k] * own2[k];
  const auto c_observed = static_cast<std::int64_t>(cross_observed);

  // Below 2^51 every partial sum of S is exact; below 2^53 each of its n additions
  // rounds by at most 1/2, that is 2 in q.
  constexpr std::int64_t kExactBelow = std::int64_t{1} << 53;
  constexpr std::int64_t kBoundedBelow = std::int64_t{1} << 55;
  const std::int64_t rounding_bound = 2 * static_cast<std::int64_t>(nobj);

  std::int32_t* p = perm.data();
  std::int64_t count = 1;
  for (std::int32_t t = 0; t < nperm; ++t) {
    std::int64_t c = 0;
    shuffle(p, nobj, stream, [&](std::int32_t k, std::int32_t object) {
      c += static_cast<std::int64_t>(others2[k] * own2[object - 1]);
    });
    const std::int64_t q = q_exact_observed + 2 * (c - c_observed);
    const std::int64_t lead = q - q_observed;
    bool reaches;
    if (q < kExactBelow) {
      reaches = lead >= 0;
    } else if (q < kBoundedBelow && (lead >= rounding_bound || lead < -rounding_bound)) {
      reaches = lead >= 0;
    } else {
      reaches = permuted_s(others2, own2, p, nobj) >= s_observed;
    }
    if (reaches) ++count;
  }
  return count;
}

}  // namespace rankora
