#include "input/lecture.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include "report/unit_capture.hpp"
#include "run/storage.hpp"
#include "runtime/units.hpp"

namespace rankora {
namespace {

using testing_support::OutputCapture;
using testing_support::Redirect;
using testing_support::ScratchDir;

constexpr int kFrench = 1;
constexpr int kEnglish = 2;
using Rows = std::vector<std::vector<double>>;

// Answers come from a scratch file on standard input; "DATA" in them stands for the
// quoted path of the data file.
class Lecture : public testing::Test {
 protected:
  void SetUp() override { storage_ = std::make_unique<Storage>(); }

  void prepare(std::string answers, const std::string& data) {
    const std::string path = dir_.write("d.txt", data).string();
    if (const auto at = answers.find("DATA"); at != std::string::npos) {
      answers.replace(at, 4, "'" + path + "'");
    }
    keyboard_ = std::make_unique<Redirect>(STDIN_FILENO, dir_.write("answers", answers), true);
    rt::connect_standard_units();  // unit 5 starts afresh on the new standard input
    output_ = std::make_unique<OutputCapture>(dir_);
  }

  void read(int lang = kEnglish) {
    lecture(nobj_, njudge_, nobj2_, storage_->mat_view(), storage_->table_view(), kMaxObjects,
            kMaxJudges, lang);
  }

  Rows block(MatrixView m, std::int32_t judges, std::int32_t objects) const {
    Rows rows(static_cast<std::size_t>(judges));
    for (std::int32_t j = 1; j <= judges; ++j) {
      for (std::int32_t k = 1; k <= objects; ++k) rows[j - 1].push_back(m(j, k));
    }
    return rows;
  }

  void TearDown() override {
    output_.reset();
    keyboard_.reset();
    rt::connect_standard_units();
  }

  ScratchDir dir_;
  std::unique_ptr<Storage> storage_;
  std::unique_ptr<Redirect> keyboard_;
  std::unique_ptr<OutputCapture> output_;
  std::int32_t nobj_ = 0;
  std::int32_t njudge_ = 0;
  std::int32_t nobj2_ = 0;
};

struct TableCase {
  const char* name;
  const char* answers;
  const char* data;
  Rows expected;  // judge by judge
};

class LectureTable : public Lecture, public testing::WithParamInterface<TableCase> {};

TEST_P(LectureTable, FillsBothMatricesJudgeByJudge) {
  const TableCase& c = GetParam();
  prepare(c.answers, c.data);
  read();
  const auto judges = static_cast<std::int32_t>(c.expected.size());
  const auto objects = static_cast<std::int32_t>(c.expected[0].size());
  ASSERT_EQ(njudge_, judges);
  ASSERT_EQ(nobj_, objects);
  EXPECT_EQ(nobj2_, nobj_);
  EXPECT_EQ(block(storage_->mat_view(), judges, objects), c.expected);
  EXPECT_EQ(block(storage_->table_view(), judges, objects), c.expected);
  // Nothing outside the block is touched.
  EXPECT_EQ(storage_->mat_view()(judges + 1, 1), 0.0);
  EXPECT_EQ(storage_->mat_view()(1, objects + 1), 0.0);
  EXPECT_EQ(storage_->table_view()(judges + 1, objects), 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LectureTable,
    testing::Values(
        TableCase{"Rows", "2 3\n1\nDATA\n", "1 2 3\n4 5 6\n", {{1, 2, 3}, {4, 5, 6}}},
        TableCase{"Columns", "2 3\n2\nDATA\n", "1 4\n2 5\n3 6\n", {{1, 2, 3}, {4, 5, 6}}},
        TableCase{"OrientationZeroIsColumns",
                  "2 3\n0\nDATA\n",
                  "1 4\n2 5\n3 6\n",
                  {{1, 2, 3}, {4, 5, 6}}},
        TableCase{"OrientationSevenIsColumns",
                  "2 3\n7\nDATA\n",
                  "1 4\n2 5\n3 6\n",
                  {{1, 2, 3}, {4, 5, 6}}},
        TableCase{
            "NoOrientationGivenIsRows", "2 3\n,\nDATA\n", "1 2 3\n4 5 6\n", {{1, 2, 3}, {4, 5, 6}}},
        TableCase{"RecordsOverSeveralLinesAndExtrasIgnored",
                  "3 4\n1\nDATA\n",
                  "1 2\n3 4\n5 6 7 8 99\n9 10 11 12\n",
                  {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}}},
        TableCase{"LinesAfterTheLastRecordIgnored",
                  "2 2\n1\nDATA\n",
                  "1 2\n3 4\nwords\n",
                  {{1, 2}, {3, 4}}},
        TableCase{"EmptyLinesSkipped", "2 2\n1\nDATA\n", "\n\n1 2\n\n3 4\n", {{1, 2}, {3, 4}}},
        TableCase{"NullValuesKeepZero", "2 3\n1\nDATA\n", "1,,3\n,5,,\n", {{1, 0, 3}, {0, 5, 0}}},
        TableCase{"SlashEndsTheRecord", "2 3\n1\nDATA\n", "1 / 7\n4 5 6\n", {{1, 0, 0}, {4, 5, 6}}},
        TableCase{"Repeats", "2 3\n1\nDATA\n", "3*7\n2*-1.5 2\n", {{7, 7, 7}, {-1.5, -1.5, 2}}},
        TableCase{"NumberForms",
                  "2 3\n1\nDATA\n",
                  "12 -3 4.75\n1.5E2 2d1 .5\n",
                  {{12, -3, 4.75}, {150, 20, 0.5}}},
        TableCase{"SizeOverTwoLines", "2\n3\n1\nDATA\n", "1 2 3\n4 5 6\n", {{1, 2, 3}, {4, 5, 6}}},
        TableCase{"SizeWithComma", "2,3\n1\nDATA\n", "1 2 3\n4 5 6\n", {{1, 2, 3}, {4, 5, 6}}},
        TableCase{
            "SizeExtraValueIgnored", "2 3 9\n1\nDATA\n", "1 2 3\n4 5 6\n", {{1, 2, 3}, {4, 5, 6}}},
        TableCase{"TooFewAskedAgain",
                  "1 3\n2 0\n-2 5\n2 3\n1\nDATA\n",
                  "1 2 3\n4 5 6\n",
                  {{1, 2, 3}, {4, 5, 6}}},
        TableCase{"NoSizeGivenAskedAgain",
                  ",\n/\n2 3\n1\nDATA\n",
                  "1 2 3\n4 5 6\n",
                  {{1, 2, 3}, {4, 5, 6}}},
        TableCase{"BeyondThirtyTwoBitsAskedAgain",
                  "3000000000 3\n2 3\n1\nDATA\n",
                  "1 2 3\n4 5 6\n",
                  {{1, 2, 3}, {4, 5, 6}}}),
    [](const testing::TestParamInfo<TableCase>& info) { return std::string(info.param.name); });

struct DialogueCase {
  const char* name;
  int lang;
  const char* answers;
  std::string screen;
};

class LectureDialogue : public Lecture, public testing::WithParamInterface<DialogueCase> {};

// The name "d" is typed bare, so the test runs in the scratch directory.
TEST_P(LectureDialogue, ShowsExactlyThis) {
  const DialogueCase& c = GetParam();
  prepare(c.answers, "1 2\n3 4\n");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir_.path());
  std::filesystem::rename("d.txt", "d");
  read(c.lang);
  std::filesystem::current_path(previous);
  EXPECT_EQ(output_->screen(), c.screen);
  const std::string name_line = " d" + std::string(78, ' ') + "\n";
  const std::string label = c.lang == kFrench ? " Fichier de donnees: \n" : " Input data file: \n";
  EXPECT_EQ(output_->report(), label + name_line + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Languages, LectureDialogue,
    testing::Values(DialogueCase{"English", kEnglish, "0 2\n2 2\n1\nd\n",
                                 " How many judges and objects?\n"
                                 " At least 2 judges and 2 objects are needed.\n"
                                 " How many judges and objects?\n"
                                 "\n"
                                 " (1) Judges are the rows of the input data file\n"
                                 " (2) Judges are the columns of the input data file\n"
                                 "\n"
                                 " Name of the input data file?\n"
                                 " Input data file: \n"
                                 " d" +
                                     std::string(78, ' ') + "\n"},
                    DialogueCase{"French", kFrench, "2 1\n2 2\n1\nd\n",
                                 " Combien de juges et d'objets?\n"
                                 " Il faut au moins 2 juges et 2 objets.\n"
                                 " Combien de juges et d'objets?\n"
                                 "\n"
                                 " (1) Les juges sont les lignes du fichier d'entree\n"
                                 " (2) Les juges sont les colonnes du fichier d'entree\n"
                                 "\n"
                                 " Nom du fichier de donnees?\n"
                                 " Fichier de donnees: \n"
                                 " d" +
                                     std::string(78, ' ') + "\n"}),
    [](const testing::TestParamInfo<DialogueCase>& info) { return std::string(info.param.name); });

// Runs that end inside the reader: the capacity stops, and the fatal reports that
// show which checks were passed.
struct EndCase {
  const char* name;
  const char* answers;
  bool stopped;  // a stop with a code, or else the abort of a fatal error
  const char* error_stream;
  const char* last_screen_line;
};

class LectureEnd : public Lecture, public testing::WithParamInterface<EndCase> {};

TEST_P(LectureEnd, EndsTheRun) {
  const EndCase& c = GetParam();
  prepare(c.answers, "");
  if (c.stopped) {
    EXPECT_EXIT(read(), testing::ExitedWithCode(0), c.error_stream);
  } else {
    EXPECT_EXIT(read(), testing::KilledBySignal(SIGABRT), c.error_stream);
  }
  std::string screen = output_->screen();
  ASSERT_FALSE(screen.empty());
  screen.pop_back();
  EXPECT_EQ(screen.substr(screen.rfind('\n') + 1), c.last_screen_line);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, LectureEnd,
    testing::Values(
        EndCase{"TooManyObjects", "5 2001\n", true, "^STOP 2 statement executed\n$",
                " Too many objects. Recompile the program."},
        EndCase{"ObjectsCheckedFirst", "1001 3000\n", true, "^STOP 2 statement executed\n$",
                " Too many objects. Recompile the program."},
        EndCase{"TooManyJudges", "1001 5\n", true, "^STOP 3 statement executed\n$",
                " Too many judges. Recompile the program."},
        EndCase{"TooManyAfterTooFew", "1 5\n1001 5\n", true, "^STOP 3 statement executed\n$",
                " Too many judges. Recompile the program."},
        EndCase{"CapacityPasses", "1000 2000\n1\nnosuch\n", false,
                "^open: No such file or directory\napparent state: unit 10 named nosuch\n",
                " Name of the input data file?"},
        EndCase{"EndOfInputAfterTooFew", "1 1\n", false,
                "^list in: end of file\napparent state: unit 5 \\(unnamed\\)\n",
                " How many judges and objects?"},
        EndCase{"NameTypedAsTwoApostrophes", "2 2\n1\n''\n", false,
                "^open: null file name\napparent state: unit 10 named \n",
                " Name of the input data file?"},
        EndCase{"DataFileIsADirectory", "2 2\n1\n.\n", false,
                "^open: Is a directory\napparent state: unit 10 named \\.\n",
                " Name of the input data file?"}),
    [](const testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rankora
