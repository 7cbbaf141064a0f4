// Runs every case of the reader's table (cases.txt says how it is written) in a scratch
// directory and names each case whose standard output, error stream or exit status is
// not the one the table gives, showing what it got in the table's own form.
//   run_cases TABLE                   our reader, through this program as its twin
//   run_cases --libf2c PROGRAM TABLE  libf2c's reader, where a case marked '!' must differ
//   run_cases --twin WORDS...         the twin: the script words run with our reader
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/process.hpp"
#include "script.hpp"
#include "table_syntax.hpp"

namespace {

namespace fs = std::filesystem;
using namespace rankora;

struct Outcome {
  std::string out, err, status;
  bool operator==(const Outcome&) const = default;
};

struct Case {
  std::string where, name, script, keyboard;
  bool known_difference = false;
  std::optional<std::string> data;
  Outcome expected;
};

int twin(int argc, char** argv) {
  rt::connect_standard_units();
  tables::Script script;
  for (int a = 0; a < argc; ++a) {
    std::string line;
    if (!script.run(argv[a], line)) {
      std::fprintf(stderr, "bad script word %s\n", argv[a]);
      return 2;
    }
    rt::write_all(1, line);  // at once: a later fatal error must not lose it
  }
  return 0;
}

std::vector<Case> read_cases(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<Case> cases;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    const std::string where = path + ":" + std::to_string(++number);
    std::istringstream words(line);
    std::string tag, text;
    if (!(words >> tag) || tag[0] == '#') continue;
    std::getline(words >> std::ws, text);
    if (line[0] == ' ' && !cases.empty()) {
      Outcome& e = cases.back().expected;
      if (tag == "out") {
        e.out += text + "\n";
      } else if (tag == "err") {
        e.err += text + "\n";
      } else if (tag == "exit" || tag == "signal") {
        e.status = tag + " " + text;
      } else {
        throw std::runtime_error(where + ": no such tag " + tag);
      }
      continue;
    }
    const std::vector<std::string> fields = tables::split_fields(line);
    if (fields.size() < 3 || fields.size() > 4) throw std::runtime_error(where + ": fields?");
    Case c{where, tables::trim(fields[0]), fields[1], tables::trim(fields[2]), false, {}, {}};
    c.known_difference = c.name.starts_with('!');
    if (c.keyboard != "<dir>") c.keyboard = tables::quoted_bytes(c.keyboard);
    if (fields.size() == 4) c.data = tables::quoted_bytes(fields[3]);
    cases.push_back(c);
  }
  return cases;
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Our own "rankora: " lines are left out, and libf2c's "direct" statements (it never
// calls a list-directed one sequential) are read as the sequential ones they are.
std::string comparable(const std::string& err) {
  std::istringstream lines(err);
  std::string kept;
  for (std::string line; std::getline(lines, line);) {
    for (const char* direct : {" direct unformatted ", " direct formatted "}) {
      if (const auto at = line.find(direct); at != std::string::npos) {
        line.replace(at, std::string(direct).size(), " sequential formatted ");
      }
    }
    if (!line.starts_with("rankora: ")) kept += line + "\n";
  }
  return kept;
}

// In `dir`, which holds a directory "dir": the data file as "data" when the case has one.
Outcome run(const std::string& program, const Case& c, const fs::path& dir) {
  std::ofstream(dir / ".keyboard", std::ios::binary) << c.keyboard;
  fs::remove(dir / "data");
  if (c.data) std::ofstream(dir / "data", std::ios::binary) << *c.data;
  const std::string input = c.keyboard == "<dir>" ? "dir" : ".keyboard";
  const std::string command = "cd '" + dir.string() + "' && ulimit -c 0 && exec " + program +
                              " " + c.script + " <" + input + " >.out 2>.err";
  const int status = std::system(command.c_str());
  return {read_file(dir / ".out"), comparable(read_file(dir / ".err")),
          WIFSIGNALED(status) ? "signal " + std::to_string(WTERMSIG(status))
                              : "exit " + std::to_string(WEXITSTATUS(status))};
}

std::string as_table(const Outcome& o) {
  std::string text;
  for (const auto& [tag, stream] : {std::pair{"out", &o.out}, std::pair{"err", &o.err}}) {
    std::istringstream lines(*stream);
    for (std::string line; std::getline(lines, line);) text += "  " + std::string(tag) + "  " + line + "\n";
  }
  return text + "  " + o.status + "\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--twin") return twin(argc - 2, argv + 2);
  const bool libf2c = argc == 4 && std::string(argv[1]) == "--libf2c";
  if (argc != 2 && !libf2c) {
    std::cerr << "usage: run_cases [--libf2c PROGRAM] TABLE\n";
    return 2;
  }
  const std::string program =
      libf2c ? fs::absolute(argv[2]).string() : fs::canonical("/proc/self/exe").string() + " --twin";
  const std::vector<Case> cases = read_cases(argv[argc - 1]);
  std::string scratch = (fs::temp_directory_path() / "reader-cases.XXXXXX").string();
  if (!mkdtemp(scratch.data()) || !fs::create_directory(fs::path(scratch) / "dir")) return 2;
  int failing = 0;
  for (const Case& c : cases) {
    if (libf2c && c.name.starts_with('~')) continue;
    const Outcome got = run(program, c, scratch);
    const bool must_differ = libf2c && c.known_difference;
    if ((got == c.expected) == must_differ) {
      ++failing;
      std::cout << (must_differ ? "NOW AGREES (drop its mark) " : "FAILS ") << c.name << " ("
                << c.where << "), got:\n" << as_table(got);
    }
  }
  fs::remove_all(scratch);
  std::cout << cases.size() << " cases, " << failing << " failing\n";
  return failing == 0 ? 0 : 1;
}
