// The analysis done the slow, obvious way: O(n^2) ranking, S from a whole table every
// time, the C library's rand() for every draw, permuted rows copied into a table.
// The fast routines must agree with this bit for bit.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace reference {

using Row = std::vector<double>;
using Table = std::vector<Row>;          // table[j][k]: judge j, object k, both from 0
using Perm = std::vector<std::int32_t>;  // 1-based object numbers

struct Ranked {
  Row ranks;
  Row toprank;
  std::vector<std::int32_t> tiecnt;
};

inline Ranked tri(const Row& vals, double& tcorr) {
  const std::size_t n = vals.size();
  Ranked out{Row(n), Row(n), std::vector<std::int32_t>(n, 0)};
  for (std::size_t i = 0; i < n; ++i) {
    int h = 0;
    for (std::size_t j = 0; j < n; ++j) h += vals[j] <= vals[i] ? 1 : 0;
    out.toprank[i] = h;
    out.tiecnt[static_cast<std::size_t>(h - 1)] += 1;
  }
  for (std::size_t h = 0; h < n; ++h) {
    const double t = out.tiecnt[h];
    tcorr += ((t + 1.0) * t) * (t - 1.0);
  }
  for (std::size_t i = 0; i < n; ++i) {
    const auto h = static_cast<std::int32_t>(out.toprank[i]);
    const std::int32_t t = out.tiecnt[static_cast<std::size_t>(h - 1)];
    std::int32_t positions = 0;
    for (std::int32_t p = h - t + 1; p <= h; ++p) positions += p;
    out.ranks[i] =
        t == 1 ? out.toprank[i] : static_cast<double>(positions) / static_cast<double>(t);
  }
  return out;
}

struct Statistics {
  Row rsum;
  double s = 0.0;
  double chi2 = 0.0;
  double kendw = 0.0;
};

inline Statistics wkendall(const Table& table, std::size_t n, double tcorr, int ties) {
  Statistics st{Row(n, 0.0)};
  for (std::size_t k = 0; k < n; ++k) {
    for (const Row& judge : table) st.rsum[k] += judge[k];
    st.s += st.rsum[k] * st.rsum[k];
  }
  const std::int64_t m = static_cast<std::int64_t>(table.size());
  const auto nn = static_cast<std::int64_t>(n);
  if (ties == 2) {
    st.chi2 = (12.0 * st.s) / static_cast<double>(m * nn * (nn + 1)) -
              static_cast<double>(3 * m * (nn + 1));
    st.kendw = st.chi2 / static_cast<double>((nn - 1) * m);
  } else {
    const float M = static_cast<float>(m), N = static_cast<float>(nn);
    const float p1 = (((M * M) * N) * (N + 1.0f)) * (N - 1.0f);
    const double d = static_cast<double>(p1) - static_cast<double>(M) * tcorr;
    const float p2 = ((((M * 3.0f) * M) * N) * (N + 1.0f)) * (N + 1.0f);
    st.kendw = (12.0 * st.s - static_cast<double>(p2)) / d;
    st.chi2 = static_cast<double>((N - 1.0f) * M) * st.kendw;
  }
  return st;
}

inline double s_of(const Table& table, std::size_t n) { return wkendall(table, n, 0.0, 2).s; }

inline float urand() { return static_cast<float>(std::rand()) * 0x1p-31f; }

inline void permute(Perm& v, std::int32_t n) {
  for (std::int32_t i = n; i >= 2; --i) {
    std::int32_t j = 0;
    do {
      const float u = urand();
      const float scaled = u * static_cast<float>(i);
      const float shifted = scaled + 1.0f;
      j = static_cast<std::int32_t>(shifted);
    } while (j > i);
    std::swap(v[static_cast<std::size_t>(i - 1)], v[static_cast<std::size_t>(j - 1)]);
  }
}

inline void copy_permuted(const Row& from, const Perm& perm, Row& to) {
  for (std::size_t k = 0; k < to.size(); ++k) to[k] = from[static_cast<std::size_t>(perm[k] - 1)];
}

struct TestRun {
  std::int64_t count = 1;
  std::vector<double> permuted_s;
};

inline TestRun global_test(const Table& ranks, std::int32_t nperm, double s_observed, Perm& perm) {
  TestRun run;
  Table table = ranks;
  const std::size_t n = ranks.empty() ? 0 : ranks[0].size();
  for (std::int32_t t = 0; t < nperm; ++t) {
    for (std::size_t j = 0; j + 1 < ranks.size(); ++j) {
      permute(perm, static_cast<std::int32_t>(n));
      copy_permuted(ranks[j], perm, table[j]);
    }
    run.permuted_s.push_back(s_of(table, n));
    if (run.permuted_s.back() >= s_observed) ++run.count;
  }
  return run;
}

inline TestRun judge_test(const Table& ranks, std::size_t judge, std::int32_t nperm,
                          double s_observed, Perm& perm) {
  TestRun run;
  Table table = ranks;
  const std::size_t n = ranks[0].size();
  for (std::int32_t t = 0; t < nperm; ++t) {
    permute(perm, static_cast<std::int32_t>(n));
    copy_permuted(ranks[judge], perm, table[judge]);
    run.permuted_s.push_back(s_of(table, n));
    if (run.permuted_s.back() >= s_observed) ++run.count;
  }
  return run;
}

inline double probability(std::int64_t count, std::int32_t nperm) {
  return static_cast<double>(count) / static_cast<double>(std::int64_t{nperm} + 1);
}

struct Correlations {
  Table z;
  std::vector<std::int32_t> varok;
  Table spearr;
  Row rbar;
};

inline Correlations spear(const Table& ranks, std::size_t n) {
  const std::size_t m = ranks.size();
  const double dn = static_cast<double>(n), dn1 = static_cast<double>(n) - 1.0;
  Correlations c{ranks, std::vector<std::int32_t>(m), Table(m, Row(m)), Row(m)};
  for (std::size_t j = 0; j < m; ++j) {
    double s = 0.0, q = 0.0;
    for (double x : ranks[j]) s += x, q += x * x;
    const double mean = s / dn;
    const double sd = std::sqrt((q - (s * s) / dn) / dn1);
    c.varok[j] = sd == 0.0 ? 0 : 1;
    for (double& x : c.z[j]) x = sd == 0.0 ? 0.0 : (x - mean) / sd;
  }
  for (std::size_t j = 0; j < m; ++j) {
    c.spearr[j][j] = 1.0;
    for (std::size_t k = j + 1; k < m; ++k) {
      double sum = 0.0;
      for (std::size_t i = 0; i < n; ++i) sum += c.z[j][i] * c.z[k][i];
      const double r = c.varok[j] != 0 && c.varok[k] != 0 ? sum / dn1 : 0.0;
      c.spearr[j][k] = c.spearr[k][j] = r;
    }
  }
  for (std::size_t j = 0; j < m; ++j) {
    double sum = 0.0;
    for (double r : c.spearr[j]) sum += r;
    c.rbar[j] = (sum - 1.0) / static_cast<double>(static_cast<std::int32_t>(m) - 1);
  }
  return c;
}

constexpr double kTolerance = static_cast<double>(1.0e-8f);

// rows[i][c]: row i of the table, column c (0 to 6 for result columns 1 to 7).
inline void sortpl(Row& key, Table& rows, int dir) {
  const std::size_t count = key.size();
  std::vector<std::size_t> order(count);
  for (std::size_t i = 0; i < count; ++i) order[i] = i;
  for (std::size_t j = 1; j < count; ++j) {
    const double v = key[j];
    const std::size_t o = order[j];
    std::size_t i = j;
    while (i > 0) {
      const double d = key[i - 1] - v;
      if (dir == 2 ? d > kTolerance : d < kTolerance) break;
      key[i] = key[i - 1];
      order[i] = order[i - 1];
      --i;
    }
    key[i] = v;
    order[i] = o;
  }
  const Table before = rows;
  for (std::size_t i = 0; i < count; ++i) rows[i] = before[order[i]];
}

inline void adjustp(Table& result) {
  const auto m = static_cast<std::int32_t>(result.size());
  Row key;
  for (const Row& r : result) key.push_back(r[3]);
  sortpl(key, result, 1);
  for (std::int32_t i = 1; i <= m; ++i) {
    Row& r = result[static_cast<std::size_t>(i - 1)];
    r[4] = r[3] * static_cast<double>(m);
    r[5] = r[3] * static_cast<double>(m - i + 1);
    r[6] = r[5];
  }
  for (std::size_t i = 1; i < result.size(); ++i) {
    if (result[i][6] < result[i - 1][6]) result[i][6] = result[i - 1][6];
  }
  key.clear();
  for (const Row& r : result) key.push_back(r[1]);
  sortpl(key, result, 2);
}

// The records as they read in the report, field by field.
inline std::string f_field(double value, int width, int decimals) {
  char text[400];
  if (!std::isfinite(value)) {
    std::snprintf(text, sizeof text, "%*.*f", width, decimals, value);
    return text;
  }
  std::snprintf(text, sizeof text, "%.*f", decimals, std::fabs(value));
  std::string body = text;
  if (value < 0.0 && body.find_first_not_of("0.") != std::string::npos) body.insert(0, 1, '-');
  if (static_cast<int>(body.size()) > width)
    return std::string(static_cast<std::size_t>(width), '*');
  return std::string(static_cast<std::size_t>(width) - body.size(), ' ') + body;
}

inline std::string i_field(std::int64_t value, int width) {
  std::string body = std::to_string(value);
  if (static_cast<int>(body.size()) > width)
    return std::string(static_cast<std::size_t>(width), '*');
  return std::string(static_cast<std::size_t>(width) - body.size(), ' ') + body;
}

struct Analysis {
  Table ranks;
  double tcorr = 0.0;
  Statistics observed;
  TestRun global;
  std::vector<TestRun> judges;
  Correlations correlations;
  Table result;  // m rows of 7 columns, in the final order
  Perm perm;
  std::string report;
};

// The whole analysis of `data` (judges by objects) as the report gets it.
inline Analysis rankora(const Table& data, int lang, int ties, std::int32_t nperm) {
  const bool fr = lang == 1;
  const std::size_t m = data.size(), n = data.empty() ? 0 : data[0].size();
  Analysis a;
  for (const Row& values : data) a.ranks.push_back(tri(values, a.tcorr).ranks);
  a.observed = wkendall(a.ranks, n, a.tcorr, ties);
  const std::string dash = " ------------------------------------------------------------\n";
  std::string& out = a.report;
  out += dash + "\n";
  out += std::string(fr ? " Khi-carre de Friedman =" : " Friedman's Chi-square =") +
         f_field(a.observed.chi2, 10, 5) + "   nu =" + i_field(static_cast<int>(n) - 1, 5) + "\n";
  out += std::string(fr ? " W de Kendall          =" : " Kendall's W           =") +
         f_field(a.observed.kendw, 10, 5);
  if (fr)
    out += ties == 2 ? "   sans correction pour ex-aequo\n\n" : "   correction pour ex-aequo\n\n";
  else
    out += ties == 2 ? "   without correction for ties\n\n" : "   with correction for ties\n\n";

  for (std::size_t k = 1; k <= n; ++k) a.perm.push_back(static_cast<std::int32_t>(k));
  for (int draw = 0; draw < 100; ++draw) urand();
  a.global = global_test(a.ranks, nperm, a.observed.s, a.perm);
  out += fr ? " Test global. H0: Independance des juges.\n"
              " Tous les juges sont permutes, et ce de facon independante.\n\n"
            : " Global test. H0: Independence of all judges.\n"
              " All judges are independently permuted.\n\n";
  out += std::string(fr ? " Prob(khi-carre," : " Prob(chi-square,") + i_field(nperm, 6) +
         " perm.) =" + f_field(probability(a.global.count, nperm), 8, 5) + "\n\n";
  out += dash + "\n";

  a.correlations = spear(a.ranks, n);
  for (std::size_t j = 0; j < m; ++j) {
    a.judges.push_back(judge_test(a.ranks, j, nperm, a.observed.s, a.perm));
    const double rbar = a.correlations.rbar[j];
    const double w = (static_cast<double>(static_cast<std::int32_t>(m) - 1) * rbar + 1.0) /
                     static_cast<double>(m);
    a.result.push_back({static_cast<double>(j + 1), rbar, w,
                        probability(a.judges.back().count, nperm), 0.0, 0.0, 0.0});
  }
  out += fr ? "\n Test a posteriori de chaque juge.\n"
              " Resultats presentes en ordre decroissant de Rbar.\n"
              " H0: Independance de ce juge. Seul ce juge est permute.\n\n"
              "                                    Probabilite corrigee\n"
              " Juge    Rbar(j)     W(j)     Prob  Bonferroni      Holm\n\n"
            : "\n A posteriori test for each judge.\n"
              " Results are presented in order of decreasing values of Rbar.\n"
              " H0: Independence of this judge. This judge only is permuted.\n\n"
              "                                    Adjusted probability\n"
              " Judge   Rbar(j)     W(j)     Prob  Bonferroni      Holm\n\n";
  adjustp(a.result);
  bool marked_any = false;
  for (const Row& r : a.result) {
    const auto judge = static_cast<std::int32_t>(r[0]);
    const bool marked = a.correlations.varok[static_cast<std::size_t>(judge - 1)] != 1;
    marked_any = marked_any || marked;
    out += i_field(judge, 4) + "  ";
    for (int c : {1, 2, 3, 4, 6}) out += f_field(r[static_cast<std::size_t>(c)], 10, 5);
    out += marked ? " #\n\n" : "\n\n";
  }
  out += dash;
  if (marked_any)
    out += fr ? " # Ce juge a une variance nulle\n" : " # This judge has a null variance\n";
  return a;
}

}  // namespace reference
