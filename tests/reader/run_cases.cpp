// Runs every case of the reader's table (cases.txt says how it is written) in a scratch
// directory and names each case whose standard output, error stream or exit status is
// not the one the table gives, showing what it got in the table's own form.
//   run_cases TABLE                   our reader, through this program as its twin
//   run_cases --libf2c PROGRAM TABLE  libf2c's reader
//   run_cases --twin WORDS...         the twin: the script words run with our reader
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

#include "runtime/process.hpp"
#include "script.hpp"
#include "table_syntax.hpp"

namespace {

namespace fs = std::filesystem;
using namespace rankora;

struct Case {
  std::string where, name, script, keyboard;
  std::optional<std::string> data;
  std::string expected;  // the table's lines under the case
};

int twin(int argc, char** argv) {
  rt::connect_standard_units();
  tables::Script script;
  for (int a = 0; a < argc; ++a) {
    std::string line;
    if (!script.run(argv[a], line)) return 2;
    rt::write_all(1, line);  // at once: a later fatal error must not lose it
  }
  return 0;
}

std::vector<Case> read_cases(const std::string& path) {
  std::ifstream in(path);
  std::vector<Case> cases;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (tables::trim(line).empty() || line[0] == '#') continue;
    if (line[0] == ' ') {
      cases.at(cases.size() - 1).expected += line + "\n";
      continue;
    }
    const std::vector<std::string> fields = tables::split_fields(line);
    Case& c =
        cases.emplace_back(Case{path + ":" + std::to_string(number), tables::trim(fields.at(0)),
                                fields.at(1), tables::trim(fields.at(2)), std::nullopt, ""});
    if (c.keyboard != "<dir>") c.keyboard = tables::quoted_bytes(c.keyboard);
    if (fields.size() > 3) c.data = tables::quoted_bytes(fields[3]);
  }
  return cases;
}

// What the run in `dir` (which holds a directory "dir") gave, written as the table
// writes it. Our own "rankora: " lines are left out, and libf2c's "direct" statements
// (it never calls a list-directed one sequential) are taken for the sequential ones.
std::string run(const std::string& program, const Case& c, const fs::path& dir) {
  std::ofstream(dir / ".keyboard", std::ios::binary) << c.keyboard;
  fs::remove(dir / "data");
  if (c.data) std::ofstream(dir / "data", std::ios::binary) << *c.data;
  const std::string input = c.keyboard == "<dir>" ? "dir" : ".keyboard";
  const int status = std::system(("cd '" + dir.string() + "' && ulimit -c 0 && exec " + program +
                                  " " + c.script + " <" + input + " >.out 2>.err")
                                     .c_str());
  std::string got;
  for (const std::string tag : {"out", "err"}) {
    std::ifstream in(dir / ("." + tag), std::ios::binary);
    for (std::string line; std::getline(in, line);) {
      if (line.starts_with("rankora: ")) continue;
      if (const auto at = line.find(" direct "); at != line.npos) {
        line.replace(at, line.find("formatted", at) - at, " sequential ");  // " direct (un)"
      }
      got += "  " + tag + "  " + line + "\n";
    }
  }
  return got +
         (WIFSIGNALED(status) ? "  signal " + std::to_string(WTERMSIG(status))
                              : "  exit " + std::to_string(WEXITSTATUS(status))) +
         "\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && argv[1] == std::string("--twin")) return twin(argc - 2, argv + 2);
  const bool libf2c = argc == 4 && argv[1] == std::string("--libf2c");
  if (argc != 2 && !libf2c) return 2;
  const std::string program = libf2c ? fs::absolute(argv[2]).string()
                                     : fs::canonical("/proc/self/exe").string() + " --twin";
  std::string scratch = (fs::temp_directory_path() / "reader-cases.XXXXXX").string();
  if (!mkdtemp(scratch.data()) || !fs::create_directory(fs::path(scratch) / "dir")) return 2;
  const std::vector<Case> cases = read_cases(argv[argc - 1]);
  int failing = 0;
  for (const Case& c : cases) {
    // '~': libf2c looks such bytes up past the end of its table; '!': it differs from us.
    if (libf2c && c.name.starts_with('~')) continue;
    const bool must_differ = libf2c && c.name.starts_with('!');
    if (const std::string got = run(program, c, scratch); (got == c.expected) == must_differ) {
      ++failing;
      std::cout << (must_differ ? "NOW AGREES (drop its mark) " : "FAILS ") << c.name << " ("
                << c.where << "), got:\n"
                << got;
    }
  }
  fs::remove_all(scratch);
  std::cout << cases.size() << " cases, " << failing << " failing\n";
  return failing == 0 && !cases.empty() ? 0 : 1;
}
