// What the fuzz targets share: the statement shapes the program really uses, chosen by
// an input's first byte, and a run of our reader over the rest of the input in this
// process, a fatal error report coming back as a value instead of an abort.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace rankora::fuzz {

struct Outcome {
  std::string out;           // one line per statement that ended, as the twin prints it
  std::string fatal_report;  // the four-line report, or empty
  bool ended_fatally = false;
};

enum class Shape { OneInteger, TwoIntegers, Text79, Dialogue, Doubles };

Shape shape_for(std::uint8_t selector);

// The script words for the shape `selector` chooses; the data shape opens `data_path`.
std::vector<std::string> script_for(std::uint8_t selector, const std::string& data_path);

// The input file: a file in memory (a file on disk would cost far more than a run),
// named by a path that this process and its children can open.
const std::string& input_path();
void set_input(std::span<const std::uint8_t> bytes);

// A file in memory for a child's output; read back with read_memory_file.
int memory_file(const char* name);
std::string read_memory_file(int fd);

// Runs `script` with the input file as the keyboard (standard input).
Outcome run_ours(const std::vector<std::string>& script);

}  // namespace rankora::fuzz
