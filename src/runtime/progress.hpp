// A one-line progress display on the error stream for long analyses, shown only when
// the error stream is a terminal and the analysis will take more than about two
// seconds: the phase, how far it has gone and, once it can be told, the time left.
// Redrawn in place a few times a second, never wider than the terminal, and erased
// without a trace.
#pragma once

#include <chrono>
#include <cstdint>
#include <limits>
#include <string>

namespace rankora::rt {

// The line's texts, in the user's language, with their placeholders.
struct ProgressTexts {
  std::string global_test;  // {percent} done, {left}: the time left or nothing
  std::string judges;       // {done} of {count} judges, {percent} done, {left}
  std::string time_left;    // {time}, such as "5 s" or "3 min"
};

class ProgressLine {
 public:
  // The work of each phase, in any unit the updates also use.
  ProgressLine(ProgressTexts texts, std::int64_t global_work, std::int64_t judges_work);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // Called in the analysis' inner loops: until the next look at the clock is due, an
  // update costs one comparison.
  void global_test(std::int64_t work_done) {
    if (work_done >= next_check_) [[unlikely]]
      show_global_test(work_done);
  }
  // `work_done` counts from the start of the analysis, the global test's work included.
  void judges(std::int64_t work_done, std::int32_t judges_done, std::int32_t judge_count) {
    if (work_done >= next_check_) [[unlikely]]
      show_judges(work_done, judges_done, judge_count);
  }
  // Leaves the terminal as if nothing had been shown.
  void erase();

 private:
  using Clock = std::chrono::steady_clock;

  void show_global_test(std::int64_t work_done);
  void show_judges(std::int64_t work_done, std::int32_t judges_done, std::int32_t judge_count);
  bool due(Clock::time_point now, std::int64_t work_done);
  void enter_judges_phase(Clock::time_point now, std::int64_t work_done);
  std::string time_left(Clock::time_point now, std::int64_t work_done) const;
  void draw(const std::string& text);

  static constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

  ProgressTexts texts_;
  std::int64_t global_work_;
  std::int64_t total_work_;
  Clock::time_point start_;
  Clock::time_point last_draw_{};
  bool shown_ = false;
  std::int64_t next_check_;  // the clock is read only about every 50 ms of work
  bool in_judges_phase_ = false;
  Clock::time_point phase_start_;
  std::int64_t phase_work_start_ = 0;
};

// For the signal handlers and the fatal error report: erases a progress line that is
// on the terminal, with nothing but write(); safe in a signal handler.
void erase_progress_from_handler() noexcept;

}  // namespace rankora::rt
