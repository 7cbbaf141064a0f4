// Writing an output whole or not at all: every step made to fail (output_faults.txt),
// real files, a file-size limit, and the signals that end a run midway.
#include "runtime/output_file.hpp"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "reader/table_syntax.hpp"
#include "runtime/process.hpp"

namespace rankora::rt {
namespace {

namespace fs = std::filesystem;
using Row = std::vector<std::string>;

const std::string kOutput = "judge,W\n1,0.5\n2,0.25\n";

std::string slurp(const fs::path& path) {
  std::ifstream in(path);
  return {std::istreambuf_iterator<char>(in), {}};
}

fs::path scratch_folder() {
  std::string name = testing::TempDir() + "output_file.XXXXXX";
  if (!::mkdtemp(name.data())) throw std::runtime_error("mkdtemp");
  return name;
}

std::vector<std::string> entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// The faults of one case, and what the calls have met so far.
struct Plan {
  std::map<std::pair<std::string, int>, int> fail;  // (call, its Nth use) -> errno
  std::map<std::string, int> uses;
  std::size_t short_writes = 0;  // 0: none
  bool limit_writes = false;
  bool appears = false;
  bool interrupted = false;
  std::string target;
};
Plan plan;

// True, with errno set, when this use of `call` is to fail.
bool faulty(const std::string& call) {
  const auto fault = plan.fail.find({call, ++plan.uses[call]});
  if (fault == plan.fail.end()) return false;
  errno = fault->second;
  return true;
}

void appear() {
  if (plan.appears) std::ofstream(plan.target) << "appeared";
}

const FileCalls kFaulty{
    [](const char* p, int flags, mode_t mode) {
      return faulty("open") ? -1 : system_file_calls().open(p, flags, mode);
    },
    [](int fd, const void* data, std::size_t size) -> ssize_t {
      if (faulty("write")) return -1;
      if (std::exchange(plan.interrupted, false)) return errno = EINTR, -1;
      if (plan.limit_writes) size = std::min(size, plan.short_writes);
      return system_file_calls().write(fd, data, size);
    },
    [](int fd) { return faulty("fsync") ? -1 : system_file_calls().fsync(fd); },
    [](int fd) {
      if (!faulty("close")) return system_file_calls().close(fd);
      system_file_calls().close(fd);
      return -1;
    },
    [](const char* from, const char* to) {
      appear();
      return faulty("rename") ? -1 : system_file_calls().rename(from, to);
    },
    [](const char* from, const char* to) {
      appear();
      return faulty("rename_noreplace") ? -1 : system_file_calls().rename_noreplace(from, to);
    },
    [](const char* from, const char* to) {
      return faulty("link") ? -1 : system_file_calls().link(from, to);
    },
    [](const char* p) { return faulty("unlink") ? -1 : system_file_calls().unlink(p); }};

int errno_named(const std::string& name) {
  static const std::map<std::string, int> known{
      {"EACCES", EACCES}, {"ENOSPC", ENOSPC}, {"EFBIG", EFBIG},   {"EIO", EIO},
      {"EEXIST", EEXIST}, {"EINVAL", EINVAL}, {"ENOSYS", ENOSYS}, {"EPERM", EPERM}};
  return known.at(name);
}

Plan read_plan(const std::string& faults) {
  Plan p;
  std::istringstream in(faults);
  for (std::string word; in >> word;) {
    if (word == "appears") {
      p.appears = true;
    } else if (word == "interrupted") {
      p.interrupted = true;
    } else if (word == "short") {
      in >> p.short_writes;
      p.limit_writes = true;
    } else {
      std::string error;
      in >> error;
      const auto hash = word.find('#');
      const int nth = hash == word.npos ? 1 : std::stoi(word.substr(hash + 1));
      p.fail[{word.substr(0, hash), nth}] = errno_named(error);
    }
  }
  return p;
}

std::string outcome(const std::optional<OutputFailure>& failure) {
  if (!failure) return "written";
  static const char* const kSteps[] = {"create", "write", "sync", "close", "rename"};
  const std::map<int, std::string> names{{EACCES, "EACCES"}, {ENOSPC, "ENOSPC"}, {EFBIG, "EFBIG"},
                                         {EIO, "EIO"},       {EEXIST, "EEXIST"}, {EPERM, "EPERM"}};
  const auto name = names.find(failure->error);
  return std::string(kSteps[static_cast<int>(failure->step)]) + ' ' +
         (name == names.end() ? std::to_string(failure->error) : name->second);
}

class Faults : public testing::TestWithParam<Row> {};

// A row: faults | replace | outcome | what the name holds.
TEST_P(Faults, LeaveTheNameWholeAndNoTemporaryFile) {
  const fs::path folder = scratch_folder();
  plan = read_plan(GetParam().at(0));
  plan.target = folder / "results.csv";
  const bool replace = tables::trim(GetParam().at(1)) == "yes";
  if (replace) std::ofstream(plan.target) << "old";
  const auto failure = write_output_file(plan.target, kOutput, replace, kFaulty);
  EXPECT_EQ(outcome(failure), tables::trim(GetParam().at(2)));
  const std::string holds = tables::trim(GetParam().at(3));
  const std::string expected = holds == "new"   ? kOutput
                               : holds == "old" ? (plan.appears ? "appeared" : "old")
                                                : "";
  if (holds == "nothing") {
    EXPECT_EQ(entries(folder), std::vector<std::string>{});
  } else {
    EXPECT_EQ(entries(folder), std::vector<std::string>{"results.csv"});
    EXPECT_EQ(slurp(plan.target), expected);
  }
  fs::remove_all(folder);
}

std::string row_name(const testing::TestParamInfo<Row>& row) { return row.param.back(); }

INSTANTIATE_TEST_SUITE_P(Table, Faults,
                         testing::ValuesIn(tables::table_rows(fs::path(__FILE__).parent_path() /
                                                              "output_faults.txt")),
                         row_name);

// On real files: the mode of any new file, an existing file kept or replaced, a missing
// folder.
TEST(OutputFile, OnRealFiles) {
  const fs::path folder = scratch_folder();
  const mode_t mask = ::umask(027);
  EXPECT_EQ(write_output_file(folder / "a.csv", kOutput, false), std::nullopt);
  ::umask(mask);
  EXPECT_EQ(slurp(folder / "a.csv"), kOutput);
  struct stat status {};
  ASSERT_EQ(::stat((folder / "a.csv").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);

  const auto refused = write_output_file(folder / "a.csv", "other", false);
  ASSERT_TRUE(refused);
  EXPECT_EQ(outcome(refused), "rename EEXIST");
  EXPECT_EQ(slurp(folder / "a.csv"), kOutput);
  EXPECT_EQ(write_output_file(folder / "a.csv", "other", true), std::nullopt);
  EXPECT_EQ(slurp(folder / "a.csv"), "other");

  // A symbolic link at the name is replaced by the file, never written through.
  fs::create_symlink(folder / "a.csv", folder / "link.csv");
  EXPECT_EQ(write_output_file(folder / "link.csv", kOutput, true), std::nullopt);
  EXPECT_FALSE(fs::is_symlink(folder / "link.csv"));
  EXPECT_EQ(slurp(folder / "a.csv"), "other");

  // A name as long as a folder allows leaves no room for the temporary file's tag.
  const std::string longest(NAME_MAX, 'n');
  EXPECT_EQ(write_output_file(folder / longest, kOutput, false), std::nullopt);
  EXPECT_EQ(slurp(folder / longest), kOutput);
  fs::remove(folder / longest);

  const auto missing = write_output_file(folder / "no" / "b.csv", kOutput, false);
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->step, OutputStep::Create);
  EXPECT_EQ(missing->error, ENOENT);
  EXPECT_EQ(entries(folder), (std::vector<std::string>{"a.csv", "link.csv"}));
  fs::remove_all(folder);
}

// Exits 7 when the write failed with EFBIG.
[[noreturn]] void write_past_the_limit(const fs::path& path) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{4096, 4096};
  ::setrlimit(RLIMIT_FSIZE, &limit);
  const auto failure = write_output_file(path, std::string(10000, 'x'), false);
  std::exit(failure && failure->step == OutputStep::Write && failure->error == EFBIG ? 7 : 1);
}

// A file-size limit below the output's size: the write fails with EFBIG (the runtime
// ignores SIGXFSZ, as here) and nothing is left.
TEST(OutputFile, PastAFileSizeLimit) {
  const fs::path folder = scratch_folder();
  EXPECT_EXIT(write_past_the_limit(folder / "big.svg"), testing::ExitedWithCode(7), "");
  EXPECT_EQ(entries(folder), std::vector<std::string>{});
  fs::remove_all(folder);
}

// A signal while the temporary file is being written: the runtime's handlers remove it.
class Signals : public testing::TestWithParam<int> {};

TEST_P(Signals, RemoveTheTemporaryFile) {
  const fs::path folder = scratch_folder();
  static int signal_to_send;
  signal_to_send = GetParam();
  static const FileCalls raising{system_file_calls().open,
                                 [](int, const void*, std::size_t) -> ssize_t {
                                   ::raise(signal_to_send);
                                   return -1;
                                 },
                                 system_file_calls().fsync,
                                 system_file_calls().close,
                                 system_file_calls().rename,
                                 system_file_calls().rename_noreplace,
                                 system_file_calls().link,
                                 system_file_calls().unlink};
  const auto interrupted = [&] {
    // As from a terminal: a background job starts with some of them ignored.
    for (int s : {SIGINT, SIGQUIT, SIGHUP}) std::signal(s, SIG_DFL);
    start();
    write_output_file(folder / "r.json", kOutput, false, raising);
    std::exit(7);
  };
  EXPECT_EXIT(
      interrupted(), [](int status) { return !WIFEXITED(status) || WEXITSTATUS(status) != 7; }, "");
  EXPECT_EQ(entries(folder), std::vector<std::string>{});
  fs::remove_all(folder);
}

std::string signal_name(const testing::TestParamInfo<int>& signal) {
  return sigabbrev_np(signal.param);
}

INSTANTIATE_TEST_SUITE_P(Each, Signals, testing::Values(SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGABRT),
                         signal_name);

}  // namespace
}  // namespace rankora::rt
