// All storage of a run, reserved once at full capacity before the dialogue starts.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <span>

#include "analysis/matrix.hpp"
#include "analysis/parallel_tests.hpp"
#include "analysis/permutation_tests.hpp"
#include "analysis/rankora.hpp"
#include "analysis/results.hpp"

namespace rankora {

inline constexpr std::int32_t kMaxJudges = 1000;   // maxj
inline constexpr std::int32_t kMaxObjects = 2000;  // maxobj
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
  // One thread runs today's loops; more get the room to share the permutation tests.
  explicit Storage(std::int32_t threads = 1)
      : shared(threads > 1 ? std::make_unique<SharedTests>(threads, kMaxJudges, kMaxObjects)
                           : nullptr) {}

  ZeroedArray<double> mat{std::size_t{kMaxJudges} * kMaxObjects};
  ZeroedArray<double> table{std::size_t{kMaxJudges} * kMaxObjects};
  ZeroedArray<double> spearr{std::size_t{kMaxJudges} * kMaxJudges};
  ZeroedArray<JudgeResult> judges{kMaxJudges};
  ZeroedArray<std::int32_t> varok{kMaxJudges};

  // The analysis' work space.
  ZeroedArray<double> rsum{kMaxObjects};
  ZeroedArray<std::int32_t> perm{kMaxObjects};
  ZeroedArray<std::int32_t> tiecnt{kMaxObjects};
  ZeroedArray<double> values{kMaxObjects};
  ZeroedArray<double> rank_work{kMaxObjects};
  ZeroedArray<double> key{kMaxJudges};
  ZeroedArray<std::int32_t> order{kMaxJudges};
  ZeroedArray<JudgeResult> judge_work{kMaxJudges};
  // The global test's judge-major copy of twice the ranks, and twice the rank sums.
  ZeroedArray<std::uint16_t> doubled_ranks{std::size_t{kMaxJudges} * kMaxObjects};
  ZeroedArray<std::int32_t> doubled_sums{kMaxObjects};
  std::unique_ptr<SharedTests> shared;

  MatrixView mat_view() const { return {mat.data(), kMaxJudges}; }
  MatrixView table_view() const { return {table.data(), kMaxJudges}; }
  MatrixView spearr_view() const { return {spearr.data(), kMaxJudges}; }
  RankoraWork rankora_work() const {
    return {.rsum = rsum.span(),
            .perm = perm.span(),
            .tiecnt = tiecnt.span(),
            .values = values.span(),
            .rank_work = rank_work.span(),
            .key = key.span(),
            .order = order.span(),
            .judge_work = judge_work.span(),
            .doubled_ranks = doubled_ranks.span(),
            .doubled_sums = doubled_sums.span(),
            .shared = shared.get()};
  }
};

}  // namespace rankora
