// Runs every case of a case table through the libf2c program and through our twin, each
// in a fresh scratch directory, and names every case whose standard output, error stream
// or exit status differ.
//
// Case table, one case a line ('#' starts a comment line):
//   name | script words | keyboard bytes | data file bytes (optional)
// Bytes are written as quoted strings with C escapes (\n \t \r \0 \\ \" \xHH), optionally
// repeated ("9"*50), and juxtaposed strings are joined; a keyboard field of <dir> makes
// standard input a directory. The data file is written as
// "data" when its field is present; every scratch directory also holds a directory "dir".
// The keyboard bytes and the captured streams live in hidden files beside them.
// A name that starts with '!' marks a known difference: it must still differ (so that the
// mark goes once the difference is gone) and does not fail the run.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Case {
  std::string where;  // file:line
  std::string name;
  bool known_difference = false;
  std::vector<std::string> script;
  std::string keyboard;
  bool keyboard_is_directory = false;
  std::optional<std::string> data;
};

struct Outcome {
  std::string out;
  std::string err;
  std::string status;
};

std::string trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  throw std::runtime_error("bad hex digit");
}

char unescape(const std::string& s, std::size_t& i) {
  const char c = s.at(i++);
  switch (c) {
    case 'n':
      return '\n';
    case 't':
      return '\t';
    case 'r':
      return '\r';
    case '0':
      return '\0';
    case '\\':
      return '\\';
    case '"':
      return '"';
    case '\'':
      return '\'';
    case 'x': {
      const int high = hex_value(s.at(i));
      const int low = hex_value(s.at(i + 1));
      i += 2;
      return static_cast<char>(high * 16 + low);
    }
    default:
      throw std::runtime_error(std::string("bad escape \\") + c);
  }
}

// A field made of quoted strings, each optionally followed by *count.
std::string parse_bytes(const std::string& field) {
  std::string bytes;
  std::size_t i = 0;
  for (;;) {
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) ++i;
    if (i == field.size()) return bytes;
    if (field[i] != '"') throw std::runtime_error("expected a quoted string");
    std::string piece;
    for (++i; field.at(i) != '"';) {
      if (field[i] == '\\') {
        ++i;
        piece += unescape(field, i);
      } else {
        piece += field[i++];
      }
    }
    ++i;
    std::size_t times = 1;
    if (i < field.size() && field[i] == '*') {
      std::size_t used = 0;
      times = std::stoul(field.substr(i + 1), &used);
      i += 1 + used;
    }
    for (std::size_t t = 0; t < times; ++t) bytes += piece;
  }
}

// Splits on '|' outside quoted strings.
std::vector<std::string> split_fields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '\\') {
      fields.back() += c;
      fields.back() += line.at(++i);
      continue;
    }
    if (c == '"') quoted = !quoted;
    if (c == '|' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::vector<Case> read_cases(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<Case> cases;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (trim(line).empty() || trim(line)[0] == '#') continue;
    Case c;
    c.where = path + ":" + std::to_string(number);
    try {
      const std::vector<std::string> fields = split_fields(line);
      if (fields.size() < 3 || fields.size() > 4) throw std::runtime_error("3 or 4 fields");
      c.name = trim(fields[0]);
      if (c.name.starts_with('!')) {
        c.known_difference = true;
        c.name.erase(0, 1);
      }
      std::istringstream words(fields[1]);
      for (std::string word; words >> word;) c.script.push_back(word);
      c.keyboard_is_directory = trim(fields[2]) == "<dir>";
      if (!c.keyboard_is_directory) c.keyboard = parse_bytes(fields[2]);
      if (fields.size() == 4) c.data = parse_bytes(fields[3]);
    } catch (const std::exception& e) {
      throw std::runtime_error(c.where + ": " + e.what());
    }
    cases.push_back(std::move(c));
  }
  return cases;
}

void write_file(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Starts `program` with the case's script in `dir`, the keyboard bytes on standard input.
pid_t launch(const std::string& program, const Case& c, const fs::path& dir) {
  fs::create_directories(dir / "dir");
  if (c.data) {
    write_file(dir / "data", *c.data);
  } else {
    fs::remove(dir / "data");
  }
  write_file(dir / ".keyboard", c.keyboard);
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(120);
    const int in = open(c.keyboard_is_directory ? "dir" : ".keyboard", O_RDONLY);
    const int out = open(".stdout", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(".stderr", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0) _exit(121);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& word : c.script) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    const rlimit no_core{0, 0};
    setrlimit(RLIMIT_CORE, &no_core);  // every abort would otherwise write a core file
    alarm(20);                         // a reader that never ends is a fault too
    execv(program.c_str(), argv.data());
    _exit(122);
  }
  return pid;
}

Outcome collect(pid_t pid, const fs::path& dir) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("wait failed");
  }
  Outcome o;
  o.out = read_file(dir / ".stdout");
  o.err = read_file(dir / ".stderr");
  o.status = WIFEXITED(status) ? "exit " + std::to_string(WEXITSTATUS(status))
                               : "signal " + std::to_string(WTERMSIG(status));
  return o;
}

// libf2c never marks a list-directed statement as sequential, and before the first
// statement it calls the state unformatted; our runtime always reports a sequential,
// formatted statement. That line is the one place where we differ on purpose.
std::string normalise_libf2c(const std::string& err) {
  static const std::regex lately("lately (reading|writing) direct (un)?formatted external IO");
  return std::regex_replace(err, lately, "lately $1 sequential formatted external IO");
}

std::string script_text(const Case& c) {
  std::string text;
  for (const std::string& word : c.script) text.append(text.empty() ? "" : " ").append(word);
  return text;
}

void show_difference(const char* what, const std::string& expected, const std::string& actual) {
  std::cout << "  " << what << " differs\n    libf2c: " << expected << "\n    ours:   " << actual
            << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: compare_list_read <libf2c program> <our program> <cases>... [-v]\n";
    return 2;
  }
  const std::string oracle = fs::absolute(argv[1]);
  const std::string twin = fs::absolute(argv[2]);
  bool verbose = false;
  std::vector<Case> cases;
  try {
    for (int a = 3; a < argc; ++a) {
      if (std::string(argv[a]) == "-v") {
        verbose = true;
        continue;
      }
      for (Case& c : read_cases(argv[a])) cases.push_back(std::move(c));
    }
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 2;
  }

  const auto start = std::chrono::steady_clock::now();
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/list-read-compare.XXXXXX";
  if (!mkdtemp(pattern.data())) return 2;
  const fs::path root(pattern);
  int failing = 0;
  int known = 0;
  for (const Case& c : cases) {
    // Both at once: the two programs never share a directory.
    const pid_t oracle_pid = launch(oracle, c, root / "libf2c");
    const pid_t twin_pid = launch(twin, c, root / "ours");
    const Outcome expected = collect(oracle_pid, root / "libf2c");
    const Outcome actual = collect(twin_pid, root / "ours");

    const std::string expected_err = normalise_libf2c(expected.err);
    const bool same = expected.out == actual.out && expected_err == actual.err &&
                      expected.status == actual.status;
    if (same == c.known_difference) {
      ++failing;
      std::cout << (same ? "NOW AGREES (drop its mark) " : "DIFFERS ") << c.name << " (" << c.where
                << ") script: " << script_text(c) << "\n";
    } else if (!same) {
      ++known;
      std::cout << "known difference " << c.name << "\n";
    } else if (verbose) {
      std::cout << "same " << c.name << ": " << expected.status << "\n"
                << expected.out << expected_err;
    }
    if (!same && (verbose || !c.known_difference)) {
      if (expected.out != actual.out) show_difference("stdout", expected.out, actual.out);
      if (expected_err != actual.err) show_difference("stderr", expected_err, actual.err);
      if (expected.status != actual.status)
        show_difference("status", expected.status, actual.status);
    }
  }
  fs::remove_all(root);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cout << cases.size() << " cases, " << failing << " failing, " << known
            << " known differences (" << seconds << " s)\n";
  return failing == 0 ? 0 : 1;
}
