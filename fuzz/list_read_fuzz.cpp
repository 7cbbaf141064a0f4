// Any bytes as keyboard answers or data file, read with our reader in this process through
// statements the program really makes (the first byte picks them). Besides the sanitizers'
// findings it traps on a fatal report that is not about a read and, built with
// RANKORA_F2C_ORACLE (a program of libf2c_reader.c), on any difference from libf2c.
#include <sys/mman.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "reader/script.hpp"
#include "runtime/fatal.hpp"

namespace {

using namespace rankora;

struct FatalReport {
  std::string text;
};

// A file in memory, that this process and its children open by this path.
std::string memory_file(const char* name) {
  const int fd = memfd_create(name, 0);
  if (fd < 0) std::abort();
  return "/proc/self/fd/" + std::to_string(fd);
}

const std::string input_path = memory_file("input");
[[maybe_unused]] const bool hooked =
    (rt::set_fatal_hook([](const std::string& r) { throw FatalReport{r}; }), true);

// Answers of one or two integers a line, file names, the dialogue's order, and the data
// file's records of 1 to 64 doubles.
std::vector<std::string> script_for(std::uint8_t selector) {
  static const std::vector<std::string> kShapes[] = {std::vector<std::string>(8, "i1"),
                                                     std::vector<std::string>(8, "i2"),
                                                     std::vector<std::string>(8, "c79"),
                                                     {"i1", "i2", "i1", "c79", "i1", "i1"}};
  if (selector % 5 < 4) return kShapes[selector % 5];
  std::vector<std::string> script(8, "d" + std::to_string(1 + selector / 5 % 64));
  script.insert(script.begin(), "F" + input_path);
  return script;
}

// What the statements print, then the fatal report if one ended the run.
std::string run_ours(const std::vector<std::string>& script) {
  if (!std::freopen(input_path.c_str(), "r", stdin)) std::abort();
  rt::connect_standard_units();  // forgets what the last input left buffered
  tables::Script statements;
  std::string out;
  try {
    for (const std::string& word : script) statements.run(word, out);
  } catch (const FatalReport& report) {
    // After a read statement, whatever went wrong.
    const char* kTail = "\nlast format: list io\nlately reading sequential formatted external IO\n";
    if (!report.text.ends_with(kTail)) __builtin_trap();
    out += "fatal:\n" + report.text;
  }
  rt::close_unit(rt::kDataUnit);
  return out;
}

#ifdef RANKORA_F2C_ORACLE
std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string run_libf2c(const std::vector<std::string>& script) {
  static const std::string out = memory_file("out"), err = memory_file("err");
  std::string command = "ulimit -c 0 && exec " RANKORA_F2C_ORACLE;  // no core file for an abort
  for (const std::string& word : script) command += " " + word;
  const int status = std::system((command + " <" + input_path + " >" + out + " 2>" + err).c_str());
  std::string report = slurp(err);
  // libf2c calls every list-directed statement direct; ours are sequential.
  if (const auto at = report.find(" direct "); at != report.npos)
    report.replace(at, 8, " sequential ");
  const bool fatal = WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT;
  return slurp(out) + (fatal ? "fatal:\n" : "") + report;
}
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
#ifdef RANKORA_F2C_ORACLE
  // libf2c classifies bytes from 0x80 up by what lies past the end of its table.
  for (char& byte : input) byte = static_cast<char>(byte & 0x7f);
#endif
  std::ofstream(input_path, std::ios::binary | std::ios::trunc) << input;
  const std::vector<std::string> script = script_for(data[0]);
  const std::string ours = run_ours(script);
#ifdef RANKORA_F2C_ORACLE
  if (const std::string theirs = run_libf2c(script); ours != theirs) {
    std::fprintf(stderr, "--- libf2c:\n%s--- ours:\n%s", theirs.c_str(), ours.c_str());
    __builtin_trap();
  }
#endif
  return 0;
}
