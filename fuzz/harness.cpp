#include "harness.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "list_read_script.hpp"
#include "runtime/fatal.hpp"
#include "runtime/units.hpp"

namespace rankora::fuzz {
namespace {

constexpr int kStatements = 8;
constexpr int kShapes = 5;

struct FatalReport {
  std::string text;
};

[[noreturn]] void throw_report(const std::string& report) { throw FatalReport{report}; }

void use_as_keyboard(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0 || ::dup2(fd, STDIN_FILENO) < 0) std::abort();
  ::close(fd);
  rt::connect_standard_units();  // forgets what the last input left buffered
}

}  // namespace

Shape shape_for(std::uint8_t selector) { return static_cast<Shape>(selector % kShapes); }

std::vector<std::string> script_for(std::uint8_t selector, const std::string& data_path) {
  switch (shape_for(selector)) {
    case Shape::OneInteger:
      return std::vector<std::string>(kStatements, "i1");
    case Shape::TwoIntegers:
      return std::vector<std::string>(kStatements, "i2");
    case Shape::Text79:
      return std::vector<std::string>(kStatements, "c79");
    case Shape::Dialogue:
      return {"i1", "i2", "i1", "c79", "i1", "i1"};
    case Shape::Doubles:
      break;
  }
  const int per_record = 1 + (selector / kShapes) % oracle::kMaxItems;
  std::vector<std::string> script(kStatements, "d" + std::to_string(per_record));
  script.insert(script.begin(), "F" + data_path);
  return script;
}

int memory_file(const char* name) {
  const int fd = ::memfd_create(name, 0);  // children inherit it
  // Kept clear of the low descriptors a child is given (0 to 4 for the libf2c server),
  // so that its path names the same file in every process.
  constexpr int kFirstFree = 10;
  const int high = fd < 0 ? -1 : ::fcntl(fd, F_DUPFD, kFirstFree);
  if (high < 0) std::abort();
  ::close(fd);
  return high;
}

std::string read_memory_file(int fd) {
  std::string text;
  char buffer[4096];
  for (off_t offset = 0;;) {
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    offset += n;
  }
  // Emptied for the next child, whose writes start where this one's ended otherwise.
  if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0) std::abort();
  return text;
}

namespace {

int input_fd() {
  static const int fd = memory_file("input");
  return fd;
}

}  // namespace

const std::string& input_path() {
  static const std::string path = "/proc/self/fd/" + std::to_string(input_fd());
  return path;
}

void set_input(std::span<const std::uint8_t> bytes) {
  if (::ftruncate(input_fd(), 0) != 0) std::abort();
  const auto written = ::pwrite(input_fd(), bytes.data(), bytes.size(), 0);
  if (written != static_cast<ssize_t>(bytes.size())) std::abort();
}

Outcome run_ours(const std::vector<std::string>& script) {
  static const bool hooked = (rt::set_fatal_hook(&throw_report), true);
  (void)hooked;
  use_as_keyboard(input_path());
  oracle::ScriptRunner runner;
  Outcome outcome;
  try {
    for (const std::string& word : script) runner.run(word, outcome.out);
  } catch (const FatalReport& report) {
    outcome.fatal_report = report.text;
    outcome.ended_fatally = true;
  }
  rt::close_unit(rt::kDataUnit);
  return outcome;
}

}  // namespace rankora::fuzz
