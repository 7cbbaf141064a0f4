// A whole report, written in the order of a run: its line count and the rules that
// hold for every line of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "analysis/rankora.hpp"
#include "report/records.hpp"
#include "report/unit_capture.hpp"
#include "run/storage.hpp"
#include "runtime/units.hpp"

namespace rankora::report {
namespace {

using testing_support::lines_of;
using testing_support::OutputCapture;
using testing_support::ScratchDir;

struct RunCase {
  const char* name;
  int lang;
  int ties;
  std::int32_t njudge;
  std::int32_t nobj;
  int constant_judges;  // the last ones give every object the same value
};

void fill(const Storage& s, const RunCase& c) {
  MatrixView mat = s.mat_view();
  MatrixView table = s.table_view();
  for (std::int32_t j = 1; j <= c.njudge; ++j) {
    const bool constant = j > c.njudge - c.constant_judges;
    for (std::int32_t k = 1; k <= c.nobj; ++k) {
      mat(j, k) = constant ? 4.0 : static_cast<double>(10 * k + (k * j) % 13);
      table(j, k) = mat(j, k);
    }
  }
}

std::string run_report(const RunCase& c) {
  const auto s = std::make_unique<Storage>();
  fill(*s, c);
  ScratchDir dir;
  OutputCapture capture(dir);
  constexpr std::int32_t kPermutations = 19;
  write_banner(rt::kReportUnit, c.lang);
  write_data_file_line(rt::kReportUnit, c.lang, std::string(79, 'n'));
  write_blank_line(rt::kReportUnit);
  write_permutation_count(c.lang, kPermutations);
  rankora(c.nobj, c.njudge, c.nobj, s->mat_view(), s->table_view(), s->rsum.span(), kMaxObjects,
          kMaxJudges, c.lang, kPermutations, s->perm.span(), s->tiecnt.span(), s->values.span(),
          s->rank_work.span(), s->spearr_view(), s->work1.span(), s->result_view(), s->work2.span(),
          s->iwork.span(), s->varok.span(), c.ties);
  return capture.report();
}

class WholeReport : public testing::TestWithParam<RunCase> {};

TEST_P(WholeReport, HasItsLineCountAndEndsAsItShould) {
  const RunCase& c = GetParam();
  const std::vector<std::string> lines = lines_of(run_report(c));
  const bool marked = c.constant_judges > 0;
  const std::size_t expected = 34 + 2 * static_cast<std::size_t>(c.njudge) + (marked ? 1 : 0);
  ASSERT_EQ(lines.size(), expected);

  const std::string dashes = " " + std::string(60, '-');
  const std::string note =
      c.lang == 1 ? " # Ce juge a une variance nulle" : " # This judge has a null variance";
  EXPECT_EQ(lines[marked ? expected - 2 : expected - 1], dashes);
  if (marked) {
    EXPECT_EQ(lines.back(), note);
  }
  EXPECT_EQ(std::count(lines.begin(), lines.end(), dashes), 3);

  for (const std::string& line : lines) {
    EXPECT_LE(line.size(), 80u) << line;
    const auto printable = [](char ch) { return ch >= ' ' && ch <= '~'; };
    EXPECT_TRUE(std::all_of(line.begin(), line.end(), printable)) << line;
  }
}

// Rows follow the header; a constant judge's row carries the mark, an R-bar of zero
// and a probability of one, wherever the ordering puts it.
TEST_P(WholeReport, MarksEveryConstantJudge) {
  const RunCase& c = GetParam();
  const std::vector<std::string> lines = lines_of(run_report(c));
  constexpr std::size_t kFirstRow = 33;  // 0-based: after 13 + 12 + 8 lines
  int marked_rows = 0;
  for (std::int32_t i = 0; i < c.njudge; ++i) {
    const std::string& row = lines.at(kFirstRow + 2 * static_cast<std::size_t>(i));
    EXPECT_EQ(lines.at(kFirstRow + 2 * static_cast<std::size_t>(i) + 1), "");
    const int judge = std::stoi(row.substr(0, 4));
    const bool constant = judge > c.njudge - c.constant_judges;
    if (constant) {
      ++marked_rows;
      EXPECT_EQ(row.size(), 58u) << row;
      EXPECT_EQ(row.substr(56), " #") << row;
      EXPECT_EQ(row.substr(6, 10), "   0.00000") << row;
      EXPECT_EQ(row.substr(26, 10), "   1.00000") << row;
    } else {
      EXPECT_EQ(row.size(), 56u) << row;
    }
  }
  EXPECT_EQ(marked_rows, c.constant_judges);
}

INSTANTIATE_TEST_SUITE_P(Runs, WholeReport,
                         testing::Values(RunCase{"TwoJudgesFr", 1, 1, 2, 5, 0},
                                         RunCase{"TwoJudgesEn", 2, 2, 2, 5, 0},
                                         RunCase{"ThreeJudgesOneConstantFr", 1, 2, 3, 10, 1},
                                         RunCase{"ThreeJudgesOneConstantEn", 2, 1, 3, 10, 1},
                                         RunCase{"SevenJudgesTwoConstant", 2, 2, 7, 4, 2},
                                         RunCase{"EveryJudgeConstant", 2, 1, 3, 6, 3}),
                         [](const testing::TestParamInfo<RunCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace rankora::report
