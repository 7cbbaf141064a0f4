#include "analysis/redraws.hpp"

#include <algorithm>
#include <memory>

#include "analysis/random_jump.hpp"

namespace rankora {
namespace {

constexpr int kLag = 31;

// Below this many draws one stream beats the jumps that start the lanes.
constexpr std::uint64_t kLaneScanFrom = std::uint64_t{1} << 18;

void scan_one_stream(const RandLags& at, std::uint64_t first, std::uint64_t count,
                     std::vector<RedrawCandidate>& out) {
  RandStream stream(jump_ahead(at, first));
  for (std::uint64_t done = 0; done < count;) {
    const auto run = static_cast<int>(std::min<std::uint64_t>(count - done, RandStream::kMaxRun));
    stream.reserve(run);
    const std::uint32_t* raw = stream.peek();
    for (int t = 0; t < run; ++t)
      if (raw[t] >= kRedrawRawFloor)
        out.push_back({first + done + static_cast<std::uint64_t>(t), raw[t]});
    stream.consume(run);
    done += static_cast<std::uint64_t>(run);
  }
}

// Eight generators side by side, each on its own stretch of the range: lane l of
// lane_values[t] is stretch l's value t. Each stretch is a chain of dependent additions,
// so eight of them keep the vector units busy where one stream cannot.
constexpr int kLanes = 8;
using Lanes = std::uint32_t __attribute__((vector_size(4 * kLanes)));
using LaneMask = std::int32_t __attribute__((vector_size(4 * kLanes)));
constexpr int kBlockSteps = 3 * 128;

struct LaneScan {
  Lanes values[kLag + kBlockSteps];
};

// Steps the eight generators `steps` (a multiple of 3) values on; returns whether any
// value reached the floor.
__attribute__((target_clones("avx2", "default"))) bool step_lanes(LaneScan& scan, int steps) {
  Lanes* v = scan.values;
  Lanes a = v[kLag - 3];
  Lanes b = v[kLag - 2];
  Lanes c = v[kLag - 1];
  const Lanes floor = kRedrawRawFloor - Lanes{};
  LaneMask hit = {};
  for (int t = 0; t < steps; t += 3) {
    a += v[t];
    v[kLag + t] = a;
    hit |= a >= floor;
    b += v[t + 1];
    v[kLag + t + 1] = b;
    hit |= b >= floor;
    c += v[t + 2];
    v[kLag + t + 2] = c;
    hit |= c >= floor;
  }
  std::int32_t any = 0;
  for (int l = 0; l < kLanes; ++l) any |= hit[l];
  return any != 0;
}

void scan_lanes(const RandLags& at, std::uint64_t first, std::uint64_t count,
                std::vector<RedrawCandidate>& out) {
  const std::uint64_t stretch = (count + kLanes - 1) / kLanes;
  auto scan = std::make_unique<LaneScan>();
  {
    const JumpAhead next_stretch(stretch);
    RandLags lags = jump_ahead(at, first);
    for (int l = 0; l < kLanes; ++l) {
      for (int t = 0; t < kLag; ++t) scan->values[t][l] = lags[static_cast<std::size_t>(t)];
      lags = next_stretch(lags);
    }
  }
  const std::size_t found_before = out.size();
  for (std::uint64_t done = 0; done < stretch; done += kBlockSteps) {
    if (step_lanes(*scan, kBlockSteps)) {
      for (int t = 0; t < kBlockSteps; ++t)
        for (int l = 0; l < kLanes; ++l) {
          const std::uint32_t raw = scan->values[kLag + t][l];
          const std::uint64_t offset =
              static_cast<std::uint64_t>(l) * stretch + done + static_cast<std::uint64_t>(t);
          if (raw >= kRedrawRawFloor && done + static_cast<std::uint64_t>(t) < stretch &&
              offset < count)
            out.push_back({first + offset, raw});
        }
    }
    std::copy(scan->values + kBlockSteps, scan->values + kBlockSteps + kLag, scan->values);
  }
  std::sort(out.begin() + static_cast<std::ptrdiff_t>(found_before), out.end(),
            [](const RedrawCandidate& x, const RedrawCandidate& y) { return x.draw < y.draw; });
}

}  // namespace

void find_redraw_candidates(const RandLags& at, std::uint64_t first, std::uint64_t count,
                            std::vector<RedrawCandidate>& out) {
  if (count < kLaneScanFrom)
    scan_one_stream(at, first, count, out);
  else
    scan_lanes(at, first, count, out);
}

ShuffleChain::ShuffleChain(std::int32_t n, std::uint64_t shuffles)
    : n_(n), shuffles_(shuffles), per_shuffle_(n >= 2 ? static_cast<std::uint64_t>(n - 1) : 0) {}

std::uint64_t ShuffleChain::resolve(std::span<const RedrawCandidate> candidates,
                                    std::uint64_t scanned) {
  redraws_.clear();
  if (per_shuffle_ == 0) return 0;
  std::uint64_t shuffle = 0;
  std::uint64_t start = 0;    // the first draw of `shuffle`
  std::uint64_t redrawn = 0;  // its redraws so far
  for (const RedrawCandidate& c : candidates) {
    if (c.draw >= scanned) break;
    if (c.draw >= start + per_shuffle_ + redrawn) {
      start += per_shuffle_ + redrawn;
      redrawn = 0;
      const std::uint64_t skipped = (c.draw - start) / per_shuffle_;
      shuffle += 1 + skipped;
      start += skipped * per_shuffle_;
    }
    if (shuffle >= shuffles_) break;
    // A redrawn draw leaves i where it was.
    const auto step =
        static_cast<std::int32_t>(static_cast<std::uint64_t>(n_) - (c.draw - start - redrawn));
    if (shuffle_target(uniform_from_rand(c.raw >> 1), step) > step) {
      redraws_.push_back({shuffle, c.draw, step});
      ++redrawn;
    }
  }
  return shuffles_ * per_shuffle_ + redraws_.size();
}

std::uint64_t ShuffleChain::start_of(std::uint64_t shuffle) const {
  const auto before =
      std::lower_bound(redraws_.begin(), redraws_.end(), shuffle,
                       [](const Redraw& r, std::uint64_t s) { return r.shuffle < s; });
  return shuffle * per_shuffle_ + static_cast<std::uint64_t>(before - redraws_.begin());
}

ShuffleChain find_redraws(const RandLags& at, std::int32_t n, std::uint64_t shuffles) {
  ShuffleChain chain(n, shuffles);
  std::vector<RedrawCandidate> candidates;
  std::uint64_t scanned = 0;
  for (std::uint64_t needed = shuffles * chain.draws_per_shuffle(); needed > scanned;) {
    find_redraw_candidates(at, scanned, needed - scanned, candidates);
    scanned = needed;
    needed = chain.resolve(candidates, scanned);
  }
  return chain;
}

}  // namespace rankora
