// A one-line progress display on the error stream for long analyses, shown only when
// the error stream is a terminal and the analysis will take more than about two
// seconds, redrawn in place a few times a second and erased without a trace.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace rankora::rt {

class ProgressLine {
 public:
  // `total_work` in any unit the updates also use.
  ProgressLine(int lang, std::int64_t total_work);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void global_test(std::int64_t work_done);
  void judges(std::int64_t work_done, std::int32_t judges_done, std::int32_t judge_count);
  // Leaves the terminal as if nothing had been shown.
  void erase();

 private:
  bool due(std::int64_t work_done);
  void draw(const std::string& text);

  using Clock = std::chrono::steady_clock;
  bool enabled_;
  bool french_;
  std::int64_t total_work_;
  Clock::time_point start_;
  Clock::time_point last_draw_{};
  bool shown_ = false;
  std::int64_t next_check_ = 0;  // the clock is read only about every 50 ms of work
};

// For the signal handlers and the fatal error report: erases a progress line that is
// on the terminal, with nothing but write(); safe in a signal handler.
void erase_progress_from_handler() noexcept;

}  // namespace rankora::rt
