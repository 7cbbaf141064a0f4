// The records of the report file "Rankora.out", in French (lang 1) and English (any
// other lang). The banner and the data-file line also go to the screen, so they take
// the unit; every other record goes to the report.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "analysis/results.hpp"

namespace rankora::report {

void write_banner(int unit, int lang);
void write_data_file_line(int unit, int lang, std::string_view fname);
void write_blank_line(int unit);
void write_permutation_count(int lang, std::int32_t nperm);
void write_dash_line();
void write_statistics(int lang, int ties, double chi2, std::int32_t nu, double kendw);
void write_global_header(int lang);
void write_probability_line(int lang, std::int32_t nperm, double probability);
void write_a_posteriori_header(int lang);

// R-bar(j), W(j), p(j), Bonferroni p(j), Holm p(j), in this order.
using JudgeFigures = std::span<const double, 5>;
void write_judge_row(std::int32_t judge, JudgeFigures figures, bool marked);
void write_null_variance_note(int lang);

// A row for each judge, in the order given, then the dash line, then the null-variance
// note when a judge has no variance.
void write_judge_table(int lang, std::span<const JudgeResult> judges);

}  // namespace rankora::report
