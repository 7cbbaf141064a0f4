// The capacity table (1000 judges, 2000 objects) in the program's own layout, ranked as
// the analysis ranks it, built once and shared by the benchmarks.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "analysis/matrix.hpp"

namespace rankora::bench {

inline constexpr int kCapacityJudges = 1000;
inline constexpr int kCapacityObjects = 2000;
inline constexpr std::uint64_t kCapacitySeed = 1000'2000;

// A matrix at full capacity: column-major, leading dimension 1000, as the program
// reserves its own.
class CapacityMatrix {
 public:
  CapacityMatrix() : data_(std::size_t{kCapacityJudges} * kCapacityObjects, 0.0) {}
  MatrixView view() { return {data_.data(), kCapacityJudges}; }
  const std::vector<double>& values() const { return data_; }

 private:
  std::vector<double> data_;
};

// The work vectors that ranking borrows, at full capacity.
struct RankWork {
  std::vector<std::int32_t> tiecnt = std::vector<std::int32_t>(kCapacityObjects);
  std::vector<double> values = std::vector<double>(kCapacityObjects);
  std::vector<double> toprank = std::vector<double>(kCapacityObjects);
};

// Ranks every judge's row of `raw` into `mat` and `table`, judge by judge through one
// value vector, as the analysis does. Returns the tie term.
double rank_rows(MatrixView raw, MatrixView mat, MatrixView table, int judges, int objects,
                 RankWork& work);

struct CapacityData {
  CapacityMatrix scores;  // the capacity panel's raw scores
  CapacityMatrix ranks;
  double tie_term = 0.0;
  double s_observed = 0.0;
  std::vector<double> rank_sums;
};

// Built on first use (a second or so), then shared.
CapacityData& capacity_data();

// The capacity panel's scores placed in a capacity matrix.
void fill_scores(MatrixView scores, int judges, int objects, std::uint64_t seed);

}  // namespace rankora::bench
