#include "analysis/permutation_tests.hpp"

#include <algorithm>

#include "analysis/wkendall.hpp"

namespace rankora {
namespace {

void prefetch(const void* start, std::size_t bytes) {
  const char* p = static_cast<const char*>(start);
  for (std::size_t offset = 0; offset < bytes; offset += 64) __builtin_prefetch(p + offset);
}

// Whether a permuted S reaches the observed S, from q = 4 S, exact, and q_observed, the
// observed S as wkendall summed it, times 4. Below 2^51 (q below 2^53) every partial sum
// of S is exact, so q decides; below 2^53 each of the n additions of the ordered sum
// rounds by at most 1/2, that is 2 in q, so q decides unless it lies within that bound,
// where only the ordered sum itself can.
template <typename OrderedS>
bool reaches(std::int64_t q, std::int64_t q_observed, std::int32_t nobj, double s_observed,
             OrderedS&& ordered_s) {
  constexpr std::int64_t kExactBelow = std::int64_t{1} << 53;
  constexpr std::int64_t kBoundedBelow = std::int64_t{1} << 55;
  const std::int64_t lead = q - q_observed;
  if (q < kExactBelow) return lead >= 0;
  const std::int64_t bound = 2 * static_cast<std::int64_t>(nobj);
  if (q < kBoundedBelow && (lead >= bound || lead < -bound)) return lead >= 0;
  return ordered_s() >= s_observed;
}

std::int64_t observed_times_four(double s_observed) {
  return static_cast<std::int64_t>(4.0 * s_observed);
}

}  // namespace

// Ranks are multiples of 1/2 and at most 2000: doubled, they fit 16 bits, and their sums
// over 1000 judges fit 32, so the rows take a quarter of the room and the caches hold them.
GlobalTest::GlobalTest(MatrixView ranks, std::int32_t njudge, std::int32_t nobj, double s_observed,
                       std::span<std::uint16_t> rows, std::span<std::int32_t> sums,
                       NullHistogram& histogram)
    : njudge_(njudge),
      nobj_(nobj),
      s_observed_(s_observed),
      q_observed_(observed_times_four(s_observed)),
      rows_(rows.data()),
      sums_(sums.data()),
      tally_(histogram) {
  for (std::int32_t j = 1; j <= njudge; ++j) {
    std::uint16_t* row = rows.data() + static_cast<std::ptrdiff_t>(j - 1) * nobj;
    for (std::int32_t k = 1; k <= nobj; ++k)
      row[k - 1] = static_cast<std::uint16_t>(2.0 * ranks(j, k));
  }
}

// The permuted S as wkendall sums it: the halved sums are the exact rank sums.
double GlobalTest::ordered_s() const {
  double s = 0.0;
  for (std::int32_t k = 0; k < nobj_; ++k) {
    const double rank_sum = 0.5 * sums_[k];
    s += rank_sum * rank_sum;
  }
  return s;
}

std::int64_t GlobalTest::permute(std::int32_t count, std::span<std::int32_t> perm,
                                 RandStream& stream) {
  std::int32_t* p = perm.data();
  std::int32_t* sums = sums_;
  const std::uint16_t* last_row = rows_ + static_cast<std::ptrdiff_t>(njudge_ - 1) * nobj_;
  const std::size_t row_bytes = static_cast<std::size_t>(nobj_) * sizeof(std::uint16_t);
  std::int64_t reached = 0;
  for (std::int32_t t = 0; t < count; ++t) {
    // Integer sums are exact in any order: judge m comes first, each judge's share as its
    // shuffle settles it.
    std::copy_n(last_row, nobj_, sums);
    for (std::int32_t j = 1; j < njudge_; ++j) {
      if (j + 1 < njudge_) prefetch(rows_ + static_cast<std::ptrdiff_t>(j) * nobj_, row_bytes);
      const std::uint16_t* row = rows_ + static_cast<std::ptrdiff_t>(j - 1) * nobj_;
      shuffle(p, nobj_, stream,
              [&](std::int32_t k, std::int32_t object) { sums[k] += row[object - 1]; });
    }
    std::int64_t q = 0;
    for (std::int32_t k = 0; k < nobj_; ++k) q += std::int64_t{sums[k]} * sums[k];
    tally_.add(q);
    if (reaches(q, q_observed_, nobj_, s_observed_, [this] { return ordered_s(); })) ++reached;
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
      q_observed_(observed_times_four(s_observed)),
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

double JudgeTest::ordered_s(const std::int32_t* perm) const {
  double s = 0.0;
  for (std::int32_t k = 0; k < nobj_; ++k) {
    const double rank_sum = 0.5 * (others2_[k] + own2_[perm[k] - 1]);
    s += rank_sum * rank_sum;
  }
  return s;
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
    const std::int64_t q = q_exact_observed_ + 2 * (cross - cross_observed_);
    if (reaches(q, q_observed_, nobj_, s_observed_, [&] { return ordered_s(p); })) ++reached;
  }
  return reached;
}

std::int64_t global_test_count(MatrixView ranks, std::int32_t njudge, std::int32_t nobj,
                               std::int32_t nperm, double s_observed, std::span<std::int32_t> perm,
                               std::span<std::uint16_t> rows, std::span<std::int32_t> sums,
                               NullHistogram& histogram, RandStream& stream) {
  GlobalTest test(ranks, njudge, nobj, s_observed, rows, sums, histogram);
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
