#include "analysis/permutation_tests.hpp"

#include <algorithm>

#include "analysis/wkendall.hpp"

namespace rankora {
namespace {

void prefetch(const void* start, std::size_t bytes) {
  const char* p = static_cast<const char*>(start);
  for (std::size_t offset = 0; offset < bytes; offset += 64) __builtin_prefetch(p + offset);
}

}  // namespace

GlobalTest::GlobalTest(MatrixView ranks, std::int32_t njudge, std::int32_t nobj, double s_observed,
                       double* rows, std::span<double> rsum, std::span<double> last_row)
    : njudge_(njudge),
      nobj_(nobj),
      s_observed_(s_observed),
      rows_(rows),
      sums_(rsum.data()),
      last_row_(last_row.data()) {
  for (std::int32_t j = 1; j < njudge; ++j) {
    double* row = rows + static_cast<std::ptrdiff_t>(j - 1) * nobj;
    for (std::int32_t k = 1; k <= nobj; ++k) row[k - 1] = ranks(j, k);
  }
  for (std::int32_t k = 1; k <= nobj; ++k)
    last_row[static_cast<std::size_t>(k - 1)] = ranks(njudge, k);
}

std::int64_t GlobalTest::permute(std::int32_t count, std::span<std::int32_t> perm,
                                 RandStream& stream) {
  std::int32_t* p = perm.data();
  double* sums = sums_;
  const std::size_t row_bytes = static_cast<std::size_t>(nobj_) * sizeof(double);
  std::int64_t reached = 0;
  for (std::int32_t t = 0; t < count; ++t) {
    // Rank sums are exact in any order of addition (multiples of 1/2 below 2^22), so
    // judge m may come first and each judge's share may come in any order.
    std::copy_n(last_row_, nobj_, sums);
    for (std::int32_t j = 1; j < njudge_; ++j) {
      // The rows together outgrow the caches: fetch the next judge's while this one works.
      if (j + 1 < njudge_) prefetch(rows_ + static_cast<std::ptrdiff_t>(j) * nobj_, row_bytes);
      const double* row = rows_ + static_cast<std::ptrdiff_t>(j - 1) * nobj_ - 1;
      shuffle(p, nobj_, stream,
              [&](std::int32_t k, std::int32_t object) { sums[k] += row[object]; });
    }
    if (sum_of_squares(sums, nobj_) >= s_observed_) ++reached;
  }
  return reached;
}

// With own = the judge's ranks and others = the other judges' rank sums,
// S(perm) = sum over k of (others(k) + own(perm(k)))^2 differs from the observed S by
// 2 * sum over k of others(k) * (own(perm(k)) - own(k)): only the cross sum changes.
// Everything is kept doubled: twice a rank, twice a rank sum, their products (< 2^34) and
// sums of n of them (< 2^45) are integers, exact in doubles and 64-bit integers whatever
// the order of the additions. q stands for 4 S, an integer too.
JudgeTest::JudgeTest(MatrixView ranks, std::int32_t judge, std::int32_t nobj, double s_observed,
                     std::span<const double> observed_rsum, std::span<double> own,
                     std::span<double> others)
    : nobj_(nobj),
      s_observed_(s_observed),
      own2_(own.data()),
      others2_(others.data()),
      q_exact_observed_(0),
      q_observed_(static_cast<std::int64_t>(4.0 * s_observed)),
      cross_observed_(0) {
  double cross = 0.0;
  for (std::int32_t k = 1; k <= nobj; ++k) {
    const auto at = static_cast<std::size_t>(k - 1);
    const double x = ranks(judge, k);
    own[at] = 2.0 * x;
    others[at] = 2.0 * (observed_rsum[at] - x);
    cross += others[at] * own[at];
    const auto twice_sum = static_cast<std::int64_t>(2.0 * observed_rsum[at]);
    q_exact_observed_ += twice_sum * twice_sum;
  }
  cross_observed_ = static_cast<std::int64_t>(cross);
}

// S is a rounded sum once it passes 2^51: it is then summed in full, as wkendall sums
// it, only when the exact value lies so near the observed S that rounding could decide.
bool JudgeTest::reaches(std::int64_t cross, const std::int32_t* perm) const {
  // Below 2^51 (q below 2^53) every partial sum of S is exact; below 2^53 each of its n
  // additions rounds by at most 1/2, that is 2 in q.
  constexpr std::int64_t kExactBelow = std::int64_t{1} << 53;
  constexpr std::int64_t kBoundedBelow = std::int64_t{1} << 55;
  const std::int64_t q = q_exact_observed_ + 2 * (cross - cross_observed_);
  const std::int64_t lead = q - q_observed_;
  if (q < kExactBelow) return lead >= 0;
  const std::int64_t bound = 2 * static_cast<std::int64_t>(nobj_);
  if (q < kBoundedBelow && (lead >= bound || lead < -bound)) return lead >= 0;
  double s = 0.0;
  for (std::int32_t k = 0; k < nobj_; ++k) {
    const double rank_sum = 0.5 * (others2_[k] + own2_[perm[k] - 1]);
    s += rank_sum * rank_sum;
  }
  return s >= s_observed_;
}

std::int64_t JudgeTest::permute(std::int32_t count, std::span<std::int32_t> perm,
                                RandStream& stream) {
  std::int32_t* p = perm.data();
  const double* own2 = own2_;
  const double* others2 = others2_;
  std::int64_t reached = 0;
  for (std::int32_t t = 0; t < count; ++t) {
    std::int64_t cross = 0;
    shuffle(p, nobj_, stream, [&](std::int32_t k, std::int32_t object) {
      cross += static_cast<std::int64_t>(others2[k] * own2[object - 1]);
    });
    if (reaches(cross, p)) ++reached;
  }
  return reached;
}

std::int64_t global_test_count(MatrixView ranks, std::int32_t njudge, std::int32_t nobj,
                               std::int32_t nperm, double s_observed, std::span<std::int32_t> perm,
                               double* rows, std::span<double> rsum, std::span<double> last_row,
                               RandStream& stream) {
  GlobalTest test(ranks, njudge, nobj, s_observed, rows, rsum, last_row);
  return 1 + test.permute(nperm, perm, stream);
}

std::int64_t judge_test_count(MatrixView ranks, std::int32_t judge, std::int32_t nobj,
                              std::int32_t nperm, double s_observed,
                              std::span<const double> observed_rsum, std::span<std::int32_t> perm,
                              std::span<double> own, std::span<double> others, RandStream& stream) {
  JudgeTest test(ranks, judge, nobj, s_observed, observed_rsum, own, others);
  return 1 + test.permute(nperm, perm, stream);
}

}  // namespace rankora
