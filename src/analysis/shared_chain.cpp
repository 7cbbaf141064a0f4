#include "analysis/shared_chain.hpp"

#include <algorithm>

namespace rankora {

ChainPlan plan_chain(std::uint64_t units, std::int32_t threads, double compose_ratio,
                     double head_start) {
  const auto most =
      static_cast<std::int32_t>(std::min<std::uint64_t>(std::max<std::uint64_t>(units, 1), 4096));
  const std::int32_t t_count = std::clamp(threads, 1, most);
  ChainPlan plan;
  plan.starts.push_back(0);
  if (t_count == 1) {
    plan.starts.push_back(units);
    return plan;
  }
  // Thread 0 does its head start h, then runs x; each other thread composes
  // c (1 - s) / (T - 1) and runs s, with x + (T - 1) s = 1: all end together when
  // s = ((T - 1) (1 + h) - c) / (T (T - 1) - c). The others' stretches wait for the head
  // start; when their composing is done before it, all start together and share evenly.
  const double t = t_count;
  const double c = compose_ratio;
  double share = ((t - 1) * (1 + head_start) - c) / (t * (t - 1) - c);
  if (c * (1 - share) / (t - 1) < head_start) share = 1 / t;
  share = std::min(share, 1 / (t - 1));
  const auto each =
      std::max<std::uint64_t>(1, static_cast<std::uint64_t>(share * static_cast<double>(units)));
  plan.starts.push_back(units - static_cast<std::uint64_t>(t_count - 1) * each);
  for (std::int32_t k = 2; k <= t_count; ++k) plan.starts.push_back(plan.starts.back() + each);

  const std::uint64_t composed = plan.starts[static_cast<std::size_t>(t_count - 1)];
  std::vector<std::uint64_t> shares;
  for (std::int32_t k = 0; k < t_count; ++k)
    shares.push_back(composed * static_cast<std::uint64_t>(k) /
                     static_cast<std::uint64_t>(t_count - 1));
  plan.cuts = shares;
  plan.cuts.insert(plan.cuts.end(), plan.starts.begin() + 1, plan.starts.end() - 1);
  std::sort(plan.cuts.begin(), plan.cuts.end());
  plan.cuts.erase(std::unique(plan.cuts.begin(), plan.cuts.end()), plan.cuts.end());
  for (std::size_t p = 0; p + 1 < plan.cuts.size(); ++p) {
    const auto share_of =
        std::upper_bound(shares.begin(), shares.end(), plan.cuts[p]) - shares.begin();
    plan.composer.push_back(static_cast<std::int32_t>(share_of));
  }
  return plan;
}

ChainRoom::ChainRoom(std::int32_t threads, std::int32_t n) {
  const auto t = static_cast<std::size_t>(std::max(threads, 1));
  const auto entries = static_cast<std::size_t>(std::max(n, 1));
  for (std::size_t k = 0; k < t; ++k) streams.push_back(std::make_unique<RandStream>());
  arrangements.assign(2 * t, std::vector<std::int32_t>(entries));
  sigmas.assign(2 * t, std::vector<std::int32_t>(entries));
  candidates.resize(t);
}

ShuffleChain find_redraws_shared(const RandLags& at, std::int32_t n, std::uint64_t shuffles,
                                 std::int32_t threads, ChainRoom& room) {
  ShuffleChain chain(n, shuffles);
  const std::uint64_t draws = shuffles * chain.draws_per_shuffle();
  const auto t_count = static_cast<std::uint64_t>(
      std::clamp<std::int32_t>(threads, 1, static_cast<std::int32_t>(room.candidates.size())));
  {
    std::vector<std::jthread> scanners;
    for (std::uint64_t t = 0; t < t_count; ++t) {
      room.candidates[t].clear();
      const std::uint64_t first = draws * t / t_count, last = draws * (t + 1) / t_count;
      scanners.emplace_back([&, t, first, last] {
        find_redraw_candidates(at, first, last - first, room.candidates[t]);
      });
    }
  }
  std::vector<RedrawCandidate>& all = room.candidates[0];
  for (std::uint64_t t = 1; t < t_count; ++t)
    all.insert(all.end(), room.candidates[t].begin(), room.candidates[t].end());
  std::uint64_t scanned = draws;
  for (std::uint64_t needed = chain.resolve(all, scanned); needed > scanned;
       needed = chain.resolve(all, scanned)) {
    find_redraw_candidates(at, scanned, needed - scanned, all);
    scanned = needed;
  }
  return chain;
}

}  // namespace rankora
