// Any bytes as keyboard answers or data file, read through statements the program really
// makes (the first byte picks them), with our reader in this process. Besides the
// sanitizers' findings it traps on a fatal report that is not one of the reader's; built
// with RANKORA_F2C_ORACLE (a program of libf2c_reader.c), on any difference from libf2c.
#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "reader/script.hpp"
#include "runtime/fatal.hpp"

extern char** environ;

namespace {

using namespace rankora;

struct Outcome {
  std::string out, report;
  bool fatal = false;
  bool operator==(const Outcome&) const = default;
};

struct FatalReport {
  std::string text;
};

// A file in memory, named by a path that this process and its children can open.
int memory_file(const char* name) {
  const int fd = memfd_create(name, 0);
  if (fd < 0) std::abort();
  return fd;
}

std::string take(int fd) {
  std::string text(static_cast<std::size_t>(lseek(fd, 0, SEEK_END)), '\0');
  if (pread(fd, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size()) ||
      ftruncate(fd, 0) != 0 || lseek(fd, 0, SEEK_SET) != 0) {
    std::abort();
  }
  return text;
}

const int input_fd = memory_file("input");
const std::string input_path = "/proc/self/fd/" + std::to_string(input_fd);

std::vector<std::string> script_for(std::uint8_t selector) {
  constexpr int kShapes = 5;
  switch (selector % kShapes) {
    case 0:
      return std::vector<std::string>(8, "i1");
    case 1:
      return std::vector<std::string>(8, "i2");
    case 2:
      return std::vector<std::string>(8, "c79");
    case 3:
      return {"i1", "i2", "i1", "c79", "i1", "i1"};
  }
  std::vector<std::string> script(8, "d" + std::to_string(1 + selector / kShapes % 64));
  script.insert(script.begin(), "F" + input_path);
  return script;
}

Outcome run_ours(const std::vector<std::string>& script) {
  const int fd = open(input_path.c_str(), O_RDONLY);
  if (fd < 0 || dup2(fd, STDIN_FILENO) < 0) std::abort();
  close(fd);
  rt::connect_standard_units();  // forgets what the last input left buffered
  tables::Script statements;
  Outcome outcome;
  try {
    for (const std::string& word : script) statements.run(word, outcome.out);
  } catch (const FatalReport& report) {
    outcome = {outcome.out, report.text, true};
  }
  rt::close_unit(rt::kDataUnit);
  return outcome;
}

void check_report(const std::string& report) {
  static const std::regex form(
      "(list in|read start): end of file\n|"
      "(invalid number|bad repetition count|exponent field): incomprehensible list input\n|"
      "invalid integer: read unexpected character\n");
  static const std::string rest = "last format: list io\nlately reading sequential formatted external IO\n";
  const auto state = report.find("apparent state: unit ");
  const std::string unit = state == std::string::npos ? "" : report.substr(state + 21);
  if (!std::regex_match(report.substr(0, state), form) ||
      (unit != "5 (unnamed)\n" + rest && unit != "10 named " + input_path + "\n" + rest)) {
    std::fprintf(stderr, "malformed fatal report:\n%s", report.c_str());
    __builtin_trap();
  }
}

#ifdef RANKORA_F2C_ORACLE
Outcome run_libf2c(const std::vector<std::string>& script) {
  static const int out = memory_file("out"), err = memory_file("err");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, input_path.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out, 1);
  posix_spawn_file_actions_adddup2(&actions, err, 2);
  std::vector<char*> argv{const_cast<char*>(RANKORA_F2C_ORACLE)};
  for (const std::string& word : script) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  int status = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) std::abort();  // EINTR: libFuzzer's timer
  }
  // libf2c calls every list-directed statement direct; ours are sequential.
  static const std::regex direct(" direct formatted ");
  return {take(out), std::regex_replace(take(err), direct, " sequential formatted "),
          WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT};
}
#endif

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  rt::set_fatal_hook([](const std::string& report) { throw FatalReport{report}; });
  const rlimit no_core{0, 0};
  setrlimit(RLIMIT_CORE, &no_core);  // each of libf2c's aborts would write a core file
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
#ifdef RANKORA_F2C_ORACLE
  // libf2c classifies bytes from 0x80 up by reading past the end of its table.
  for (char& byte : input) byte = static_cast<char>(byte & 0x7f);
#endif
  if (ftruncate(input_fd, 0) != 0 || pwrite(input_fd, input.data(), input.size(), 0) < 0) {
    std::abort();
  }
  const std::vector<std::string> script = script_for(data[0]);
  const Outcome ours = run_ours(script);
  if (ours.fatal) check_report(ours.report);
#ifdef RANKORA_F2C_ORACLE
  const Outcome theirs = run_libf2c(script);
  if (!(ours == theirs)) {
    std::fprintf(stderr, "--- libf2c:\n%s%s--- ours:\n%s%s", theirs.out.c_str(),
                 theirs.report.c_str(), ours.out.c_str(), ours.report.c_str());
    __builtin_trap();
  }
#endif
  return 0;
}
