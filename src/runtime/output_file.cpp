#include "runtime/output_file.hpp"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace rankora::rt {
namespace {

int open_file(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t write_file(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int rename_noreplace(const char* from, const char* to) {
  return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

// The temporary file being written, for the signal handlers. Set and cleared only with
// the signals blocked, so that a handler sees a whole name or none.
char pending_path[PATH_MAX + NAME_MAX + 2];
volatile std::sig_atomic_t pending = 0;

// Blocks the signals whose handlers end the process while a temporary file is made,
// registered, renamed or forgotten.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t all;
    sigemptyset(&all);
    for (int s : {SIGINT, SIGTERM, SIGQUIT, SIGHUP, SIGTRAP, SIGABRT, SIGFPE}) sigaddset(&all, s);
    ::pthread_sigmask(SIG_BLOCK, &all, &previous_);
  }
  ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t previous_;
};

void remember(const std::string& path) {
  if (path.size() >= sizeof pending_path) return;
  std::memcpy(pending_path, path.c_str(), path.size() + 1);
  std::atomic_signal_fence(std::memory_order_seq_cst);
  pending = 1;
}

void forget() {
  pending = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
}

std::string candidate(const std::string& path, int attempt) {
  const auto slash = path.rfind('/');
  const std::string folder = slash == path.npos ? "" : path.substr(0, slash + 1);
  const std::string base = slash == path.npos ? path : path.substr(slash + 1);
  const std::string tag = "rankora-" + std::to_string(::getpid()) + '-' + std::to_string(attempt);
  // A name near the longest a folder allows would leave no room for the tag.
  const std::string name =
      base.size() + tag.size() + 2 <= NAME_MAX ? '.' + base + '.' + tag : '.' + tag;
  return folder + name;
}

bool write_whole(int fd, std::string_view text, const FileCalls& calls) {
  while (!text.empty()) {
    const ssize_t n = calls.write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Moves `from` to `to`; without `replace`, only where nothing is at `to` yet.
bool move_into_place(const std::string& from, const std::string& to, bool replace,
                     const FileCalls& calls) {
  if (replace) return calls.rename(from.c_str(), to.c_str()) == 0;
  if (calls.rename_noreplace(from.c_str(), to.c_str()) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system that cannot rename without replacing can still make a second name
  // only where there is none.
  if (calls.link(from.c_str(), to.c_str()) != 0) return false;
  calls.unlink(from.c_str());
  return true;
}

}  // namespace

const FileCalls& system_file_calls() {
  static const FileCalls calls{open_file, write_file,       ::fsync, ::close,
                               ::rename,  rename_noreplace, ::link,  ::unlink};
  return calls;
}

std::optional<OutputFailure> write_output_file(const std::string& path, std::string_view text,
                                               bool replace, const FileCalls& calls) {
  std::string temporary;
  int fd = -1;
  {
    const SignalsHeld held;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
      temporary = candidate(path, attempt);
      fd =
          calls.open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
      if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return OutputFailure{OutputStep::Create, errno};
    remember(temporary);
  }
  const auto fail = [&](OutputStep step, bool still_open) {
    const int error = errno;
    if (still_open) calls.close(fd);
    const SignalsHeld held;
    calls.unlink(temporary.c_str());
    forget();
    return OutputFailure{step, error};
  };
  if (!write_whole(fd, text, calls)) return fail(OutputStep::Write, true);
  // On disk before it takes the name: after a crash the name holds all of it or the old file.
  if (calls.fsync(fd) != 0) return fail(OutputStep::Sync, true);
  if (calls.close(fd) != 0) return fail(OutputStep::Close, false);
  const SignalsHeld held;
  if (!move_into_place(temporary, path, replace, calls)) {
    const int error = errno;
    calls.unlink(temporary.c_str());
    forget();
    return OutputFailure{OutputStep::Rename, error};
  }
  forget();
  return std::nullopt;
}

void remove_pending_output() noexcept {
  if (pending) {
    ::unlink(pending_path);
    pending = 0;
  }
}

}  // namespace rankora::rt
