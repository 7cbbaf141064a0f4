// rankora-redraws JUDGES OBJECTS NPERM: where the draws of an unseeded run of that size
// are redrawn, for building cases around them. One line per redraw: the test (0 for the
// global test, else the judge), the permutation (from 1), the judge shuffled (the global
// test's, from 1), the step i, and the draw's position in the run (from 0, the 100
// warm-up draws included).
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "analysis/random_jump.hpp"
#include "analysis/redraws.hpp"

namespace {

template <typename Number>
bool parse(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc{} && end == text.data() + text.size();
}

constexpr std::uint64_t kWarmUpDraws = 100;

}  // namespace

int main(int argc, char** argv) {
  std::int32_t judges = 0;
  std::int32_t objects = 0;
  std::int32_t nperm = 0;
  if (argc != 4 || !parse(argv[1], judges) || !parse(argv[2], objects) || !parse(argv[3], nperm) ||
      judges < 1 || objects < 1 || nperm < 0) {
    std::fprintf(stderr, "usage: rankora-redraws JUDGES OBJECTS NPERM\n");
    return 2;
  }
  using rankora::ShuffleChain;
  const std::uint64_t per_global = static_cast<std::uint64_t>(judges - 1);
  const std::uint64_t global_shuffles = per_global * static_cast<std::uint64_t>(nperm);
  const rankora::RandLags global_at = rankora::jump_ahead(rankora::first_lags(), kWarmUpDraws);
  const ShuffleChain global = rankora::find_redraws(global_at, objects, global_shuffles);
  const std::uint64_t global_draws = global.start_of(global_shuffles);
  for (const rankora::Redraw& r : global.redraws())
    std::printf("0 %llu %llu %d %llu\n",
                static_cast<unsigned long long>(r.shuffle / per_global + 1),
                static_cast<unsigned long long>(r.shuffle % per_global + 1), r.step,
                static_cast<unsigned long long>(kWarmUpDraws + r.draw));

  const std::uint64_t judge_shuffles =
      static_cast<std::uint64_t>(judges) * static_cast<std::uint64_t>(nperm);
  const ShuffleChain tests =
      rankora::find_redraws(rankora::jump_ahead(global_at, global_draws), objects, judge_shuffles);
  for (const rankora::Redraw& r : tests.redraws())
    std::printf("%llu %llu 0 %d %llu\n",
                static_cast<unsigned long long>(r.shuffle / static_cast<std::uint64_t>(nperm) + 1),
                static_cast<unsigned long long>(r.shuffle % static_cast<std::uint64_t>(nperm) + 1),
                r.step, static_cast<unsigned long long>(kWarmUpDraws + global_draws + r.draw));
  return 0;
}
