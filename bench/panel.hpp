// Reproducible data for the benchmarks: panels of judges scoring objects, and files of
// typical data values. The same seed gives the same bytes on every machine.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <vector>

namespace rankora::bench {

// splitmix64: small and portable, unlike the standard distributions, whose output
// differs between standard libraries.
class SeededStream {
 public:
  explicit SeededStream(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next();
  // Uniform in [0, 1), 53 random bits.
  double uniform();
  // Uniform in 0 .. bound - 1; bound must be positive.
  std::uint32_t below(std::uint32_t bound);

 private:
  std::uint64_t state_;
};

// Integer scores of a panel of judges. Every object has a hidden merit; each judge sees
// it through noise of its own strength, and every fourth judge scores at random, so the
// agreement is moderate and the judges' own tests come out anywhere from certain to
// hopeless. Scores lie in 0 .. 8n - 1 for n objects: enough room for most values to be
// distinct, little enough for some ties.
struct Panel {
  int judges = 0;
  int objects = 0;
  std::vector<std::int32_t> scores;  // judge-major: judge j's score of object k at j * objects + k

  std::int32_t score(int judge, int object) const {
    return scores[static_cast<std::size_t>(judge) * static_cast<std::size_t>(objects) +
                  static_cast<std::size_t>(object)];
  }
};

// Every fourth judge (the 4th, 8th, ...) scores at random.
inline bool scores_at_random(int judge) { return judge % 4 == 3; }

// The panel above, or the same without ties (scores in 0 .. 2^30 - 1), or a concordant one:
// every judge sees the merit through little noise, so that at capacity S passes 2^51.
enum class PanelKind { kModerate, kUntied, kConcordant };

Panel make_panel(int judges, int objects, std::uint64_t seed,
                 PanelKind kind = PanelKind::kModerate);

// One line per judge (judges are the rows), scores separated by single blanks.
void write_panel(std::ostream& out, const Panel& panel);

// Writes `records` lines of `per_record` values such as a user's data file holds: mostly
// integers 0-100, some halves (37.5) and some tenths (62.3). Returns the values in file
// order as a correctly rounding conversion (strtod) reads their text.
std::vector<double> write_typical_values(std::ostream& out, int records, int per_record,
                                         std::uint64_t seed);

}  // namespace rankora::bench
