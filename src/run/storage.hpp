// All storage of a run, reserved once at full capacity before the dialogue starts.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <span>

#include "analysis/matrix.hpp"
#include "analysis/permutation_tests.hpp"

namespace rankora {

inline constexpr std::int32_t kMaxJudges = 1000;   // maxj
inline constexpr std::int32_t kMaxObjects = 2000;  // maxobj
inline constexpr std::int32_t kResultColumns = 7;
static_assert(sums_fit(kMaxJudges, kMaxObjects),
              "the permutation tests' exact integer sums cannot hold a table this large");

// Zero-filled; pages a small table never touches are never made resident.
template <typename T>
class ZeroedArray {
 public:
  explicit ZeroedArray(std::size_t size)
      : data_(static_cast<T*>(std::calloc(size, sizeof(T)))), size_(size) {
    if (!data_) throw std::bad_alloc();
  }
  T* data() const { return data_.get(); }
  std::span<T> span() const { return {data_.get(), size_}; }

 private:
  struct Free {
    void operator()(T* p) const { std::free(p); }
  };
  std::unique_ptr<T, Free> data_;
  std::size_t size_;
};

struct Storage {
  ZeroedArray<double> mat{std::size_t{kMaxJudges} * kMaxObjects};
  ZeroedArray<double> table{std::size_t{kMaxJudges} * kMaxObjects};
  ZeroedArray<double> spearr{std::size_t{kMaxJudges} * kMaxJudges};
  ZeroedArray<double> result{std::size_t{kMaxJudges} * kResultColumns};
  ZeroedArray<double> rsum{kMaxObjects};
  ZeroedArray<std::int32_t> perm{kMaxObjects};
  ZeroedArray<std::int32_t> tiecnt{kMaxObjects};
  ZeroedArray<double> values{kMaxObjects};
  ZeroedArray<double> rank_work{kMaxObjects};
  ZeroedArray<double> work1{kMaxJudges};
  ZeroedArray<double> work2{kMaxJudges};
  ZeroedArray<std::int32_t> iwork{kMaxJudges};
  ZeroedArray<std::int32_t> varok{kMaxJudges};
  // The global test's judge-major copy of twice the ranks, and twice the rank sums.
  ZeroedArray<std::uint16_t> doubled_ranks{std::size_t{kMaxJudges} * kMaxObjects};
  ZeroedArray<std::int32_t> doubled_sums{kMaxObjects};

  MatrixView mat_view() const { return {mat.data(), kMaxJudges}; }
  MatrixView table_view() const { return {table.data(), kMaxJudges}; }
  MatrixView spearr_view() const { return {spearr.data(), kMaxJudges}; }
  MatrixView result_view() const { return {result.data(), kMaxJudges}; }
};

}  // namespace rankora
