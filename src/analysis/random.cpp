#include "analysis/random.hpp"

#include <algorithm>
#include <iterator>

namespace rankora {

RandStream::RandStream() {
  // srand(1): a Lehmer sequence fills the 31 words of state, the first three repeat,
  // and the first 310 outputs are thrown away.
  constexpr int kLag = 31;
  constexpr int kDiscarded = 310;
  std::uint32_t r[34 + kDiscarded];
  r[0] = 1;
  for (int i = 1; i < kLag; ++i)
    r[i] = static_cast<std::uint32_t>((16807ULL * r[i - 1]) % 2147483647ULL);
  for (int i = kLag; i < 34; ++i) r[i] = r[i - kLag];
  for (int i = 34; i < 34 + kDiscarded; ++i) r[i] = r[i - kLag] + r[i - 3];
  std::copy(std::end(r) - kHistory, std::end(r), raw_);
  pos_ = end_ = kHistory;
}

namespace {

// r[i] = r[i-3] + r[i-31], with r[i-3] and then r[i-6] unrolled the same way:
// r[i] = r[i-9] + r[i-31] + r[i-34] + r[i-37]. No value reads one of the eight before it.
__attribute__((target_clones("avx2", "default"))) void extend(std::uint32_t* raw, int from,
                                                              int to) {
  for (int i = from; i < to; ++i) raw[i] = raw[i - 9] + raw[i - 31] + raw[i - 34] + raw[i - 37];
}

}  // namespace

void RandStream::refill(int count) {
  // Keep what is not consumed yet and at least the history the recurrence reads.
  const int unconsumed = end_ - pos_;
  const int keep = std::max(kHistory, unconsumed);
  std::copy(raw_ + end_ - keep, raw_ + end_, raw_);
  pos_ = keep - unconsumed;
  end_ = keep;
  // The capacity leaves room for any count up to kMaxRun.
  (void)count;
  extend(raw_, end_, kCapacity);
  end_ = kCapacity;
}

// Wider vectors where the processor has them: single-precision products, sums and
// conversions round the same way in every instruction set, and nothing here can fuse.
__attribute__((target_clones("avx2", "default"))) bool shuffle_targets(const std::uint32_t* r,
                                                                       std::int32_t i0,
                                                                       std::int32_t count,
                                                                       std::int32_t* targets) {
  std::int32_t rejected = 0;
  for (std::int32_t t = 0; t < count; ++t) {
    const std::int32_t i = i0 - t;
    const std::int32_t j = shuffle_target(uniform_from_rand(r[t] >> 1), i);
    targets[t] = j;
    rejected |= static_cast<std::int32_t>(j > i);
  }
  return rejected != 0;
}

RandStream& rand_stream() {
  static RandStream stream;
  return stream;
}

float urand(std::int32_t& /*flag*/) { return uniform_from_rand(rand_stream().next()); }

void permute(std::int32_t& /*flag*/, std::int32_t n, std::int32_t /*capacity*/,
             std::span<std::int32_t> v) {
  shuffle(v.data(), n, rand_stream());
}

}  // namespace rankora
