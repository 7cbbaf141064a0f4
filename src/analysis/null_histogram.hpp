// The bins of the global test's histogram of W, and the tally of its permutations.
#pragma once

#include <cstdint>

#include "analysis/results.hpp"

namespace rankora {

// The histogram of the global test of a table of njudge judges and nobj objects whose
// tie term is tcorr, every count 0; w_low and w_high with the tie option `ties`.
NullHistogram null_histogram(std::int32_t njudge, std::int32_t nobj, double tcorr,
                             std::int32_t ties);

// Counts permutations into a histogram's bins from q = 4 S, an exact integer: the bin is
// a function of q alone, found in integer arithmetic.
class NullHistogramTally {
 public:
  explicit NullHistogramTally(NullHistogram& histogram);

  void add(std::int64_t q) {
    const std::int64_t offset = q - q_low_;
    if (offset < 0) {
      ++histogram_->below;
      return;
    }
    const std::int64_t bin = offset / q_width_;
    if (bin >= bins_) {
      ++histogram_->above;
    } else {
      ++histogram_->counts[static_cast<std::size_t>(bin)];
    }
  }

 private:
  NullHistogram* histogram_;
  std::int64_t q_low_;
  std::int64_t q_width_;
  std::int64_t bins_;
};

}  // namespace rankora
