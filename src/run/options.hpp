// The command line: `rankora` alone is the dialogue; `rankora [OPTION]... DATA_FILE` runs
// without questions; --csv, --json, --svg and --force also go with the dialogue.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input/table_file.hpp"

namespace rankora {

// An output file and the option that named it.
struct OutputFile {
  std::string option;  // "--report", "--csv", ...
  std::string path;
};

struct Options {
  // Without a data file, the dialogue asks for the table, the ties and the permutations.
  std::optional<std::string> data_file;  // "-" is the standard input
  JudgesAre judges_are = JudgesAre::Rows;
  std::int32_t ties = 1;  // 1 with the correction for ties, 2 without
  std::int32_t nperm = 999;
  std::int32_t lang = 2;  // 1 French, 2 English
  std::string report = "Rankora.out";
  bool force = false;
  std::optional<std::uint32_t> seed;  // as srand(seed); the dialogue's draws without it
  bool quiet = false;
  // Threads of the permutation tests; RANKORA_THREADS, else every core, without it.
  std::optional<std::int32_t> threads;
  // Written once the report is complete; empty when not asked for.
  std::string csv;
  std::string json;
  std::string svg;

  // The files the run will create, in the order they are checked.
  std::vector<OutputFile> outputs() const;
};

struct CommandLine {
  enum class Action { Run, Help, Version, UsageError };
  Action action = Action::Run;
  Options options;
  std::string error;  // for UsageError: the whole message, lines ended
};

// French when the locale (LC_ALL, then LC_MESSAGES, then LANG: the first that is set)
// starts with "fr"; English otherwise.
std::int32_t locale_language();

CommandLine parse_command_line(int argc, const char* const* argv);

// "1.1.0": the project's version, as the build gives it.
std::string_view rankora_version();

}  // namespace rankora
