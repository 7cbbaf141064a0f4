// Every random number of a run: the C library's rand() sequence, never seeded, as
// single-precision uniforms, and in-place shuffles of the object index vector.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace rankora {

// The generator's state: the 31 raw values before its next output, oldest first.
using RandLags = std::array<std::uint32_t, 31>;

// The additive feedback generator behind glibc's rand(): r[i] = r[i-3] + r[i-31]
// (mod 2^32), each output r >> 1, started as srand(1) starts it unless seeded. Values are made in
// blocks with the last three in registers: the obvious loop stalls on its own stores.
class RandStream {
 public:
  RandStream() : RandStream(1) {}
  // As srand(seed) starts it: srand(0) is srand(1).
  explicit RandStream(std::uint32_t seed);

  // The state, and a stream that goes on from one (random_jump.cpp: jumps ahead).
  explicit RandStream(const RandLags& lags);
  RandLags lags() const;

  std::uint32_t next() {
    if (pos_ == end_) refill();
    return raw_[pos_++] >> 1;
  }
  // Makes at least `count` (at most kMaxRun) numbers readable at once from peek().
  void reserve(int count) {
    if (end_ - pos_ < count) refill();
  }
  // The raw values of the next outputs; an output is its raw value >> 1.
  const std::uint32_t* peek() const { return raw_ + pos_; }
  void consume(int count) { pos_ += count; }

  static constexpr int kMaxRun = 4096;

 private:
  // Keeps what is not consumed yet and fills the rest of the buffer: room for kMaxRun.
  void refill();

  static constexpr int kLag = 31;
  static constexpr int kCapacity = kLag + 3 * kMaxRun;  // a multiple of 3 after the lag
  std::uint32_t raw_[kCapacity];
  int pos_ = 0;
  int end_ = 0;
};

// The process's one generator, in its unseeded state at start-up.
RandStream& rand_stream();

// One uniform in [0, 1]: rand() converted to single precision times 2^-31. Each call
// continues the sequence of rand_stream().
float urand();

// The index j of one shuffle step at position i for the draw u, in single precision:
// trunc(fl(fl(u * i) + 1)). Callers reject j > i.
inline std::int32_t shuffle_target(float u, std::int32_t i) {
  float scaled = u * static_cast<float>(i);
  float shifted = scaled + 1.0f;
  return static_cast<std::int32_t>(shifted);
}

inline float uniform_from_rand(std::uint32_t r) {
  return static_cast<float>(static_cast<std::int32_t>(r)) * 0x1p-31f;
}

}  // namespace rankora

namespace rankora {

// The swap targets of the steps i0, i0-1, ..., i0-count+1 from the raw numbers
// r[0..count), assuming none is rejected. Returns whether one was (j > i).
// Targets depend only on the draws, so this runs ahead of the swaps as one tight,
// vectorised pass.
bool shuffle_targets(const std::uint32_t* r, std::int32_t i0, std::int32_t count,
                     std::int32_t* targets);

inline constexpr std::int32_t kMaxShuffle = RandStream::kMaxRun;

// Shuffles v[0..n) in place, from whatever arrangement it holds, from the top
// (Durstenfeld): for i = n, n-1, ..., 2, a draw u gives j = shuffle_target(u, i), a j
// beyond i is drawn again, and v(i) swaps with v(j) (1-based). n - 1 draws plus one per
// redraw; nothing drawn when n < 2. The draws come straight from `stream`, as urand
// would make them, without a call per number.
// Going down from the top, a position never moves again once its step is done, so
// settle(k, v[k]) is called for every position k = n-1, ..., 0 as soon as it holds its
// final value: work on the new arrangement rides along with the swaps instead of a
// second pass.
template <typename Settle>
inline void shuffle(std::int32_t* v, std::int32_t n, RandStream& stream, Settle&& settle) {
  std::int32_t targets[kMaxShuffle];
  std::int32_t i = n;
  while (i >= 2) {
    // Enough numbers for the rest of the shuffle (or a run of it) unless a draw is rejected.
    const std::int32_t wanted = std::min(i - 1, kMaxShuffle);
    stream.reserve(wanted);
    const std::uint32_t* r = stream.peek();
    std::int32_t usable = wanted;
    if (shuffle_targets(r, i, wanted, targets)) {
      usable = 0;
      while (targets[usable] <= i - usable) ++usable;
    }
    for (std::int32_t t = 0; t < usable; ++t) {
      const std::int32_t a = i - 1 - t;
      const std::int32_t b = targets[t] - 1;
      const std::int32_t moved = v[b];
      v[b] = v[a];
      v[a] = moved;
      settle(a, moved);
    }
    i -= usable;
    // A rejected number is used up; the same i draws again.
    stream.consume(usable == wanted ? usable : usable + 1);
  }
  if (n >= 1) settle(0, v[0]);
}

inline void shuffle(std::int32_t* v, std::int32_t n, RandStream& stream) {
  shuffle(v, n, stream, [](std::int32_t, std::int32_t) {});
}

}  // namespace rankora
