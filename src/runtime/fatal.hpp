// Fatal I/O error reports, and the state of the last I/O statement that they describe.
#pragma once

#include <string_view>

namespace rankora::rt {

enum class Direction { Reading, Writing };

// Every data transfer statement records itself here before it starts.
void note_statement(Direction direction, bool list_directed) noexcept;

// Writes the four-line report on the error stream, closes every unit and aborts.
[[noreturn]] void fatal(std::string_view operation, std::string_view message, int unit);

// As fatal(), with the system's text for errno value `error` as the message.
[[noreturn]] void fatal_errno(std::string_view operation, int error, int unit);

// "end of file" as the message.
[[noreturn]] void fatal_end_of_file(std::string_view operation, int unit);

}  // namespace rankora::rt
