// Any bytes as a command line's data file, read whole and a few bytes at a time (the
// first byte picks how many, and the orientation): besides the sanitizers' findings, it
// traps when the two reads give different tables or different refusals, or when a table
// read is larger than the capacity it was read within.
#include <cstdint>
#include <string>
#include <vector>

#include "input/table_file.hpp"

namespace {

using namespace rankora;

constexpr int kMaxJudges = 7;
constexpr int kMaxObjects = 9;

// The table or the refusal, in one text.
std::string outcome(std::string_view text, std::size_t chunk, JudgesAre judges,
                    std::vector<double>& storage) {
  storage.assign(std::size_t{kMaxJudges} * kMaxObjects, -7.0);
  const MatrixView mat(storage.data(), kMaxJudges);
  DataBytes bytes(text, chunk);
  try {
    const TableFile table = read_table_file(bytes, judges, mat, kMaxJudges, kMaxObjects);
    if (table.judges < 2 || table.objects < 2 || table.judges > kMaxJudges ||
        table.objects > kMaxObjects) {
      __builtin_trap();
    }
    std::string out = std::to_string(table.judges) + "x" + std::to_string(table.objects);
    for (std::int32_t j = 1; j <= table.judges; ++j) {
      for (std::int32_t k = 1; k <= table.objects; ++k) out += " " + std::to_string(mat(j, k));
    }
    for (const auto* names : {&table.judge_names, &table.object_names}) {
      for (const std::string& name : *names) out += "|" + name;
    }
    return out;
  } catch (const TableFileError& error) {
    const TableProblem& p = error.problem();
    return "refused " + std::to_string(static_cast<int>(p.kind)) + " " + std::to_string(p.line) +
           " " + std::to_string(p.field) + " " + p.text + " " + std::to_string(p.count) + " " +
           std::to_string(p.expected);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const JudgesAre judges = data[0] & 1 ? JudgesAre::Columns : JudgesAre::Rows;
  const std::size_t chunk = 1 + (data[0] >> 1) % 16;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::vector<double> whole_mat, chunked_mat;
  if (outcome(text, std::string_view::npos, judges, whole_mat) !=
      outcome(text, chunk, judges, chunked_mat)) {
    __builtin_trap();
  }
  return 0;
}
