#include "run/result_files.hpp"

#include "report/judges_csv.hpp"
#include "report/notes.hpp"
#include "report/results_json.hpp"
#include "report/run_picture.hpp"
#include "runtime/output_file.hpp"
#include "runtime/units.hpp"
#include "runtime/write.hpp"

namespace rankora {

bool write_result_files(const ResultFiles& files, const report::RunResults& results,
                        std::string_view report_name) {
  using Writer = std::string (*)(const report::RunResults&);
  const std::pair<const std::string&, Writer> outputs[] = {{files.csv, report::judges_csv},
                                                           {files.json, report::results_json},
                                                           {files.svg, report::run_picture}};
  bool all = true;
  for (const auto& [name, writer] : outputs) {
    if (name.empty()) continue;
    if (const auto failure = rt::write_output_file(name, writer(results), files.force)) {
      rt::write_text(
          rt::kErrorUnit,
          report::explain_output_failure(results.run.lang, name, report_name, *failure) + "\n");
      all = false;
    }
  }
  return all;
}

}  // namespace rankora
