// Every figure of a run as one JSON object: the input, the panel, the judges in the
// report's order, and the warnings given.
#pragma once

#include <string>

#include "report/run_results.hpp"

namespace rankora::report {

// Numbers at full precision (the shortest text that reads back as the same double); a
// figure that is not a finite number is null. Text that is not UTF-8 is kept readable,
// each bad byte replaced by U+FFFD.
std::string results_json(const RunResults& results);

}  // namespace rankora::report
