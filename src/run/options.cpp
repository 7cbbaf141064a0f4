#include "run/options.hpp"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdlib>
#include <string_view>

#include "report/command_line.hpp"
#include "run/threads.hpp"

namespace rankora {
namespace {

using report::Usage;

// The value options of the command-line form, which the dialogue asks for itself.
struct ValueOption {
  const char* names;  // as CLI11 takes them
  const char* long_name;
  const char* short_name;  // or nullptr
};

constexpr ValueOption kJudges{"-j,--judges", "--judges", "-j"};
constexpr ValueOption kTies{"-t,--ties", "--ties", "-t"};
constexpr ValueOption kPermutations{"-p,--permutations", "--permutations", "-p"};
constexpr ValueOption kLang{"-l,--lang", "--lang", "-l"};
constexpr ValueOption kReport{"-o,--report", "--report", "-o"};
constexpr ValueOption kSeed{"--seed", "--seed", nullptr};
constexpr ValueOption kQuiet{"-q,--quiet", "--quiet", "-q"};
constexpr ValueOption kThreads{"-T,--threads", "--threads", "-T"};

// An unsigned decimal number no larger than `max`, and nothing else.
template <typename T>
std::optional<T> whole_number(const std::string& text, T max) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || text[0] == '-' || ec != std::errc() || ptr != end || value > max) return {};
  return value;
}

std::optional<std::int32_t> language_word(std::string_view word) {
  if (word == "fr") return 1;
  if (word == "en") return 2;
  return {};
}

// The language of the messages before the options are read: the one asked for with
// -l or --lang, when it is valid, or the locale's.
std::int32_t messages_language(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") break;
    std::optional<std::int32_t> lang;
    if ((arg == "-l" || arg == "--lang") && i + 1 < argc) lang = language_word(argv[i + 1]);
    if (arg.starts_with("--lang=")) lang = language_word(arg.substr(7));
    if (arg.starts_with("-l") && arg.size() > 2 && arg[2] != '-')
      lang = language_word(arg.substr(2));
    if (lang) return *lang;
  }
  return locale_language();
}

// How the user typed an option, for a message: the first argument that names it.
std::string typed(int argc, const char* const* argv, const ValueOption& option) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") break;
    const std::string_view name = arg.substr(0, arg.find('='));
    if (name == option.long_name) return std::string(name);
    if (option.short_name && arg.starts_with(option.short_name)) return option.short_name;
  }
  return option.long_name;
}

CommandLine refused(std::int32_t lang, Usage usage, std::string_view a = {},
                    std::string_view b = {}) {
  CommandLine command;
  command.action = CommandLine::Action::UsageError;
  command.error =
      report::usage_error(lang, usage, a, b) + "\n" + report::try_help_line(lang) + "\n";
  return command;
}

struct Given {
  std::string judges, ties, permutations, lang, report, seed, threads, csv, json, svg;
  bool force = false, quiet = false, help = false, version = false;
  std::vector<std::string> data_files;
};

// The values of the options given, each checked; the first wrong one is the error.
std::optional<CommandLine> take_values(const CLI::App& app, const Given& given, Options& o,
                                       std::int32_t lang) {
  const auto bad = [&](const char* option, const std::string& value) {
    return refused(lang, Usage::BadValue, option, value);
  };
  if (app.count(kJudges.long_name) > 0) {
    if (given.judges != "rows" && given.judges != "columns") return bad("--judges", given.judges);
    o.judges_are = given.judges == "rows" ? JudgesAre::Rows : JudgesAre::Columns;
  }
  if (app.count(kTies.long_name) > 0) {
    if (given.ties != "corrected" && given.ties != "uncorrected") return bad("--ties", given.ties);
    o.ties = given.ties == "corrected" ? 1 : 2;
  }
  if (app.count(kPermutations.long_name) > 0) {
    const auto nperm = whole_number<std::int32_t>(given.permutations, INT32_MAX);
    if (!nperm) return bad("--permutations", given.permutations);
    o.nperm = *nperm;
  }
  if (app.count(kLang.long_name) > 0) {
    const auto chosen = language_word(given.lang);
    if (!chosen) return bad("--lang", given.lang);
    o.lang = *chosen;
  }
  if (app.count(kSeed.long_name) > 0) {
    o.seed = whole_number<std::uint32_t>(given.seed, UINT32_MAX);
    if (!o.seed) return bad("--seed", given.seed);
  }
  if (app.count(kThreads.long_name) > 0) {
    o.threads = whole_number<std::int32_t>(given.threads, kMaxThreads);
    if (!o.threads || *o.threads < 1) return bad("--threads", given.threads);
  }
  // A file's name, not empty and not "-": the standard output is the screen's.
  const std::pair<const char*, const std::string*> files[] = {{"--report", &given.report},
                                                              {"--csv", &given.csv},
                                                              {"--json", &given.json},
                                                              {"--svg", &given.svg}};
  for (const auto& [option, name] : files) {
    if (app.count(option) > 0 && (name->empty() || *name == "-")) return bad(option, *name);
  }
  if (app.count(kReport.long_name) > 0) o.report = given.report;
  o.csv = given.csv;
  o.json = given.json;
  o.svg = given.svg;
  o.force = given.force;
  o.quiet = given.quiet;
  return {};
}

}  // namespace

std::vector<OutputFile> Options::outputs() const {
  std::vector<OutputFile> files;
  if (data_file) files.push_back({"--report", report});
  // The writers of the results as data come after the report.
  if (!csv.empty()) files.push_back({"--csv", csv});
  if (!json.empty()) files.push_back({"--json", json});
  if (!svg.empty()) files.push_back({"--svg", svg});
  return files;
}

std::int32_t locale_language() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != '\0')
      return std::string_view(value).starts_with("fr") ? 1 : 2;
  }
  return 2;
}

CommandLine parse_command_line(int argc, const char* const* argv) {
  const std::int32_t lang = messages_language(argc, argv);
  // CLI11 would take --force=no for no --force at all.
  for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
    const std::string_view arg = argv[i];
    for (std::string_view flag : {"--force", "--quiet", "--help", "--version"}) {
      if (arg.starts_with(flag) && arg.size() > flag.size() && arg[flag.size()] == '=') {
        return refused(lang, Usage::NoValueWanted, flag);
      }
    }
  }
  CLI::App app;
  app.set_help_flag();  // ours, in both languages
  app.allow_extras();   // unknown options, told apart below
  Given given;
  // As GNU programs do, the last of an option given twice counts.
  const auto last = CLI::MultiOptionPolicy::TakeLast;
  app.add_option(kJudges.names, given.judges)->multi_option_policy(last);
  app.add_option(kTies.names, given.ties)->multi_option_policy(last);
  app.add_option(kPermutations.names, given.permutations)->multi_option_policy(last);
  app.add_option(kLang.names, given.lang)->multi_option_policy(last);
  app.add_option(kReport.names, given.report)->multi_option_policy(last);
  app.add_option(kSeed.names, given.seed)->multi_option_policy(last);
  app.add_flag(kQuiet.names, given.quiet);
  // Options of both forms: the outputs of the results, and leave to replace them.
  app.add_option("--csv", given.csv)->multi_option_policy(last);
  app.add_option("--json", given.json)->multi_option_policy(last);
  app.add_option("--svg", given.svg)->multi_option_policy(last);
  app.add_flag("--force", given.force);
  app.add_option(kThreads.names, given.threads)->multi_option_policy(last);
  app.add_flag("-h,--help", given.help);
  app.add_flag("-V,--version", given.version);
  app.add_option("DATA_FILE", given.data_files);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ArgumentMismatch& mismatch) {
    // "--permutations: 1 required TEXT missing": the option is the text before the colon.
    const std::string what = mismatch.what();
    return refused(lang, Usage::MissingValue, what.substr(0, what.find(':')));
  } catch (const CLI::ParseError& error) {
    return refused(lang, Usage::Other, error.what());
  }
  for (const std::string& extra : app.remaining()) {
    if (extra != "--") return refused(lang, Usage::UnknownOption, extra);
  }

  CommandLine command;
  if (given.help || given.version) {
    command.action = given.help ? CommandLine::Action::Help : CommandLine::Action::Version;
    command.options.lang = lang;
    return command;
  }
  if (given.data_files.size() > 1) {
    return refused(lang, Usage::TwoDataFiles, given.data_files[0], given.data_files[1]);
  }
  Options& o = command.options;
  o.lang = lang;
  if (auto error = take_values(app, given, o, lang)) return *error;
  if (given.data_files.empty()) {
    for (const ValueOption* option :
         {&kJudges, &kTies, &kPermutations, &kLang, &kReport, &kSeed, &kQuiet}) {
      if (app.count(option->long_name) > 0) {
        return refused(lang, Usage::NeedsDataFile, typed(argc, argv, *option));
      }
    }
  } else {
    o.data_file = given.data_files[0];
  }
  return command;
}

std::string_view rankora_version() { return RANKORA_VERSION; }

}  // namespace rankora
