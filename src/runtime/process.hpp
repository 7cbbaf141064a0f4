// Start-up, stops and signals.
#pragma once

#include <string_view>

namespace rankora::rt {

// Connects the standard units, installs the signal handlers and the exit routine.
void start();

// Ends the run with exit status 0.
[[noreturn]] void stop();
// Writes "STOP <code> statement executed", then `note` (a line of our own, when there is
// one), and ends the run with exit status `code`: a run stopped for a cause is no success
// to a script.
[[noreturn]] void stop(int code, std::string_view note = {});

// Writes all of `text` to `fd`, retrying after interruptions; false on failure
// (errno then tells why).
bool write_all(int fd, std::string_view text) noexcept;

}  // namespace rankora::rt
