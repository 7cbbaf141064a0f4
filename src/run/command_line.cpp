#include "run/command_line.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "analysis/random.hpp"
#include "input/table_file.hpp"
#include "report/command_line.hpp"
#include "report/records.hpp"
#include "run/analyse.hpp"
#include "run/outputs.hpp"
#include "runtime/process.hpp"
#include "runtime/progress.hpp"
#include "runtime/units.hpp"
#include "runtime/write.hpp"

namespace rankora {
namespace {

constexpr std::size_t kNameLength = 79;  // the dialogue's data-file line pads to this
// A table at the capacity with 40-digit values and long names is a few hundred MB: a
// file past this is no table.
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 30;

[[noreturn]] void refuse(const std::string& message) {
  rt::write_text(rt::kErrorUnit, message);
  std::exit(2);
}

// The whole file, or the whole standard input for "-".
std::string load(const Options& o, const std::string& shown_name) {
  const std::string& path = *o.data_file;
  const int fd = path == "-" ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  const auto cannot_read = [&](int error) {
    refuse(report::file_error(o.lang, report::FileTrouble::CannotRead, shown_name,
                              std::strerror(error)) +
           "\n" + report::try_help_line(o.lang) + "\n");
  };
  if (fd < 0) cannot_read(errno);
  struct stat status {};
  if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) cannot_read(EISDIR);
  std::string bytes;
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  if (S_ISREG(status.st_mode)) bytes.reserve(static_cast<std::size_t>(status.st_size) + 1);
  for (;;) {
    const std::size_t used = bytes.size();
    bytes.resize(used + kChunk);
    const ssize_t n = ::read(fd, bytes.data() + used, kChunk);
    if (n < 0 && errno == EINTR) {
      bytes.resize(used);
      continue;
    }
    if (n < 0) cannot_read(errno);
    bytes.resize(used + static_cast<std::size_t>(n));
    if (n == 0) break;
    if (bytes.size() > kMaxFileBytes) {
      refuse(report::file_error(o.lang, report::FileTrouble::TooLarge, shown_name,
                                std::to_string(bytes.size() >> 20)) +
             "\n");
    }
  }
  if (fd != STDIN_FILENO) ::close(fd);
  return bytes;
}

void say(const Options& o, const std::string& text) {
  if (!o.quiet) rt::write_text(rt::kScreenUnit, text + "\n");
}

// The dialogue's name line, for a name up to its 79 characters; a longer one, as a
// script gives a path, whole rather than cut.
std::string data_file_line_name(const std::string& name) {
  std::string padded = name;
  if (padded.size() < kNameLength) padded.resize(kNameLength, ' ');
  return padded;
}

}  // namespace

void run_without_questions(const Options& o, const Storage& s) {
  const std::string name =
      *o.data_file == "-" ? std::string(report::standard_input_name(o.lang)) : *o.data_file;
  const std::string bytes = load(o, name);
  TableFile table;
  try {
    table = read_table_file(bytes, o.judges_are, kMaxJudges, kMaxObjects);
  } catch (const TableFileError& error) {
    refuse(report::explain_table_problem(o.lang, name, error.problem(), kMaxJudges, kMaxObjects) +
           "\n");
  }
  if (const auto trouble = check_outputs(o)) refuse(*trouble);
  if (const int error = rt::create_new(rt::kReportUnit, o.report, o.force)) {
    refuse(report::file_error(o.lang, report::FileTrouble::CannotCreate, o.report,
                              std::strerror(error)) +
           "\n");
  }

  if (o.seed) rand_stream() = RandStream(*o.seed);
  table.copy_to(s.mat_view());
  table.copy_to(s.table_view());
  // The records the dialogue writes before the analysis, in its order.
  report::write_banner(rt::kReportUnit, o.lang);
  report::write_data_file_line(rt::kReportUnit, o.lang, data_file_line_name(name));
  report::write_blank_line(rt::kReportUnit);
  report::write_permutation_count(o.lang, o.nperm);
  say(o, report::table_read_line(o.lang, name, table));

  rt::allow_progress(!o.quiet);
  analyse(s, table.judges, table.objects, o.lang, o.nperm, o.ties);
  write_outputs(o);
  rt::close_unit(rt::kReportUnit);
  say(o, report::report_written_line(o.lang, o.report));
  rt::stop();
}

}  // namespace rankora
