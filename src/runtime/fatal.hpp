// Fatal I/O error reports, and the state of the last I/O statement that they describe.
#pragma once

#include <string>
#include <string_view>

namespace rankora::rt {

enum class Direction { Reading, Writing };

// Every data transfer statement records itself here before it starts.
void note_statement(Direction direction, bool list_directed) noexcept;

// Writes the four-line report on the error stream, then `note` (a line of our own, when
// there is one), closes every unit and aborts.
[[noreturn]] void fatal(std::string_view operation, std::string_view message, int unit,
                        std::string_view note = {});

// As fatal(), with the system's text for errno value `error` as the message.
[[noreturn]] void fatal_errno(std::string_view operation, int error, int unit,
                              std::string_view note = {});

#ifdef RANKORA_FATAL_HOOK
// Fuzz builds only (never the program): the hook receives the finished report in place
// of the write, the closing of the units and the abort, so that one process can run
// millions of inputs. It must not return; a harness throws from it.
using FatalHook = void (*)(const std::string& report);
void set_fatal_hook(FatalHook hook) noexcept;
#endif

}  // namespace rankora::rt
