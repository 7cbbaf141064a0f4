#include <gtest/gtest.h>

#include <numeric>

#include "support.hpp"

namespace analysis_test {
namespace {

using rankora::RandStream;

reference::Perm identity(int n) {
  reference::Perm v(static_cast<std::size_t>(n));
  std::iota(v.begin(), v.end(), 1);
  return v;
}

TEST(RandStream, FirstTenMillionNumbersAreTheCLibrarys) {
#ifndef __GLIBC__
  GTEST_SKIP() << "the stream reproduces glibc's rand()";
#endif
  std::srand(1);
  RandStream stream;
  for (int i = 0; i < 10'000'000; ++i) {
    const auto want = static_cast<std::uint32_t>(std::rand());
    const std::uint32_t got = stream.next();
    if (got != want) FAIL() << "number " << i << ": " << got << " instead of " << want;
  }
}

// Single draws and shuffles of every size interleaved, so that blocks are refilled with
// unread numbers left over and in the middle of shuffles.
TEST(RandStream, ShufflesAndSingleDrawsKeepOneSequence) {
  reset_generators();
  RandStream stream;
  std::mt19937 sizes(7);
  std::uniform_int_distribution<int> size(0, 2000);
  reference::Perm want = identity(2000), got = identity(2000);
  for (int step = 0; step < 3000; ++step) {
    const int n = step % 5 == 0 ? 1 + step % 3 : size(sizes);
    reference::permute(want, n);
    rankora::shuffle(got.data(), n, stream);
    ASSERT_EQ(got, want) << "shuffle " << step << " of " << n;
    for (int draw = 0; draw < step % 4; ++draw) {
      ASSERT_EQ(stream.next(), static_cast<std::uint32_t>(std::rand())) << "after shuffle " << step;
    }
  }
}

TEST(Urand, IsTheCLibrarysNumberScaledInSinglePrecision) {
  reset_generators();
  std::int32_t flag = 0;
  for (int i = 0; i < 100'000; ++i) ASSERT_EQ(rankora::urand(flag), reference::urand()) << i;
  EXPECT_EQ(flag, 0);
}

TEST(Permute, ShufflesFromTheCurrentArrangementWithTheProcessGenerator) {
  reset_generators();
  std::int32_t flag = 0;
  reference::Perm want = identity(2000), got = identity(2000);
  for (int n : {0, 1, 2, 3, 30, 2000, 2000, 1, 17}) {
    reference::permute(want, n);
    rankora::permute(flag, n, 2000, got);
    ASSERT_EQ(got, want) << n;
  }
  EXPECT_EQ(got[1999], want[1999]);
  EXPECT_EQ(rankora::urand(flag), reference::urand()) << "a different count of draws";
}

struct UniformCase {
  std::uint32_t r;
  float u;
};

class UniformFromRand : public ::testing::TestWithParam<UniformCase> {};

TEST_P(UniformFromRand, RoundsToSinglePrecision) {
  EXPECT_EQ(rankora::uniform_from_rand(GetParam().r), GetParam().u);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, UniformFromRand,
                         ::testing::Values(UniformCase{0, 0.0f}, UniformCase{1, 0x1p-31f},
                                           UniformCase{2147483647, 1.0f},
                                           UniformCase{2147483584, 1.0f},  // 2^31 - 64
                                           UniformCase{2147483583, 1.0f - 0x1p-24f},
                                           UniformCase{2147483457, 1.0f - 0x1p-24f},
                                           UniformCase{2147483456, 1.0f - 0x1p-23f},
                                           UniformCase{16777217, 0x1p-7f}));

TEST(ShuffleTarget, LargestUniformBelowOneIsRejectedOnlyAtPowersOfTwo) {
  for (std::int32_t i = 2; i <= 2000; ++i) {
    const bool power_of_two = (i & (i - 1)) == 0;
    EXPECT_EQ(rankora::shuffle_target(1.0f - 0x1p-24f, i), power_of_two ? i + 1 : i) << i;
    EXPECT_EQ(rankora::shuffle_target(1.0f, i), i + 1) << i;
    EXPECT_EQ(rankora::shuffle_target(0.0f, i), 1) << i;
  }
}

// A shuffle that meets a draw it must reject, at a known place in the sequence: it uses
// one number more and still swaps as the plain loop does.
struct RejectionCase {
  const char* name;
  bool (*is_wanted)(std::uint32_t r);
  int n;       // entries shuffled
  int before;  // draws of the shuffle before the special one
  int used;    // numbers the whole shuffle takes
};

bool gives_one(std::uint32_t r) { return r >= 2147483584u; }
bool gives_largest_below_one(std::uint32_t r) { return r >= 2147483457u && r < 2147483584u; }

class ShuffleRejection : public ::testing::TestWithParam<RejectionCase> {};

TEST_P(ShuffleRejection, DrawsOneMoreAndMatchesThePlainShuffle) {
  const RejectionCase& c = GetParam();
  RandStream scan;
  long position = 0;
  while (!c.is_wanted(scan.next())) ++position;
  ASSERT_GT(position, c.before);

  reset_generators();
  RandStream& stream = rankora::rand_stream();
  for (long i = 0; i < position - c.before; ++i) stream.next(), std::rand();
  reference::Perm want = identity(c.n), got = identity(c.n);
  reference::permute(want, c.n);
  rankora::shuffle(got.data(), c.n, stream);
  EXPECT_EQ(got, want);

  RandStream expected;
  for (long i = 0; i < position - c.before + c.used; ++i) expected.next();
  const std::uint32_t next = expected.next();
  EXPECT_EQ(stream.next(), next) << "the shuffle took another count of numbers";
  EXPECT_EQ(static_cast<std::uint32_t>(std::rand()), next) << "so did the plain loop";
}

INSTANTIATE_TEST_SUITE_P(
    FromTheSequence, ShuffleRejection,
    ::testing::Values(RejectionCase{"OneAtThirdStep", gives_one, 6, 3, 6},
                      RejectionCase{"OneAtLastStep", gives_one, 5, 3, 5},
                      RejectionCase{"BelowOneAtPowerOfTwo", gives_largest_below_one, 8, 4, 8},
                      RejectionCase{"BelowOneAtTwo", gives_largest_below_one, 3, 1, 3},
                      RejectionCase{"BelowOneAcceptedAtFive", gives_largest_below_one, 7, 2, 6}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace analysis_test
