#include "runtime/write.hpp"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "runtime/units.hpp"

namespace rankora::rt {
namespace {

std::string text_of(std::initializer_list<std::string_view> items) { return render_list(items); }

struct ListCase {
  const char* name;
  std::function<std::string()> render;
  std::string expected;
};

class ListWrite : public testing::TestWithParam<ListCase> {};

TEST_P(ListWrite, BreaksBeforeColumnEighty) { EXPECT_EQ(GetParam().render(), GetParam().expected); }

const std::string k77(77, 'a');
const std::string k78(78, 'b');
const std::string k79(79, 'c');
const std::string k90(90, 'd');

INSTANTIATE_TEST_SUITE_P(
    Items, ListWrite,
    testing::Values(ListCase{"NoItemsIsAnEmptyLine", [] { return text_of({}); }, "\n"},
                    ListCase{"OneItem", [] { return text_of({"abc"}); }, " abc\n"},
                    ListCase{"JoinedWithoutSeparator",
                             [] {
                               return text_of({"ab", "cd"});
                             },
                             " abcd\n"},
                    ListCase{"TrailingBlanksKept",
                             [] {
                               return text_of({"a  ", "b "});
                             },
                             " a  b \n"},
                    ListCase{"EmptyItem", [] { return text_of({""}); }, " \n"},
                    // 1 + 77 + 1 = 79 still fits; 1 + 78 + 1 = 80 does not.
                    ListCase{"ReachesColumn79",
                             [] {
                               return text_of({k77, "x"});
                             },
                             " " + k77 + "x\n"},
                    ListCase{"WouldReachColumn80",
                             [] {
                               return text_of({k78, "x"});
                             },
                             " " + k78 + "\n x\n"},
                    ListCase{"FirstItemNeverBreaks", [] { return text_of({k90}); },
                             " " + k90 + "\n"},
                    ListCase{"LongItemAfterShortOne",
                             [] {
                               return text_of({"ab", k79});
                             },
                             " ab\n " + k79 + "\n"},
                    ListCase{"EveryItemMayBreak",
                             [] {
                               return text_of({k78, k78, "z"});
                             },
                             " " + k78 + "\n " + k78 + "\n z\n"}),
    [](const testing::TestParamInfo<ListCase>& info) { return std::string(info.param.name); });

std::string file_contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A record that meets a file-size limit ends the run; the records before it stay whole
// and the cut one is taken back.
struct CutCase {
  const char* name;
  std::function<void()> second_record;
  const char* report_pattern;
};

class WriteFailure : public testing::TestWithParam<CutCase> {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("rankora-write-" + std::to_string(::getpid()) + "-" + GetParam().name);
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path dir_;
};

// The limit binds every file of the process, the captured error stream included, so
// it stays well above the few lines of the error report.
constexpr rlim_t kSizeLimit = 4096;
const std::string kFirstRecord(4000, '=');
const std::string kSecondRecord(100, '-');
const FormatItem kFirst[] = {lit(kFirstRecord)};
const FormatItem kSecond[] = {lit(kSecondRecord)};

void write_under_limit(const std::string& path, const std::function<void()>& second_record) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{kSizeLimit, kSizeLimit};
  ::setrlimit(RLIMIT_FSIZE, &limit);
  open_new(kReportUnit, path);
  write_formatted(kReportUnit, kFirst);
  second_record();
  std::exit(0);
}

TEST_P(WriteFailure, TakesTheCutRecordBackAndAborts) {
  const std::string path = (dir_ / "Rankora.out").string();
  EXPECT_EXIT(write_under_limit(path, GetParam().second_record), testing::KilledBySignal(SIGABRT),
              GetParam().report_pattern);
  EXPECT_EQ(file_contents(path), kFirstRecord + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Records, WriteFailure,
    testing::Values(
        CutCase{"Formatted", [] { write_formatted(kReportUnit, kSecond); },
                "^write: File too large\napparent state: unit 7 named [^\n]*Rankora.out\n"
                "lately writing sequential formatted external IO\n$"},
        CutCase{"ListDirected", [] { write_list(kReportUnit, {kSecondRecord}); },
                "^write: File too large\napparent state: unit 7 named [^\n]*Rankora.out\n"
                "last format: list io\nlately writing sequential formatted external IO\n$"}),
    [](const testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rankora::rt
