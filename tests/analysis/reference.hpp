// The analysis the slow, obvious way: ranks by counting, S recomputed from the whole
// permuted table every time, every draw from the C library's rand().
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace reference {

using Row = std::vector<double>;
using Table = std::vector<Row>;          // [judge][object], from 0
using Perm = std::vector<std::int32_t>;  // object numbers, from 1

// t equal values share the mean of their positions and add t^3 - t to the tie term.
inline Row ranks(const Row& values, double& tcorr) {
  Row out;
  for (double x : values) {
    double below = 0.0, equal = 0.0;
    for (double y : values) below += y < x, equal += y == x;
    out.push_back(below + (equal + 1) / 2);
    tcorr += equal * equal - 1;
  }
  return out;
}

// The tie term, S, chi-square and W.
inline Row statistics(const Table& ranks, double tcorr, int ties) {
  const double m = static_cast<double>(ranks.size()), n = static_cast<double>(ranks[0].size());
  double s = 0.0;
  for (std::size_t k = 0; k < ranks[0].size(); ++k) {
    double sum = 0.0;
    for (const Row& judge : ranks) sum += judge[k];
    s += sum * sum;
  }
  if (ties == 2) {
    const double chi2 = 12 * s / (m * n * (n + 1)) - 3 * m * (n + 1);
    return {tcorr, s, chi2, chi2 / ((n - 1) * m)};
  }
  // m and n are small integers: their products below 2^53 are exact in doubles, and
  // 3 m^2 n (n+1)^2 rounds once, as its 64-bit integer converted does.
  const double p1 = m * m * n * (n + 1) * (n - 1), p2 = 3 * m * m * n * (n + 1) * (n + 1);
  // Every judge constant (the tie term at its most): 0/0 at run time, as the program forms it.
  volatile double zero = 0.0;
  const double w = tcorr == m * (n * n * n - n) ? zero / zero : (12 * s - p2) / (p1 - m * tcorr);
  return {tcorr, s, (n - 1) * m * w, w};
}

inline float urand() { return static_cast<float>(std::rand()) * 0x1p-31f; }

// Durstenfeld from the top; a target beyond i is drawn again. Returns the draws rejected.
inline int shuffle(Perm& v, std::int32_t n) {
  int rejected = 0;
  for (std::int32_t i = n; i >= 2; --i) {
    std::int32_t j = 0;
    while ((j = static_cast<std::int32_t>(urand() * static_cast<float>(i) + 1)) > i) ++rejected;
    std::swap(v[static_cast<std::size_t>(i - 1)], v[static_cast<std::size_t>(j - 1)]);
  }
  return rejected;
}

struct TestRun {
  std::int64_t count = 1;
  Row permuted_s;
};

// Judge 0 is the global test: judges 1 to m - 1 shuffled in turn.
inline TestRun permutation_test(const Table& ranks, std::size_t judge, int nperm, double s_observed,
                                Perm& perm) {
  const std::size_t first = judge == 0 ? 0 : judge - 1, end = judge == 0 ? ranks.size() - 1 : judge;
  TestRun run;
  Table table = ranks;
  for (int t = 0; t < nperm; ++t) {
    for (std::size_t j = first; j < end; ++j) {
      shuffle(perm, static_cast<std::int32_t>(perm.size()));
      for (std::size_t k = 0; k < perm.size(); ++k)
        table[j][k] = ranks[j][static_cast<std::size_t>(perm[k] - 1)];
    }
    run.permuted_s.push_back(statistics(table, 0.0, 2)[1]);
    run.count += run.permuted_s.back() >= s_observed ? 1 : 0;
  }
  return run;
}

// Straight insertion: a row moves up past every row whose key is not below its own by the
// tolerance, 1e-8 in single precision (decreasing: not above it).
inline void insertion_sort(Table& rows, std::size_t key, bool decreasing) {
  for (std::size_t j = 1; j < rows.size(); ++j) {
    const Row moving = rows[j];
    std::size_t i = j;
    for (; i > 0; --i) {
      const double d = rows[i - 1][key] - moving[key];
      if (decreasing ? d > double{1.0e-8f} : d < double{1.0e-8f}) break;
      rows[i] = rows[i - 1];
    }
    rows[i] = moving;
  }
}

// rows[i]: judge, R-bar, W, p, Bonferroni, Holm, and anything else.
inline void adjust(Table& rows) {
  insertion_sort(rows, 3, false);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i][4] = rows[i][3] * static_cast<double>(rows.size());
    const double holm = rows[i][3] * static_cast<double>(rows.size() - i);
    rows[i][5] = i == 0 ? holm : std::max(holm, rows[i - 1][5]);
  }
  insertion_sort(rows, 1, true);
}

// W of the table less judge j (from 1), ranked and summed afresh.
inline double w_without(const Table& data, std::size_t j, int ties) {
  Table others;
  double tcorr = 0.0;
  for (std::size_t i = 0; i < data.size(); ++i)
    if (i + 1 != j) others.push_back(ranks(data[i], tcorr));
  volatile double zero = 0.0;
  return others.empty() ? zero / zero : statistics(others, tcorr, ties)[3];
}

struct Analysis {
  // r: the correlations; result: in the final order, each row judge, R-bar, W, p,
  // Bonferroni, Holm, W without the judge, permutations that reached, no variance (1)
  Table ranks, r, result;
  double tcorr = 0.0;
  Row observed;  // tie term, S, chi-square, W
  TestRun global;
  std::vector<std::int32_t> varok;
  Perm perm;
};

// Correlations of standardised ranks: a judge without variance has z = 0, so correlates 0.
inline void correlations(Analysis& a) {
  const double n = static_cast<double>(a.ranks[0].size());
  Table z = a.ranks;
  for (Row& x : z) {
    const double s = std::accumulate(x.begin(), x.end(), 0.0);
    const double q = std::inner_product(x.begin(), x.end(), x.begin(), 0.0);
    const double sd = std::sqrt((q - s * s / n) / (n - 1));
    a.varok.push_back(sd != 0.0);
    for (double& v : x) v = sd == 0.0 ? 0.0 : (v - s / n) / sd;
  }
  for (const Row& zj : z) {
    a.r.emplace_back();
    for (const Row& zk : z)
      a.r.back().push_back(
          &zj == &zk ? 1.0 : std::inner_product(zj.begin(), zj.end(), zk.begin(), 0.0) / (n - 1));
  }
}

inline Analysis analysis(const Table& data, int ties, int nperm) {
  Analysis a;
  for (const Row& values : data) a.ranks.push_back(ranks(values, a.tcorr));
  a.observed = statistics(a.ranks, a.tcorr, ties);
  a.perm.resize(data[0].size());
  std::iota(a.perm.begin(), a.perm.end(), 1);
  for (int draw = 0; draw < 100; ++draw) urand();
  a.global = permutation_test(a.ranks, 0, nperm, a.observed[1], a.perm);
  correlations(a);
  const auto m = static_cast<double>(data.size());
  for (std::size_t j = 1; j <= data.size(); ++j) {
    const auto count = permutation_test(a.ranks, j, nperm, a.observed[1], a.perm).count;
    const double rbar = (std::accumulate(a.r[j - 1].begin(), a.r[j - 1].end(), 0.0) - 1) / (m - 1);
    a.result.push_back({static_cast<double>(j), rbar, ((m - 1) * rbar + 1) / m,
                        static_cast<double>(count) / (nperm + 1.0), 0, 0, w_without(data, j, ties),
                        static_cast<double>(count - 1), a.varok[j - 1] ? 0.0 : 1.0});
  }
  adjust(a.result);
  return a;
}

}  // namespace reference
