#include "report/records.hpp"

#include <array>

#include "report/language.hpp"
#include "runtime/units.hpp"
#include "runtime/write.hpp"

namespace rankora::report {
namespace {

using rt::blanks;
using rt::FormatItem;
using rt::int_field;
using rt::lit;
using rt::real_field;
using rt::slash;

constexpr int kReport = rt::kReportUnit;

template <std::size_t A, std::size_t B>
constexpr std::array<FormatItem, A + B> join(const FormatItem (&a)[A], const FormatItem (&b)[B]) {
  std::array<FormatItem, A + B> all{};
  for (std::size_t i = 0; i < A; ++i) all[i] = a[i];
  for (std::size_t i = 0; i < B; ++i) all[A + i] = b[i];
  return all;
}

// The formats read as they lay out their lines.
// clang-format off

constexpr FormatItem kCreditsFr[] = {
    lit(" Rankora: concordance entre juges"),
    slash(),
    lit(" W de Kendall, khi-carre de Friedman et tests par permutation"),
    slash(),
    lit(" Test global et tests a posteriori de chaque juge"),
    slash(),
    lit("        Rapport ecrit dans Rankora.out"),
    slash()};
constexpr FormatItem kCreditsEn[] = {
    lit(" Rankora: concordance among judges"),
    slash(),
    lit(" Kendall's W, Friedman's chi-square and permutation tests"),
    slash(),
    lit(" Global test and a posteriori tests of each judge"),
    slash(),
    lit("        Report written to Rankora.out"),
    slash()};
constexpr FormatItem kTitleFr[] = {slash(), lit(" Test de concordance de Kendall"), slash(),
                                   slash()};
constexpr FormatItem kTitleEn[] = {slash(), lit(" Kendall's test of concordance"), slash(),
                                   slash()};
constexpr auto kBannerFr = join(kTitleFr, kCreditsFr);
constexpr auto kBannerEn = join(kTitleEn, kCreditsEn);

constexpr FormatItem kPermutationCountFr[] = {lit(" Nombre de permutations:"), int_field(6),
                                              slash()};
constexpr FormatItem kPermutationCountEn[] = {lit(" Number of permutations:"), int_field(6),
                                              slash()};

constexpr FormatItem kDashLine[] = {
    lit(" ------------------------------------------------------------")};

constexpr FormatItem kStatisticsFrTies[] = {
    lit(" Khi-carre de Friedman ="), real_field(10, 5), lit("   nu ="), int_field(5), slash(),
    lit(" W de Kendall          ="), real_field(10, 5), lit("   correction pour ex-aequo"),
    slash()};
constexpr FormatItem kStatisticsFrNoTies[] = {
    lit(" Khi-carre de Friedman ="), real_field(10, 5), lit("   nu ="), int_field(5), slash(),
    lit(" W de Kendall          ="), real_field(10, 5), lit("   sans correction pour ex-aequo"),
    slash()};
constexpr FormatItem kStatisticsEnTies[] = {
    lit(" Friedman's Chi-square ="), real_field(10, 5), lit("   nu ="), int_field(5), slash(),
    lit(" Kendall's W           ="), real_field(10, 5), lit("   with correction for ties"),
    slash()};
constexpr FormatItem kStatisticsEnNoTies[] = {
    lit(" Friedman's Chi-square ="), real_field(10, 5), lit("   nu ="), int_field(5), slash(),
    lit(" Kendall's W           ="), real_field(10, 5), lit("   without correction for ties"),
    slash()};

constexpr FormatItem kGlobalHeaderFr[] = {
    lit(" Test global. H0: Independance des juges."), slash(),
    lit(" Tous les juges sont permutes, et ce de facon independante."), slash()};
constexpr FormatItem kGlobalHeaderEn[] = {lit(" Global test. H0: Independence of all judges."),
                                          slash(), lit(" All judges are independently permuted."),
                                          slash()};

constexpr FormatItem kProbabilityFr[] = {lit(" Prob(khi-carre,"), int_field(6),
                                         lit(" perm.) ="), real_field(8, 5), slash()};
constexpr FormatItem kProbabilityEn[] = {lit(" Prob(chi-square,"), int_field(6),
                                         lit(" perm.) ="), real_field(8, 5), slash()};

constexpr FormatItem kAPosterioriFr[] = {
    slash(),
    lit(" Test a posteriori de chaque juge."),
    slash(),
    lit(" Resultats presentes en ordre decroissant de Rbar."),
    slash(),
    lit(" H0: Independance de ce juge. Seul ce juge est permute."),
    slash(),
    slash(),
    lit("                                    Probabilite corrigee"),
    slash(),
    lit(" Juge    Rbar(j)     W(j)     Prob  Bonferroni      Holm"),
    slash()};
constexpr FormatItem kAPosterioriEn[] = {
    slash(),
    lit(" A posteriori test for each judge."),
    slash(),
    lit(" Results are presented in order of decreasing values of Rbar."),
    slash(),
    lit(" H0: Independence of this judge. This judge only is permuted."),
    slash(),
    slash(),
    lit("                                    Adjusted probability"),
    slash(),
    lit(" Judge   Rbar(j)     W(j)     Prob  Bonferroni      Holm"),
    slash()};

// (I4,2X,5F10.5,/) and, for a judge whose ranks have no variance, (I4,2X,5F10.5,' #',/)
constexpr FormatItem kJudgeFields[] = {int_field(4),      blanks(2),         real_field(10, 5),
                                       real_field(10, 5), real_field(10, 5), real_field(10, 5),
                                       real_field(10, 5)};
constexpr FormatItem kRowEnd[] = {slash()};
constexpr FormatItem kMarkedRowEnd[] = {lit(" #"), slash()};
constexpr auto kJudgeRow = join(kJudgeFields, kRowEnd);
constexpr auto kMarkedJudgeRow = join(kJudgeFields, kMarkedRowEnd);

constexpr FormatItem kNullVarianceFr[] = {lit(" # Ce juge a une variance nulle")};
constexpr FormatItem kNullVarianceEn[] = {lit(" # This judge has a null variance")};

// clang-format on

}  // namespace

void write_banner(int unit, int lang) {
  rt::write_formatted(unit, french(lang) ? rt::Format(kBannerFr) : rt::Format(kBannerEn));
}

void write_data_file_line(int unit, int lang, std::string_view fname) {
  rt::write_list(unit, {french(lang) ? "Fichier de donnees: " : "Input data file: ", fname});
}

void write_blank_line(int unit) { rt::write_list(unit, {}); }

void write_permutation_count(int lang, std::int32_t nperm) {
  rt::write_formatted(
      kReport, french(lang) ? rt::Format(kPermutationCountFr) : rt::Format(kPermutationCountEn),
      {nperm});
}

void write_dash_line() { rt::write_formatted(kReport, kDashLine); }

void write_statistics(int lang, int ties, double chi2, std::int32_t nu, double kendw) {
  rt::Format format =
      french(lang) ? (ties == 2 ? rt::Format(kStatisticsFrNoTies) : rt::Format(kStatisticsFrTies))
                   : (ties == 2 ? rt::Format(kStatisticsEnNoTies) : rt::Format(kStatisticsEnTies));
  rt::write_formatted(kReport, format, {chi2, nu, kendw});
}

void write_global_header(int lang) {
  rt::write_formatted(kReport,
                      french(lang) ? rt::Format(kGlobalHeaderFr) : rt::Format(kGlobalHeaderEn));
}

void write_probability_line(int lang, std::int32_t nperm, double probability) {
  rt::write_formatted(kReport,
                      french(lang) ? rt::Format(kProbabilityFr) : rt::Format(kProbabilityEn),
                      {nperm, probability});
}

void write_a_posteriori_header(int lang) {
  rt::write_formatted(kReport,
                      french(lang) ? rt::Format(kAPosterioriFr) : rt::Format(kAPosterioriEn));
}

void write_judge_row(std::int32_t judge, JudgeFigures figures, bool marked) {
  rt::write_formatted(kReport, marked ? rt::Format(kMarkedJudgeRow) : rt::Format(kJudgeRow),
                      {judge, figures[0], figures[1], figures[2], figures[3], figures[4]});
}

void write_null_variance_note(int lang) {
  rt::write_formatted(kReport,
                      french(lang) ? rt::Format(kNullVarianceFr) : rt::Format(kNullVarianceEn));
}

void write_judge_table(int lang, std::span<const JudgeResult> judges) {
  bool marked_any = false;
  for (const JudgeResult& row : judges) {
    marked_any = marked_any || row.null_variance;
    const std::array<double, 5> figures = {row.rbar, row.w, row.p, row.p_bonferroni, row.p_holm};
    write_judge_row(row.judge, figures, row.null_variance);
  }
  write_dash_line();
  if (marked_any) write_null_variance_note(lang);
}

}  // namespace rankora::report
