// The judges' table as CSV: one row per judge in the report's order, under a header.
#pragma once

#include <string>

#include "report/run_results.hpp"

namespace rankora::report {

// Comma-separated, decimal point, names quoted where needed (RFC 4180), lines ending in a
// line feed. Numbers as the shortest text that reads back as the same double; NaN for a
// figure that is not a number, an empty field for one that does not exist.
std::string judges_csv(const RunResults& results);

}  // namespace rankora::report
