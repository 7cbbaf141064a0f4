#include "panel.hpp"

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <string>

namespace rankora::bench {

std::uint64_t SeededStream::next() {
  std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

double SeededStream::uniform() { return static_cast<double>(next() >> 11) * 0x1p-53; }

std::uint32_t SeededStream::below(std::uint32_t bound) {
  // The high bits times the bound: a bias of at most 2^-32, which nothing here can see.
  return static_cast<std::uint32_t>(((next() >> 32) * bound) >> 32);
}

Panel make_panel(int judges, int objects, std::uint64_t seed, PanelKind kind) {
  SeededStream random(seed);
  std::vector<double> merit(static_cast<std::size_t>(objects));
  for (double& m : merit) m = random.uniform();

  Panel panel{judges, objects, {}};
  panel.scores.reserve(static_cast<std::size_t>(judges) * static_cast<std::size_t>(objects));
  const double levels = kind == PanelKind::kUntied ? 0x1p30 : 8.0 * objects;
  const auto top = static_cast<std::int32_t>(levels) - 1;
  for (int j = 0; j < judges; ++j) {
    const double strength = 0.2 + 0.5 * random.uniform();
    const double weight = kind == PanelKind::kConcordant ? 0.97
                          : scores_at_random(j)          ? 0.0
                                                         : strength;
    for (int k = 0; k < objects; ++k) {
      const double seen =
          weight * merit[static_cast<std::size_t>(k)] + (1.0 - weight) * random.uniform();
      // seen < 1 in exact arithmetic; the rounding of the sum may still reach 1.
      panel.scores.push_back(std::min(static_cast<std::int32_t>(seen * levels), top));
    }
  }
  return panel;
}

void write_panel(std::ostream& out, const Panel& panel) {
  std::string line;
  for (int j = 0; j < panel.judges; ++j) {
    line.clear();
    for (int k = 0; k < panel.objects; ++k) {
      if (k > 0) line += ' ';
      line += std::to_string(panel.score(j, k));
    }
    line += '\n';
    out << line;
  }
}

namespace {

std::string typical_value_text(SeededStream& random) {
  const std::uint32_t kind = random.below(10);
  if (kind < 7) return std::to_string(random.below(101));
  if (kind < 9) return std::to_string(random.below(100)) + ".5";
  return std::to_string(random.below(100)) + "." + std::to_string(1 + random.below(9));
}

}  // namespace

std::vector<double> write_typical_values(std::ostream& out, int records, int per_record,
                                         std::uint64_t seed) {
  SeededStream random(seed);
  std::vector<double> values;
  values.reserve(static_cast<std::size_t>(records) * static_cast<std::size_t>(per_record));
  std::string line;
  for (int r = 0; r < records; ++r) {
    line.clear();
    for (int v = 0; v < per_record; ++v) {
      const std::string text = typical_value_text(random);
      values.push_back(std::strtod(text.c_str(), nullptr));
      if (v > 0) line += ' ';
      line += text;
    }
    line += '\n';
    out << line;
  }
  return values;
}

}  // namespace rankora::bench
