// The generator's state any number of draws ahead, without drawing them: each thread of
// the permutation tests starts its share of the sequence where one thread would have.
#pragma once

#include <cstdint>

#include "analysis/random.hpp"

namespace rankora {

// The state `draws` outputs after `from`, in O(31^2 log draws).
RandLags jump_ahead(const RandLags& from, std::uint64_t draws);

// One distance, worked out once (O(31^2 log draws)), then applied to many states at
// O(31^2) each.
class JumpAhead {
 public:
  explicit JumpAhead(std::uint64_t draws);
  RandLags operator()(const RandLags& from) const;

 private:
  std::array<std::uint32_t, 31> power_;  // x^draws modulo the characteristic polynomial
};

// The state before the first output of an unseeded run.
RandLags first_lags();

}  // namespace rankora
