// The same bytes through our reader (in this process) and through libf2c (the program
// f2c_list_oracle), with the same statements; any difference in the values read or in
// the fatal error report traps.
//
// Where the two are not meant to agree, the input is made to avoid it:
// - bytes from 0x80 up: libf2c looks them up past the end of its 129-entry character
//   class table (what it finds there moves with address-space randomisation), so the
//   high bit of every byte is cleared before either reader sees it;
// - libf2c calls every list-directed statement "direct" in its report; we say
//   "sequential" (normalised before comparing).
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <regex>
#include <span>
#include <string>
#include <vector>

#include "harness.hpp"

extern char** environ;

namespace {

using namespace rankora;

// The libf2c program in its serving mode: one process for the whole session, forking a
// child per script (far cheaper than starting the program for each input).
class Libf2cServer {
 public:
  Libf2cServer() {
    int requests[2], replies[2];
    if (pipe2(requests, O_CLOEXEC) != 0 || pipe2(replies, O_CLOEXEC) != 0) std::abort();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out_fd_, 1);
    posix_spawn_file_actions_adddup2(&actions, err_fd_, 2);
    posix_spawn_file_actions_adddup2(&actions, requests[0], 3);
    posix_spawn_file_actions_adddup2(&actions, replies[1], 4);
    char* argv[] = {const_cast<char*>(RANKORA_F2C_ORACLE), const_cast<char*>("--serve"), nullptr};
    if (posix_spawn(&pid_, RANKORA_F2C_ORACLE, &actions, nullptr, argv, environ) != 0) {
      std::fprintf(stderr, "cannot start %s\n", RANKORA_F2C_ORACLE);
      std::abort();
    }
    posix_spawn_file_actions_destroy(&actions);
    close(requests[0]);
    close(replies[1]);
    requests_ = requests[1];
    replies_ = replies[0];
  }

  fuzz::Outcome run(const std::vector<std::string>& script) {
    std::string request = fuzz::input_path();
    for (const std::string& word : script) request.append(" ").append(word);
    request += '\n';
    if (write(requests_, request.data(), request.size()) != static_cast<ssize_t>(request.size())) {
      std::abort();
    }
    int status = 0;
    std::size_t got = 0;
    while (got < sizeof status) {
      const ssize_t n = read(replies_, reinterpret_cast<char*>(&status) + got, sizeof status - got);
      if (n < 0 && errno == EINTR) continue;  // libFuzzer's timer
      if (n <= 0) std::abort();
      got += static_cast<std::size_t>(n);
    }
    fuzz::Outcome outcome;
    outcome.out = fuzz::read_memory_file(out_fd_);
    outcome.fatal_report = fuzz::read_memory_file(err_fd_);
    outcome.ended_fatally = WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT;
    if (!outcome.ended_fatally && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
      std::fprintf(stderr, "libf2c program ended oddly (status %d)\n%s", status,
                   outcome.fatal_report.c_str());
      std::abort();
    }
    static const std::regex lately("lately (reading|writing) direct formatted external IO");
    outcome.fatal_report = std::regex_replace(outcome.fatal_report, lately,
                                              "lately $1 sequential formatted external IO");
    return outcome;
  }

 private:
  int out_fd_ = fuzz::memory_file("libf2c-out");
  int err_fd_ = fuzz::memory_file("libf2c-err");
  pid_t pid_ = 0;
  int requests_ = -1;
  int replies_ = -1;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const rlimit no_core{0, 0};
  setrlimit(RLIMIT_CORE, &no_core);  // each of libf2c's aborts would write a core file
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::vector<std::uint8_t> input(data + 1, data + size);
  for (std::uint8_t& byte : input) byte &= 0x7f;
  fuzz::set_input(input);
  const std::vector<std::string> script = fuzz::script_for(data[0], fuzz::input_path());

  const fuzz::Outcome ours = fuzz::run_ours(script);
  static Libf2cServer libf2c;
  const fuzz::Outcome theirs = libf2c.run(script);
  if (ours.out != theirs.out || ours.fatal_report != theirs.fatal_report ||
      ours.ended_fatally != theirs.ended_fatally) {
    std::fprintf(stderr, "--- libf2c:\n%s%s--- ours:\n%s%s", theirs.out.c_str(),
                 theirs.fatal_report.c_str(), ours.out.c_str(), ours.fatal_report.c_str());
    __builtin_trap();
  }
  return 0;
}
