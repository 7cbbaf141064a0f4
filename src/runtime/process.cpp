#include "runtime/process.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string>

#include "runtime/output_file.hpp"
#include "runtime/progress.hpp"
#include "runtime/units.hpp"

namespace rankora::rt {
namespace {

// Everything a handler does must be async-signal-safe: write, close, unlink, sigaction,
// raise, _exit, abort. A progress line on the terminal is erased first, so the message
// stands alone.
void say(const char* text, std::size_t length) noexcept {
  erase_progress_from_handler();
  write_all(STDERR_FILENO, {text, length});
}

template <std::size_t N>
[[noreturn]] void die_with_status(const char (&message)[N]) noexcept {
  say(message, N - 1);
  remove_pending_output();
  close_all_units();
  ::_exit(1);
}

template <std::size_t N>
[[noreturn]] void die_with_abort(const char (&message)[N]) noexcept {
  say(message, N - 1);
  remove_pending_output();
  close_all_units();
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  ::sigaction(SIGABRT, &action, nullptr);
  std::abort();
}

extern "C" void on_interrupt(int) { die_with_status("Interrupt\n"); }
extern "C" void on_terminate(int) { die_with_status("Killed\n"); }
extern "C" void on_quit(int) { die_with_abort("Quit signal\n"); }
extern "C" void on_trace_trap(int) { die_with_abort("Trace trap\n"); }
extern "C" void on_abort(int) { die_with_abort("IOT Trap\n"); }
extern "C" void on_float_exception(int) { die_with_abort("Floating Exception\n"); }
// A hangup ends the run as it always did, silently, but no half-written output is left.
extern "C" void on_hangup(int signal) {
  remove_pending_output();
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  ::sigaction(signal, &action, nullptr);
  ::raise(signal);
}

using Handler = void (*)(int);

void install(int signal, Handler handler) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  // While one handler runs, no other may start and write its own message.
  for (int blocked : {SIGINT, SIGTERM, SIGQUIT, SIGTRAP, SIGABRT, SIGFPE}) {
    sigaddset(&action.sa_mask, blocked);
  }
  action.sa_flags = SA_RESTART;
  ::sigaction(signal, &action, nullptr);
}

// A background job or a nohup run starts with interrupt and quit ignored; they stay so.
// Asked before installing: installing first and undoing it would leave a moment in
// which an ignored interrupt ends the run.
void install_unless_ignored(int signal, Handler handler) {
  struct sigaction current {};
  ::sigaction(signal, nullptr, &current);
  if (current.sa_handler != SIG_IGN) install(signal, handler);
}

// A standard stream that the caller closed would hand its descriptor to the next file
// opened, and the screen or the error stream would then write into the report.
void keep_standard_descriptors_taken() {
  for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int null_fd = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (null_fd >= 0 && null_fd != fd) {
      ::dup2(null_fd, fd);
      ::close(null_fd);
    }
  }
}

void install_signal_handlers() {
  install(SIGFPE, on_float_exception);
  install(SIGABRT, on_abort);
  install_unless_ignored(SIGQUIT, on_quit);
  install_unless_ignored(SIGINT, on_interrupt);
  install(SIGTERM, on_terminate);
  install(SIGTRAP, on_trace_trap);
  install_unless_ignored(SIGHUP, on_hangup);
  // Past a file-size limit a write then fails and is reported, instead of the
  // process being killed with the report half written.
  install(SIGXFSZ, SIG_IGN);
  // The screen is not checked: a reader of the screen that goes away (rankora | head)
  // must not end the run before its report is complete.
  install(SIGPIPE, SIG_IGN);
}

void exit_routine() {
  remove_pending_output();
  close_all_units();
}

}  // namespace

void start() {
  keep_standard_descriptors_taken();
  connect_standard_units();
  install_signal_handlers();
  std::atexit(exit_routine);
}

void stop() { std::exit(0); }

void stop(int code, std::string_view note) {
  std::string line = "STOP " + std::to_string(code) + " statement executed\n";
  if (!note.empty()) line.append(note).append("\n");
  write_all(STDERR_FILENO, line);
  std::exit(code);
}

bool write_all(int fd, std::string_view text) noexcept {
  while (!text.empty()) {
    ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace rankora::rt
