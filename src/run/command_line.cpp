#include "run/command_line.hpp"

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
#include "run/result_files.hpp"
#include "runtime/process.hpp"
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

[[noreturn]] void cannot_read(const Options& o, const std::string& shown_name, int error) {
  refuse(report::file_error(o.lang, report::FileTrouble::CannotRead, shown_name,
                            std::strerror(error)) +
         "\n" + report::try_help_line(o.lang) + "\n");
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
  DataBytes bytes;
  if (const int error = bytes.open(*o.data_file, kMaxFileBytes); error == EFBIG) {
    refuse(report::file_error(o.lang, report::FileTrouble::TooLarge, name,
                              std::to_string(kMaxFileBytes >> 20)) +
           "\n");
  } else if (error != 0) {
    cannot_read(o, name, error);
  }
  TableFile table;
  try {
    table = read_table_file(bytes, o.judges_are, s.mat_view(), kMaxJudges, kMaxObjects);
  } catch (const TableFileError& error) {
    // A read that failed ended the table early: that, not what it looked like, is wrong.
    if (bytes.error() != 0) cannot_read(o, name, bytes.error());
    refuse(report::explain_table_problem(o.lang, name, error.problem(), kMaxJudges, kMaxObjects) +
           "\n");
  }
  if (bytes.error() != 0) cannot_read(o, name, bytes.error());
  if (const auto trouble = check_outputs(o)) refuse(*trouble);
  if (const int error = rt::create_new(rt::kReportUnit, o.report, o.force)) {
    refuse(report::file_error(o.lang, report::FileTrouble::CannotCreate, o.report,
                              std::strerror(error)) +
           "\n");
  }

  if (o.seed) rand_stream() = RandStream(*o.seed);
  for (std::int32_t k = 1; k <= table.objects; ++k) {
    std::copy_n(s.mat_view().column(k), table.judges, s.table_view().column(k));
  }
  // The records the dialogue writes before the analysis, in its order.
  report::write_banner(rt::kReportUnit, o.lang);
  report::write_data_file_line(rt::kReportUnit, o.lang, data_file_line_name(name));
  report::write_blank_line(rt::kReportUnit);
  report::write_permutation_count(o.lang, o.nperm);
  say(o, report::table_read_line(o.lang, name, table));

  const Concordance concordance =
      analyse(s, table.judges, table.objects, o.lang, o.nperm, o.ties, !o.quiet);
  const bool written =
      write_outputs(o, concordance, s.judges.span().first(static_cast<std::size_t>(table.judges)),
                    &table, {name, table.judges_are == JudgesAre::Rows});
  rt::close_unit(rt::kReportUnit);
  say(o, report::report_written_line(o.lang, o.report));
  if (!written) std::exit(kOutputNotWritten);
  rt::stop();
}

}  // namespace rankora
