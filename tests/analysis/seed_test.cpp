// The seeded generator against the C library's srand(seed) and rand(), for the seeds
// where the library's signed arithmetic could part from ours: 0 (taken as 1), the ends
// of the signed range, and the largest unsigned seeds.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "analysis/random.hpp"

namespace {

class Seeded : public testing::TestWithParam<std::uint32_t> {};

TEST_P(Seeded, DrawsWhatRandDraws) {
  const std::uint32_t seed = GetParam();
  std::srand(seed);
  auto stream = std::make_unique<rankora::RandStream>(seed);
  // Past several refills of the generator's blocks.
  for (int i = 0; i < 100000; ++i) {
    ASSERT_EQ(stream->next(), static_cast<std::uint32_t>(std::rand())) << "number " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, Seeded,
                         testing::Values(0u, 1u, 2u, 42u, 127773u, 2147483646u, 2147483647u,
                                         2147483648u, 2147483649u, 4294967294u, 4294967295u));

}  // namespace
