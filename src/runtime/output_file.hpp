// The extra outputs (CSV, JSON, SVG) reach their names whole or not at all: each is
// written to a temporary file in the same folder and renamed at the end, and a failed or
// interrupted run removes the temporary file.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rankora::rt {

// The system calls an output goes through; tests put failing ones in their place.
struct FileCalls {
  int (*open)(const char* path, int flags, mode_t mode);
  ssize_t (*write)(int fd, const void* data, std::size_t size);
  int (*fsync)(int fd);
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);  // replaces `to`
  // Fails with EEXIST when `to` exists; EINVAL where the file system cannot tell.
  int (*rename_noreplace)(const char* from, const char* to);
  int (*link)(const char* from, const char* to);
  int (*unlink)(const char* path);
};
const FileCalls& system_file_calls();

enum class OutputStep { Create, Write, Sync, Close, Rename };

struct OutputFailure {
  OutputStep step;
  int error;  // errno; EEXIST at Rename: a file of that name appeared meanwhile
};

// Writes `text` to `path`. Without `replace`, a file that exists at `path` when the
// temporary one is renamed is left as it is, and the output fails. The new file's mode
// is that of any new file (0666 less the umask).
std::optional<OutputFailure> write_output_file(const std::string& path, std::string_view text,
                                               bool replace,
                                               const FileCalls& calls = system_file_calls());

// Removes the temporary file being written, if there is one. Async-signal-safe: for the
// signal handlers and every other end of the process.
void remove_pending_output() noexcept;

}  // namespace rankora::rt
