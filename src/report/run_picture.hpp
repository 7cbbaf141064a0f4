// The picture of a run as one self-contained SVG: the global test's permutation
// distribution of W with the observed W and its probability, then each judge's W(j) in the
// report's order, in the run's language.
#pragma once

#include <string>

#include "report/run_results.hpp"

namespace rankora::report {

// Judges at Holm p <= 0.05 (capped, as the CSV gives it) stand apart; null-variance judges
// are marked "#". Up to kJudgeRowsAtMost judges get a row each, with their names; more
// get one bar each along the report's order, a tooltip naming each.
inline constexpr std::size_t kJudgeRowsAtMost = 60;
std::string run_picture(const RunResults& results);

}  // namespace rankora::report
