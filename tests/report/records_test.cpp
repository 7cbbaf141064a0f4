#include "report/records.hpp"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "report/unit_capture.hpp"
#include "runtime/units.hpp"

namespace rankora::report {
namespace {

using testing_support::lines_of;
using testing_support::OutputCapture;
using testing_support::ScratchDir;

constexpr int kFrench = 1;
constexpr int kEnglish = 2;
constexpr int kWithTies = 1;
constexpr int kWithoutTies = 2;

std::string report_of(const std::function<void()>& write) {
  ScratchDir dir;
  OutputCapture capture(dir);
  write();
  return capture.report();
}

void write_row(std::int32_t judge, std::array<double, 5> figures, bool marked) {
  write_judge_row(judge, figures, marked);
}

class ReportRecords : public testing::Test {
 protected:
  static void SetUpTestSuite() { rt::connect_standard_units(); }
};

struct RecordCase {
  const char* name;
  std::function<void()> write;
  std::string expected;
};

class RecordText : public ReportRecords, public testing::WithParamInterface<RecordCase> {};

TEST_P(RecordText, IsExact) { EXPECT_EQ(report_of(GetParam().write), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Records, RecordText,
    testing::Values(
        RecordCase{"BlankLine", [] { write_blank_line(rt::kReportUnit); }, "\n"},
        RecordCase{"DashLine", [] { write_dash_line(); }, " " + std::string(60, '-') + "\n"},
        RecordCase{"CountFr", [] { write_permutation_count(kFrench, 999); },
                   " Nombre de permutations:   999\n\n"},
        RecordCase{"CountEn", [] { write_permutation_count(kEnglish, 999); },
                   " Number of permutations:   999\n\n"},
        RecordCase{"CountNegative", [] { write_permutation_count(kEnglish, -5); },
                   " Number of permutations:    -5\n\n"},
        RecordCase{"CountTooWide", [] { write_permutation_count(kFrench, 1000000); },
                   " Nombre de permutations:******\n\n"},
        RecordCase{"StatisticsFrTies",
                   [] { write_statistics(kFrench, kWithTies, 25.72211, 9, 0.95267); },
                   " Khi-carre de Friedman =  25.72211   nu =    9\n"
                   " W de Kendall          =   0.95267   correction pour ex-aequo\n\n"},
        RecordCase{"StatisticsFrNoTies",
                   [] { write_statistics(kFrench, kWithoutTies, 18.9, 9, 0.7); },
                   " Khi-carre de Friedman =  18.90000   nu =    9\n"
                   " W de Kendall          =   0.70000   sans correction pour ex-aequo\n\n"},
        RecordCase{"StatisticsEnTies", [] { write_statistics(kEnglish, kWithTies, 18.9, 9, 0.7); },
                   " Friedman's Chi-square =  18.90000   nu =    9\n"
                   " Kendall's W           =   0.70000   with correction for ties\n\n"},
        RecordCase{"StatisticsEnNoTies",
                   [] { write_statistics(kEnglish, kWithoutTies, 18.9, 1999, 0.7); },
                   " Friedman's Chi-square =  18.90000   nu = 1999\n"
                   " Kendall's W           =   0.70000   without correction for ties\n\n"},
        RecordCase{"ChiSquareTooWide",
                   [] { write_statistics(kEnglish, kWithoutTies, 12345.6, 1999, 0.00617); },
                   " Friedman's Chi-square =**********   nu = 1999\n"
                   " Kendall's W           =   0.00617   without correction for ties\n\n"},
        RecordCase{"GlobalHeaderFr", [] { write_global_header(kFrench); },
                   " Test global. H0: Independance des juges.\n"
                   " Tous les juges sont permutes, et ce de facon independante.\n\n"},
        RecordCase{"GlobalHeaderEn", [] { write_global_header(kEnglish); },
                   " Global test. H0: Independence of all judges.\n"
                   " All judges are independently permuted.\n\n"},
        RecordCase{"ProbabilityFr", [] { write_probability_line(kFrench, 999, 0.001); },
                   " Prob(khi-carre,   999 perm.) = 0.00100\n\n"},
        RecordCase{"ProbabilityEn", [] { write_probability_line(kEnglish, 0, 1.0); },
                   " Prob(chi-square,     0 perm.) = 1.00000\n\n"},
        RecordCase{"ProbabilityTooManyPermutations",
                   [] { write_probability_line(kEnglish, 1000000, 0.000001); },
                   " Prob(chi-square,****** perm.) = 0.00000\n\n"},
        RecordCase{"APosterioriHeaderFr", [] { write_a_posteriori_header(kFrench); },
                   "\n Test a posteriori de chaque juge.\n"
                   " Resultats presentes en ordre decroissant de Rbar.\n"
                   " H0: Independance de ce juge. Seul ce juge est permute.\n\n"
                   "                                    Probabilite corrigee\n"
                   " Juge    Rbar(j)     W(j)     Prob  Bonferroni      Holm\n\n"},
        RecordCase{"APosterioriHeaderEn", [] { write_a_posteriori_header(kEnglish); },
                   "\n A posteriori test for each judge.\n"
                   " Results are presented in order of decreasing values of Rbar.\n"
                   " H0: Independence of this judge. This judge only is permuted.\n\n"
                   "                                    Adjusted probability\n"
                   " Judge   Rbar(j)     W(j)     Prob  Bonferroni      Holm\n\n"},
        RecordCase{"JudgeRow",
                   [] {
                     write_row(3, {0.65, 0.76667, 0.001, 0.003, 0.003}, false);
                   },
                   "   3     0.65000   0.76667   0.00100   0.00300   0.00300\n\n"},
        RecordCase{"JudgeOneThousand",
                   [] {
                     write_row(1000, {-0.5, 0.5, 1, 3, 1}, false);
                   },
                   "1000    -0.50000   0.50000   1.00000   3.00000   1.00000\n\n"},
        RecordCase{"MarkedJudgeRow",
                   [] {
                     write_row(2, {0, 0.5, 1, 1, 1}, true);
                   },
                   "   2     0.00000   0.50000   1.00000   1.00000   1.00000 #\n\n"},
        RecordCase{"NullVarianceNoteFr", [] { write_null_variance_note(kFrench); },
                   " # Ce juge a une variance nulle\n"},
        RecordCase{"NullVarianceNoteEn", [] { write_null_variance_note(kEnglish); },
                   " # This judge has a null variance\n"}),
    [](const testing::TestParamInfo<RecordCase>& info) { return std::string(info.param.name); });


// The name is written with all 79 characters of its field, so it never shares the
// label's line, however short it is.
struct NameCase {
  int lang;
  std::size_t length;
};

class DataFileLine : public ReportRecords, public testing::WithParamInterface<NameCase> {};

TEST_P(DataFileLine, PutsTheNameOnALineOfEighty) {
  const auto [lang, length] = GetParam();
  std::string typed;
  for (std::size_t i = 0; i < length; ++i) typed.push_back(static_cast<char>('a' + i % 26));
  std::string fname = typed;
  fname.resize(79, ' ');
  const std::string label = lang == kFrench ? " Fichier de donnees: " : " Input data file: ";
  const std::string expected = label + "\n " + fname + "\n";

  ScratchDir dir;
  OutputCapture capture(dir);
  write_data_file_line(rt::kScreenUnit, lang, fname);
  write_data_file_line(rt::kReportUnit, lang, fname);
  EXPECT_EQ(capture.report(), expected);
  EXPECT_EQ(capture.screen(), expected);
}

INSTANTIATE_TEST_SUITE_P(NameLengths, DataFileLine,
                         testing::Values(NameCase{kFrench, 1}, NameCase{kEnglish, 1},
                                         NameCase{kFrench, 58}, NameCase{kEnglish, 58},
                                         NameCase{kFrench, 61}, NameCase{kEnglish, 61},
                                         NameCase{kFrench, 62}, NameCase{kEnglish, 62},
                                         NameCase{kFrench, 79}, NameCase{kEnglish, 79}));

}  // namespace
}  // namespace rankora::report
