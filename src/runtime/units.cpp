#include "runtime/units.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "runtime/fatal.hpp"
#include "runtime/unit_table.hpp"

namespace rankora::rt {
namespace detail {

Unit& unit_at(int unit) {
  static std::array<Unit, kUnitCount> units;
  return units.at(static_cast<std::size_t>(unit));
}

}  // namespace detail

using detail::unit_at;

namespace {

std::string_view trim_trailing_blanks(std::string_view name) {
  std::size_t end = name.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : name.substr(0, end + 1);
}

void attach(int unit, int fd) {
  detail::Unit& u = unit_at(unit);
  u.fd.store(fd);
  u.preconnected = false;
  u.input.attach(fd);
}

void record_name(int unit, std::string_view name) {
  detail::Unit& u = unit_at(unit);
  u.named = true;
  u.name.assign(name);
}

std::string explained(const OpenContext* context, int error) {
  return context != nullptr ? context->explain(error) : std::string();
}

}  // namespace

void connect_standard_units() {
  for (int unit : {kErrorUnit, kKeyboardUnit, kScreenUnit}) {
    detail::Unit& u = unit_at(unit);
    u.preconnected = true;
    u.named = false;
  }
  unit_at(kErrorUnit).fd.store(STDERR_FILENO);
  unit_at(kScreenUnit).fd.store(STDOUT_FILENO);
  unit_at(kKeyboardUnit).fd.store(STDIN_FILENO);
  unit_at(kKeyboardUnit).input.attach(STDIN_FILENO);
}

void open_new(int unit, std::string_view name, const OpenContext* context) {
  name = trim_trailing_blanks(name);
  record_name(unit, name);
  if (name.empty()) fatal("open", "null file name", unit, explained(context, 0));
  const std::string path(name);
  // O_EXCL also refuses a symbolic link, even a dangling one: we never write through one.
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int error = errno;
    if (error == EEXIST) fatal("open", "'new' file exists", unit, explained(context, error));
    fatal_errno("open", error, unit, explained(context, error));
  }
  attach(unit, fd);
}

int create_new(int unit, std::string_view name, bool replace) {
  const std::string path(name);
  if (replace && ::unlink(path.c_str()) != 0 && errno != ENOENT) return errno;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  record_name(unit, name);
  attach(unit, fd);
  return 0;
}

void open_old(int unit, std::string_view name, const OpenContext* context) {
  name = trim_trailing_blanks(name);
  // An empty name is still recorded: the report then says "named " and nothing more.
  record_name(unit, name);
  if (name.empty()) fatal("open", "null file name", unit, explained(context, 0));
  const std::string path(name);
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    fatal_errno("open", error, unit, explained(context, error));
  }
  // A directory opens for reading but every read of it fails: say so at the open.
  struct stat status {};
  if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
    ::close(fd);
    fatal_errno("open", EISDIR, unit, explained(context, EISDIR));
  }
  attach(unit, fd);
}

void close_unit(int unit) {
  detail::Unit& u = unit_at(unit);
  int fd = u.fd.exchange(-1);
  if (fd >= 0 && !u.preconnected) ::close(fd);
  u.input.detach();
}

void close_all_units() noexcept {
  for (int unit = 0; unit < kUnitCount; ++unit) {
    detail::Unit& u = unit_at(unit);
    if (u.preconnected) continue;
    int fd = u.fd.exchange(-1);
    if (fd >= 0) ::close(fd);
  }
}

const std::string* unit_name(int unit) {
  const detail::Unit& u = unit_at(unit);
  return u.named ? &u.name : nullptr;
}

int unit_fd(int unit) { return unit_at(unit).fd.load(); }

std::int64_t first_text_line(int unit) {
  InputStream& in = unit_at(unit).input;
  for (int c = in.get(); c != kEof; c = in.get()) {
    // A carriage return is a blank to the reader.
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return in.line_at(in.offset() - 1);
  }
  return 0;
}

std::int64_t line_of(int unit, std::int64_t offset) { return unit_at(unit).input.line_at(offset); }

void skip_prefix(int unit, std::string_view prefix) { unit_at(unit).input.skip_prefix(prefix); }

}  // namespace rankora::rt
