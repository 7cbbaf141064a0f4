#include "runtime/write.hpp"

#include <sys/types.h>
#include <unistd.h>

#include <cerrno>

#include "runtime/fatal.hpp"
#include "runtime/process.hpp"
#include "runtime/units.hpp"

namespace rankora::rt {
namespace {

constexpr std::size_t kLineLimit = 80;

// Only a failed write to a file is fatal; the standard streams are not checked.
// A record cut short by a full disk or a size limit is taken back, so that the
// report never ends in half a line.
void emit(int unit, std::string_view text) {
  const int fd = unit_fd(unit);
  if (fd < 0) return;
  if (unit == kErrorUnit || unit == kScreenUnit) {
    write_all(fd, text);
    return;
  }
  const off_t start = ::lseek(fd, 0, SEEK_CUR);
  if (write_all(fd, text)) return;
  const int error = errno;
  if (start >= 0 && ::ftruncate(fd, start) == 0) ::lseek(fd, start, SEEK_SET);
  fatal_errno("write", error, unit);
}

}  // namespace

std::string render_list(std::initializer_list<std::string_view> items) {
  std::string out;
  std::string line;
  for (std::string_view item : items) {
    if (!line.empty() && line.size() + item.size() >= kLineLimit) {
      out.append(line).push_back('\n');
      line.clear();
    }
    if (line.empty()) line.push_back(' ');
    line.append(item);
  }
  out.append(line).push_back('\n');
  return out;
}

void write_text(int unit, std::string_view text) { emit(unit, text); }

void write_list(int unit, std::initializer_list<std::string_view> items) {
  note_statement(Direction::Writing, true);
  emit(unit, render_list(items));
}

void write_formatted(int unit, Format format, std::initializer_list<FieldValue> values) {
  note_statement(Direction::Writing, false);
  emit(unit, render_format(format, std::span<const FieldValue>(values.begin(), values.size())));
}

}  // namespace rankora::rt
