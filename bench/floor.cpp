// rankora-floor TABLE JUDGES OBJECTS NPERM: the least work that any run giving Rankora's
// probabilities must do, as a yardstick for the program's own speed (bench/vs-floor).
// The same draws, swaps and rank sums as its permutation tests, the plain way, and
// nothing else: no dialogue, no report, no correlations, one thread. TABLE holds one
// line of OBJECTS scores per judge. Prints each probability as the report rounds it:
// "global P", then "judge J P" for each judge.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

#include "analysis/random.hpp"

namespace {

using Ranks = std::vector<double>;

// Mid-ranks: equal scores share the mean of their places.
Ranks midranks(const std::vector<double>& scores) {
  std::vector<std::size_t> order(scores.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](auto a, auto b) { return scores[a] < scores[b]; });
  Ranks ranks(scores.size());
  for (std::size_t first = 0, last = 0; first < order.size(); first = last) {
    while (last < order.size() && scores[order[last]] == scores[order[first]]) ++last;
    for (std::size_t k = first; k < last; ++k)
      ranks[order[k]] = static_cast<double>(first + last + 1) / 2.0;
  }
  return ranks;
}

// Durstenfeld from the top, the target trunc(u * i + 1) in single precision, drawn again
// while it lies beyond i. perm holds object numbers from 1.
void shuffle(std::vector<std::int32_t>& perm, rankora::RandStream& random) {
  for (auto i = static_cast<std::int32_t>(perm.size()); i >= 2; --i) {
    std::int32_t j = 0;
    do {
      const float u = static_cast<float>(static_cast<std::int32_t>(random.next())) * 0x1p-31f;
      j = static_cast<std::int32_t>(u * static_cast<float>(i) + 1.0f);
    } while (j > i);
    std::swap(perm[static_cast<std::size_t>(i - 1)], perm[static_cast<std::size_t>(j - 1)]);
  }
}

// S: the squared rank sums, added in object order.
double squared_sums(const std::vector<double>& sums) {
  double s = 0.0;
  for (double sum : sums) s += sum * sum;
  return s;
}

bool read_table(const char* file, std::vector<Ranks>& scores) {
  std::ifstream in(file, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const char* at = text.data();
  const char* end = at + text.size();
  for (Ranks& judge : scores) {
    for (double& score : judge) {
      while (at < end && (*at == ' ' || *at == '\n' || *at == '\t' || *at == '\r')) ++at;
      const auto [next, error] = std::from_chars(at, end, score);
      if (error != std::errc{}) return false;
      at = next;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int m = 0, n = 0, nperm = -1;
  if (argc == 5) {
    std::from_chars(argv[2], argv[2] + std::char_traits<char>::length(argv[2]), m);
    std::from_chars(argv[3], argv[3] + std::char_traits<char>::length(argv[3]), n);
    std::from_chars(argv[4], argv[4] + std::char_traits<char>::length(argv[4]), nperm);
  }
  const auto judges = static_cast<std::size_t>(m), objects = static_cast<std::size_t>(n);
  std::vector<Ranks> ranks(judges, Ranks(objects));
  if (m < 2 || n < 2 || nperm < 0 || !read_table(argv[1], ranks)) {
    std::fprintf(stderr, "usage: rankora-floor TABLE JUDGES OBJECTS NPERM (a readable table)\n");
    return 2;
  }
  for (Ranks& judge : ranks) judge = midranks(judge);
  std::vector<double> observed(objects, 0.0);
  for (const Ranks& judge : ranks)
    for (std::size_t k = 0; k < objects; ++k) observed[k] += judge[k];
  const double s_observed = squared_sums(observed);

  rankora::RandStream random;
  for (int draw = 0; draw < 100; ++draw) random.next();
  std::vector<std::int32_t> perm(objects);
  std::iota(perm.begin(), perm.end(), 1);
  const auto probability = [&](std::int64_t count) {
    return static_cast<double>(count) / (static_cast<double>(nperm) + 1.0);
  };

  // The global test: every judge but the last shuffled in turn.
  std::int64_t count = 1;
  std::vector<double> sums(objects);
  for (int t = 0; t < nperm; ++t) {
    sums = ranks.back();
    for (std::size_t j = 0; j + 1 < judges; ++j) {
      shuffle(perm, random);
      for (std::size_t k = 0; k < objects; ++k)
        sums[k] += ranks[j][static_cast<std::size_t>(perm[k] - 1)];
    }
    count += squared_sums(sums) >= s_observed;
  }
  std::printf("global %.5f\n", probability(count));

  // Each judge alone: the others' sums stay as observed.
  for (std::size_t j = 0; j < judges; ++j) {
    std::vector<double> others(objects);
    for (std::size_t k = 0; k < objects; ++k) others[k] = observed[k] - ranks[j][k];
    count = 1;
    for (int t = 0; t < nperm; ++t) {
      shuffle(perm, random);
      for (std::size_t k = 0; k < objects; ++k)
        sums[k] = others[k] + ranks[j][static_cast<std::size_t>(perm[k] - 1)];
      count += squared_sums(sums) >= s_observed;
    }
    std::printf("judge %zu %.5f\n", j + 1, probability(count));
  }
  return 0;
}
