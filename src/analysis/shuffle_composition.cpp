#include "analysis/shuffle_composition.hpp"

namespace rankora {

void compose_shuffles(std::uint64_t shuffles, std::int32_t n, RandStream& stream,
                      std::span<std::int32_t> sigma) {
  for (std::uint64_t s = 0; s < shuffles; ++s) shuffle(sigma.data(), n, stream);
}

void apply_arrangement(std::span<const std::int32_t> before, std::span<const std::int32_t> sigma,
                       std::int32_t n, std::span<std::int32_t> after) {
  for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k)
    after[k] = before[static_cast<std::size_t>(sigma[k] - 1)];
}

}  // namespace rankora
