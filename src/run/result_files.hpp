// The extra outputs of a run, written once its report is complete.
#pragma once

#include <string>
#include <string_view>

#include "report/run_results.hpp"

namespace rankora {

// Where each output goes; an empty name is an output not asked for.
struct ResultFiles {
  std::string csv;
  std::string json;
  std::string svg;
  bool force = false;  // replace a file of that name
};

// The exit status of a run whose report is complete but one of its outputs is not.
inline constexpr int kOutputNotWritten = 4;

// Writes every output asked for, each whole or not at all. A failure is told on the error
// stream, in the run's language, and the other outputs are still written. True when all
// were.
bool write_result_files(const ResultFiles& files, const report::RunResults& results,
                        std::string_view report_name);

}  // namespace rankora
