#include "run/outputs.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "report/command_line.hpp"
#include "report/notes.hpp"
#include "run/result_files.hpp"
#include "runtime/units.hpp"
#include "runtime/write.hpp"

namespace rankora {
namespace {

using report::FileTrouble;

std::string error_line(const Options& o, FileTrouble trouble, const std::string& file,
                       std::string_view b = {}, std::string_view c = {}) {
  return report::file_error(o.lang, trouble, file, b, c) + "\n";
}

std::string folder_of(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool same_file(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

std::optional<std::string> check_outputs(const Options& o) {
  const std::vector<OutputFile> outputs = o.outputs();
  struct stat data {};
  const bool data_on_disk =
      o.data_file && *o.data_file != "-" && ::stat(o.data_file->c_str(), &data) == 0;
  for (std::size_t k = 0; k < outputs.size(); ++k) {
    const OutputFile& out = outputs[k];
    struct stat here {};
    const bool exists = ::lstat(out.path.c_str(), &here) == 0;
    const int lstat_error = errno;
    for (std::size_t earlier = 0; earlier < k; ++earlier) {
      struct stat there {};
      if (outputs[earlier].path == out.path ||
          (exists && ::lstat(outputs[earlier].path.c_str(), &there) == 0 &&
           same_file(here, there))) {
        return error_line(o, FileTrouble::SameOutput, out.path, outputs[earlier].option,
                          out.option);
      }
    }
    if (o.data_file &&
        (*o.data_file == out.path || (exists && data_on_disk && same_file(here, data)))) {
      return error_line(o, FileTrouble::OutputIsData, out.path, out.option);
    }
    if (exists && !o.force) return error_line(o, FileTrouble::Exists, out.path);
    if (exists && S_ISDIR(here.st_mode)) {
      return error_line(o, FileTrouble::CannotCreate, out.path, std::strerror(EISDIR));
    }
    if (!exists && lstat_error != ENOENT) {
      return error_line(o, FileTrouble::CannotCreate, out.path, std::strerror(lstat_error));
    }
    // Creating, or replacing, a name is writing into its folder.
    if (::access(folder_of(out.path).c_str(), W_OK | X_OK) != 0) {
      return error_line(o, FileTrouble::CannotCreate, out.path, std::strerror(errno));
    }
  }
  return {};
}

bool write_outputs(const Options& o, const Concordance& concordance,
                   std::span<const JudgeResult> judges, const TableFile* table,
                   const TableAnswers& answers) {
  if (o.csv.empty() && o.json.empty() && o.svg.empty()) return true;
  report::RunDescription run;
  run.version = rankora_version();
  run.data_file = answers.file;
  run.judges_are_rows = answers.judges_are_rows;
  if (o.seed) run.seed = *o.seed;
  run.lang = o.lang;
  if (table) {
    run.judge_names = table->judge_names;
    run.object_names = table->object_names;
  }
  const report::RunResults results(run, concordance, judges, report::warnings_given());
  // The dialogue's report always has this name.
  const std::string_view report_name =
      o.data_file ? std::string_view(o.report) : std::string_view("Rankora.out");
  return write_result_files({o.csv, o.json, o.svg, o.force}, results, report_name);
}

}  // namespace rankora
