// The files a run writes: checked before anything is written, and the results as data
// written once the report is complete.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "analysis/results.hpp"
#include "input/lecture.hpp"
#include "input/table_file.hpp"
#include "run/options.hpp"

namespace rankora {

// Why an output cannot be written as asked: it exists (without --force), two outputs or
// an output and the data file share a name, or it cannot be created where it is named.
// The message, or nothing when every output can be written.
std::optional<std::string> check_outputs(const Options& options);

// --csv, --json and --svg, once the report is complete, each whole or not at all. `table`
// is the command line's table file (its names among them), or nullptr after the
// dialogue; `answers` what the run was told of its table. False when an output could not
// be written (its line is given): the run then ends with kOutputNotWritten once its
// report is closed.
bool write_outputs(const Options& options, const Concordance& concordance,
                   std::span<const JudgeResult> judges, const TableFile* table,
                   const TableAnswers& answers);

}  // namespace rankora
