// Reading the capacity data file (1000 records of 2000 values): through the dialogue's
// list-directed reader, one read per record as its data table reader does, and through
// the command line's table file reader, which finds the size, separator and names itself.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "capacity.hpp"
#include "input/table_file.hpp"
#include "panel.hpp"
#include "per_item.hpp"
#include "runtime/list_read.hpp"
#include "runtime/units.hpp"

namespace rankora::bench {
namespace {

// The data file, written once per process and removed at its end.
class TypicalDataFile {
 public:
  TypicalDataFile()
      : path_(std::filesystem::temp_directory_path() /
              ("rankora-bench-" + std::to_string(::getpid()) + ".txt")) {
    std::ofstream out(path_, std::ios::binary);
    expected_ = write_typical_values(out, kCapacityJudges, kCapacityObjects, 20'000'000);
  }
  ~TypicalDataFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  std::string path() const { return path_.string(); }
  // Value v of record r (both from 0), as it must be read.
  double expected(int record, int value) const {
    return expected_[static_cast<std::size_t>(record) * kCapacityObjects +
                     static_cast<std::size_t>(value)];
  }

 private:
  std::filesystem::path path_;
  std::vector<double> expected_;
};

const TypicalDataFile& typical_data_file() {
  static const TypicalDataFile file;
  return file;
}

[[gnu::noinline]] void read_table(const std::string& name, MatrixView mat) {
  rt::open_old(rt::kDataUnit, name);
  for (int j = 1; j <= kCapacityJudges; ++j) {
    rt::ListRead record(rt::kDataUnit);
    for (int k = 1; k <= kCapacityObjects; ++k) record.read(mat(j, k));
    record.finish();
  }
  rt::close_unit(rt::kDataUnit);
}

bool read_as_written(const TypicalDataFile& file, MatrixView mat) {
  for (int j = 1; j <= kCapacityJudges; ++j) {
    for (int k = 1; k <= kCapacityObjects; ++k) {
      if (mat(j, k) != file.expected(j - 1, k - 1)) return false;
    }
  }
  return true;
}

void BM_ReadCapacityTable(benchmark::State& state) {
  const TypicalDataFile& file = typical_data_file();
  CapacityMatrix mat;
  for (auto _ : state) {
    read_table(file.path(), mat.view());
    benchmark::ClobberMemory();
  }
  if (!read_as_written(file, mat.view())) state.SkipWithError("a value was read wrongly");
  report_time_per(state, "per_value", double{kCapacityJudges} * kCapacityObjects);
}
BENCHMARK(BM_ReadCapacityTable)->Unit(benchmark::kMillisecond);

// As the command line reads it: the whole file, then the table, then into mat.
[[gnu::noinline]] void read_table_file_into(const std::string& name, MatrixView mat) {
  DataBytes bytes;
  if (bytes.open(name, std::size_t{1} << 30) != 0) throw std::runtime_error(name);
  read_table_file(bytes, JudgesAre::Rows, mat, kCapacityJudges, kCapacityObjects);
}

void BM_ReadCapacityTableFile(benchmark::State& state) {
  const TypicalDataFile& file = typical_data_file();
  CapacityMatrix mat;
  for (auto _ : state) {
    read_table_file_into(file.path(), mat.view());
    benchmark::ClobberMemory();
  }
  if (!read_as_written(file, mat.view())) state.SkipWithError("a value was read wrongly");
  report_time_per(state, "per_value", double{kCapacityJudges} * kCapacityObjects);
}
BENCHMARK(BM_ReadCapacityTableFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rankora::bench
