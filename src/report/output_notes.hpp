// What the user reads when an extra output (CSV, JSON, SVG) could not be written: one
// "rankora: " line, a whole sentence in French (lang 1) or English.
#pragma once

#include <string>
#include <string_view>

#include "runtime/output_file.hpp"

namespace rankora::report {

std::string output_failure_line(int lang, std::string_view output, std::string_view report,
                                const rt::OutputFailure& failure);

}  // namespace rankora::report
