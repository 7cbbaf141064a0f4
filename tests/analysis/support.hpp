// Shared by the analysis tests: random tables, full-capacity storage, a report file
// on unit 7, and exact comparison of doubles.
#pragma once

#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "analysis/random.hpp"
#include "reference.hpp"
#include "run/storage.hpp"
#include "runtime/units.hpp"

namespace analysis_test {

using reference::Row;
using reference::Table;

// The same double, bit for bit (a NaN's sign included, which the report shows).
inline bool same(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// Both generators back at the start of the unseeded sequence.
inline void reset_generators() {
  std::srand(1);
  rankora::rand_stream() = rankora::RandStream();
}

enum class Data { Distinct, FewLevels, Agreeing, WithConstantJudge, SignedZeros };

inline const char* name_of(Data d) {
  switch (d) {
    case Data::Distinct:
      return "Distinct";
    case Data::FewLevels:
      return "FewLevels";
    case Data::Agreeing:
      return "Agreeing";
    case Data::WithConstantJudge:
      return "WithConstantJudge";
    case Data::SignedZeros:
      return "SignedZeros";
  }
  return "?";
}

inline Table random_table(std::uint32_t seed, int m, int n, Data kind) {
  std::mt19937 g(seed);
  std::uniform_real_distribution<double> real(-50.0, 50.0);
  std::uniform_int_distribution<int> level(0, 3);
  Table t(static_cast<std::size_t>(m), Row(static_cast<std::size_t>(n)));
  for (int j = 0; j < m; ++j) {
    for (int k = 0; k < n; ++k) {
      double& x = t[static_cast<std::size_t>(j)][static_cast<std::size_t>(k)];
      switch (kind) {
        case Data::Distinct:
          x = real(g);
          break;
        case Data::FewLevels:
          x = level(g);
          break;
        case Data::Agreeing:
          x = std::floor((k + 3.0 * level(g)) / 2.0);
          break;  // ties too
        case Data::WithConstantJudge:
          x = j == m / 2 ? 7.0 : level(g) + k % 3;
          break;
        case Data::SignedZeros:
          x = level(g) == 0 ? (k % 2 ? -0.0 : 0.0) : level(g);
          break;
      }
    }
  }
  return t;
}

// The program's storage, at full capacity, holding `data` in both mat and table.
struct Storage {
  std::unique_ptr<rankora::Storage> s = std::make_unique<rankora::Storage>();

  explicit Storage(const Table& data) {
    for (std::size_t j = 0; j < data.size(); ++j) {
      for (std::size_t k = 0; k < data[j].size(); ++k) {
        const int jj = static_cast<int>(j) + 1, kk = static_cast<int>(k) + 1;
        s->mat_view()(jj, kk) = data[j][k];
        s->table_view()(jj, kk) = data[j][k];
      }
    }
  }
  rankora::MatrixView mat() const { return s->mat_view(); }
  rankora::MatrixView table() const { return s->table_view(); }
  rankora::MatrixView result() const { return s->result_view(); }
};

// A fresh report on unit 7 in a directory of its own; text() closes it and reads it back.
class ReportFile {
 public:
  ReportFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "analysis-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
    rankora::rt::open_new(rankora::rt::kReportUnit, (dir_ / "Rankora.out").string());
  }
  ~ReportFile() {
    rankora::rt::close_unit(rankora::rt::kReportUnit);
    std::filesystem::remove_all(dir_);
  }
  std::string text() {
    rankora::rt::close_unit(rankora::rt::kReportUnit);
    std::ifstream in(dir_ / "Rankora.out", std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
  }

 private:
  std::filesystem::path dir_;
};

}  // namespace analysis_test
