#include "runtime/fatal.hpp"

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/output_file.hpp"
#include "runtime/process.hpp"
#include "runtime/progress.hpp"
#include "runtime/units.hpp"

namespace rankora::rt {
namespace {

struct LastStatement {
  Direction direction = Direction::Writing;
  bool list_directed = false;
};

LastStatement& last_statement() {
  static LastStatement last;
  return last;
}

#ifdef RANKORA_FATAL_HOOK
FatalHook fatal_hook = nullptr;
#endif

}  // namespace

#ifdef RANKORA_FATAL_HOOK
void set_fatal_hook(FatalHook hook) noexcept { fatal_hook = hook; }
#endif

void note_statement(Direction direction, bool list_directed) noexcept {
  last_statement() = {direction, list_directed};
}

void fatal(std::string_view operation, std::string_view message, int unit, std::string_view note) {
  const LastStatement& last = last_statement();
  std::string report;
  report.append(operation).append(": ").append(message).append("\n");
  report.append("apparent state: unit ").append(std::to_string(unit)).append(" ");
  if (const std::string* name = unit_name(unit)) {
    report.append("named ").append(*name).append("\n");
  } else {
    report.append("(unnamed)\n");
  }
  if (last.list_directed) report.append("last format: list io\n");
  report.append("lately ")
      .append(last.direction == Direction::Reading ? "reading" : "writing")
      .append(" sequential formatted external IO\n");
  if (!note.empty()) report.append(note).append("\n");
#ifdef RANKORA_FATAL_HOOK
  if (fatal_hook) fatal_hook(report);
#endif
  erase_progress_from_handler();
  write_all(STDERR_FILENO, report);
  remove_pending_output();
  close_all_units();
  std::signal(SIGABRT, SIG_DFL);
  std::abort();
}

void fatal_errno(std::string_view operation, int error, int unit, std::string_view note) {
  fatal(operation, std::strerror(error), unit, note);
}

}  // namespace rankora::rt
