// A run of the command-line form: no questions. The table is read and checked, then
// every output, and only then is the report created and the analysis run, as the
// dialogue runs it.
#pragma once

#include "run/options.hpp"
#include "run/storage.hpp"

namespace rankora {

// Ends the process: status 0 with the report complete, 2 without anything written.
[[noreturn]] void run_without_questions(const Options& options, const Storage& s);

}  // namespace rankora
