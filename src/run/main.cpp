// Rankora: concordance among judges. The command line, the dialogue, the report file's
// life and the order of a run.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <thread>

#include "input/lecture.hpp"
#include "report/command_line.hpp"
#include "report/notes.hpp"
#include "report/records.hpp"
#include "report/screen.hpp"
#include "run/analyse.hpp"
#include "run/command_line.hpp"
#include "run/options.hpp"
#include "run/outputs.hpp"
#include "run/result_files.hpp"
#include "run/storage.hpp"
#include "run/threads.hpp"
#include "runtime/list_read.hpp"
#include "runtime/process.hpp"
#include "runtime/units.hpp"
#include "runtime/write.hpp"

namespace rankora {
namespace {

using report::Question;

// One answer: the first integer typed; the rest of its line is ignored. An answer with
// no value (a lone comma or slash) leaves `value` as it was.
void read_answer(std::int32_t& value, std::int32_t lang, Question question) {
  const report::AnswerContext context(lang, question);
  rt::ListRead answer(rt::kKeyboardUnit, &context);
  answer.read(value);
  answer.finish();
}

std::int32_t ask_language() {
  std::int32_t lang = 0;
  do {
    report::show_language_question();
    read_answer(lang, 0, Question::Language);
  } while (lang < 1 || lang > 2);
  return lang;
}

std::int32_t ask_ties(std::int32_t lang) {
  std::int32_t ties = 0;
  do {
    report::show_tie_question(lang);
    read_answer(ties, lang, Question::Ties);
  } while (ties < 1 || ties > 2);
  return ties;
}

// A negative count would make every probability meaningless: it is asked again.
std::int32_t ask_permutations(std::int32_t lang) {
  std::int32_t nperm = -1;
  do {
    report::show_empty_line();
    report::show_permutation_question(lang);
    read_answer(nperm, lang, Question::Permutations);
  } while (nperm < 0);
  return nperm;
}

// The dialogue, with the outputs the command line asked for.
void run(const Storage& s, const Options& options) {
  const std::int32_t lang = ask_language();
  const report::ReportOpenContext report_context(lang);
  rt::open_new(rt::kReportUnit, "Rankora.out", &report_context);
  report::write_banner(rt::kScreenUnit, lang);
  report::write_banner(rt::kReportUnit, lang);
  report::show_capacity(lang, kMaxJudges, kMaxObjects);

  std::int32_t nobj = 0;
  std::int32_t njudge = 0;
  TableAnswers answers;
  lecture(nobj, njudge, s.mat_view(), s.table_view(), kMaxObjects, kMaxJudges, lang, answers);

  const std::int32_t ties = ask_ties(lang);
  const std::int32_t nperm = ask_permutations(lang);
  report::show_empty_line();
  report::write_permutation_count(lang, nperm);

  const Concordance concordance = analyse(s, njudge, nobj, lang, nperm, ties);
  Options outputs = options;
  outputs.lang = lang;
  const bool written =
      write_outputs(outputs, concordance, s.judges.span().first(static_cast<std::size_t>(njudge)),
                    nullptr, answers);

  report::show_empty_line();
  report::show_closing_message(lang);
  rt::close_unit(rt::kReportUnit);
  if (!written) std::exit(kOutputNotWritten);
}

// The thread count changes no figure, only the time: -T wins; a RANKORA_THREADS that
// cannot be read is said, and every core is used.
std::int32_t threads_to_use(const Options& options) {
  if (options.threads) return *options.threads;
  const unsigned cores = std::thread::hardware_concurrency();
  const char* setting = std::getenv("RANKORA_THREADS");
  if (const auto threads = thread_count(setting, cores)) return *threads;
  report::warn_unreadable_thread_count(options.lang, setting, kMaxThreads);
  return *thread_count(nullptr, cores);
}

}  // namespace
}  // namespace rankora

int main(int argc, char** argv) {
  using namespace rankora;
  rt::start();
  const CommandLine command = parse_command_line(argc, argv);
  switch (command.action) {
    case CommandLine::Action::Help:
      rt::write_text(rt::kScreenUnit, report::help_text(command.options.lang));
      rt::stop();
    case CommandLine::Action::Version:
      rt::write_text(rt::kScreenUnit, report::version_text(rankora_version()));
      rt::stop();
    case CommandLine::Action::UsageError:
      rt::write_text(rt::kErrorUnit, command.error);
      std::exit(2);
    case CommandLine::Action::Run:
      break;
  }
  const Options& options = command.options;
  const auto storage = std::make_unique<Storage>(threads_to_use(options));
  if (options.data_file) run_without_questions(options, *storage);
  // Outputs the dialogue cannot write are refused before its first question.
  if (const auto trouble = check_outputs(options)) {
    rt::write_text(rt::kErrorUnit, *trouble);
    std::exit(2);
  }
  run(*storage, options);
  rt::stop();
}
