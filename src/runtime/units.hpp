// The unit table: numbered I/O units as the dialogue and the report address them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rankora::rt {

inline constexpr int kErrorUnit = 0;
inline constexpr int kKeyboardUnit = 5;
inline constexpr int kScreenUnit = 6;
inline constexpr int kReportUnit = 7;
inline constexpr int kDataUnit = 10;
inline constexpr int kUnitCount = 11;

// Connects units 0, 5 and 6 to the standard streams. Called once at start-up.
void connect_standard_units();

// Says, for the user, why an open failed and what to do: one line, written after the
// fatal error report. Lent to an open by whoever knows what the file is for.
class OpenContext {
 public:
  // `error` is the system's error number, or 0 when the name was empty.
  virtual std::string explain(int error) const = 0;

 protected:
  ~OpenContext() = default;
};

// Creates `name` for writing; anything already there (a link included) is an error.
void open_new(int unit, std::string_view name, const OpenContext* context = nullptr);

// As open_new, but a failure is the caller's to report: returns 0, or errno. With
// `replace`, whatever has the name (a link itself, never what it points to) is removed
// first.
int create_new(int unit, std::string_view name, bool replace);

// Opens an existing file for reading. Trailing blanks of `name` are not part of it.
void open_old(int unit, std::string_view name, const OpenContext* context = nullptr);

// Closes the unit and keeps its file.
void close_unit(int unit);

// The exit routine: closes every open unit, keeping the files. Safe in a signal handler.
void close_all_units() noexcept;

// Name shown in the fatal error report, or nullptr for an unnamed (standard) unit.
const std::string* unit_name(int unit);

int unit_fd(int unit);

// Reads the rest of the unit's input: the line where something other than blanks first
// stands, or 0 when nothing does.
std::int64_t first_text_line(int unit);

// The 1-based line of the unit's input where the byte at `offset` stands.
std::int64_t line_of(int unit, std::int64_t offset);

// Consumes `prefix` when the unit's input starts with it.
void skip_prefix(int unit, std::string_view prefix);

}  // namespace rankora::rt
