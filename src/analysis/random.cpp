#include "analysis/random.hpp"

#include <algorithm>
#include <iterator>

namespace rankora {

RandStream::RandStream(std::uint32_t seed) {
  // A Lehmer sequence fills the 31 words of state, the first three repeat, and the first
  // 310 outputs are thrown away. The C library works on the seed as a signed 32-bit word
  // with Schrage's steps, which for a seed of 2^31 or more is not the unsigned product:
  // its arithmetic is kept as it is.
  constexpr int kDiscarded = 310;
  constexpr std::int32_t kModulus = 2147483647;
  if (seed == 0) seed = 1;
  std::uint32_t r[34 + kDiscarded];
  r[0] = seed;
  auto word = static_cast<std::int32_t>(seed);
  for (int i = 1; i < kLag; ++i) {
    const std::int32_t hi = word / 127773;
    const std::int32_t lo = word % 127773;
    word = 16807 * lo - 2836 * hi;
    if (word < 0) word += kModulus;
    r[i] = static_cast<std::uint32_t>(word);
  }
  for (int i = kLag; i < 34; ++i) r[i] = r[i - kLag];
  for (int i = 34; i < 34 + kDiscarded; ++i) r[i] = r[i - kLag] + r[i - 3];
  std::copy(std::end(r) - kLag, std::end(r), raw_);
  pos_ = end_ = kLag;
}

void RandStream::refill() {
  // Keep what is not consumed yet and at least the last kLag values the recurrence needs.
  const int unconsumed = end_ - pos_;
  const int keep = std::max(kLag, unconsumed);
  std::copy(raw_ + end_ - keep, raw_ + end_, raw_);
  pos_ = keep - unconsumed;
  end_ = keep;
  int fill = kCapacity - end_;
  fill -= fill % 3;
  std::uint32_t a = raw_[end_ - 3];
  std::uint32_t b = raw_[end_ - 2];
  std::uint32_t c = raw_[end_ - 1];
  std::uint32_t* out = raw_ + end_;
  const std::uint32_t* back = out - kLag;
  for (int i = 0; i < fill; i += 3) {
    a += back[i];
    out[i] = a;
    b += back[i + 1];
    out[i + 1] = b;
    c += back[i + 2];
    out[i + 2] = c;
  }
  end_ += fill;
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

float urand() { return uniform_from_rand(rand_stream().next()); }

}  // namespace rankora
