// Rankora: concordance among judges. The dialogue, the report file's life and the
// order of a run.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include "analysis/rankora.hpp"
#include "input/lecture.hpp"
#include "report/notes.hpp"
#include "report/records.hpp"
#include "report/screen.hpp"
#include "run/report_observer.hpp"
#include "run/storage.hpp"
#include "run/threads.hpp"
#include "runtime/list_read.hpp"
#include "runtime/process.hpp"
#include "runtime/units.hpp"

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

void run(const Storage& s) {
  const std::int32_t lang = ask_language();
  rt::open_new(rt::kReportUnit, "Rankora.out");
  report::write_banner(rt::kScreenUnit, lang);
  report::write_banner(rt::kReportUnit, lang);
  report::show_capacity(lang, kMaxJudges, kMaxObjects);

  std::int32_t nobj = 0;
  std::int32_t njudge = 0;
  lecture(nobj, njudge, s.mat_view(), s.table_view(), kMaxObjects, kMaxJudges, lang);

  const std::int32_t ties = ask_ties(lang);
  const std::int32_t nperm = ask_permutations(lang);
  report::show_empty_line();
  report::write_permutation_count(lang, nperm);

  ReportObserver observer(lang);
  Concordance concordance;
  rankora(nobj, njudge, s.mat_view(), s.table_view(), nperm, ties, concordance, s.judges.span(),
          s.spearr_view(), s.varok.span(), s.rankora_work(), observer);

  report::show_empty_line();
  report::show_closing_message(lang);
  rt::close_unit(rt::kReportUnit);
}

}  // namespace
}  // namespace rankora

int main() {
  // The thread count changes no figure, only the time: a count that cannot be read is
  // said, and every core is used.
  const unsigned cores = std::thread::hardware_concurrency();
  const char* setting = std::getenv("RANKORA_THREADS");
  auto threads = rankora::thread_count(setting, cores);
  if (!threads) {
    std::fprintf(stderr,
                 "rankora: RANKORA_THREADS=%s is not a count of threads from 1 to %d: every "
                 "core is used\n",
                 setting, rankora::kMaxThreads);
    threads = rankora::thread_count(nullptr, cores);
  }
  rankora::rt::start();
  const auto storage = std::make_unique<rankora::Storage>(*threads);
  rankora::run(*storage);
  rankora::rt::stop();
}
