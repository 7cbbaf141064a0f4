#include "runtime/progress.hpp"

#include <unistd.h>

#include <algorithm>
#include <atomic>

#include "runtime/process.hpp"

namespace rankora::rt {
namespace {

constexpr double kShowAfterSeconds = 0.5;  // before that, a projection is too rough
constexpr double kLongRunSeconds = 2.0;    // shorter runs show nothing
constexpr double kRedrawSeconds = 0.25;
constexpr double kCheckSeconds = 0.05;
constexpr std::size_t kMaxWidth = 79;

// Length of the line now on the terminal; read by the signal handlers.
std::atomic<int> shown_width{0};

void blank_out(int width) noexcept {
  char line[kMaxWidth + 2];
  std::size_t n = 0;
  line[n++] = '\r';
  for (int i = 0; i < width && n < sizeof line - 1; ++i) line[n++] = ' ';
  line[n++] = '\r';
  write_all(STDERR_FILENO, {line, n});
}

int percent(std::int64_t done, std::int64_t total) {
  if (total <= 0) return 100;
  return static_cast<int>(std::min<std::int64_t>(100, done * 100 / total));
}

}  // namespace

ProgressLine::ProgressLine(int lang, std::int64_t total_work)
    : enabled_(::isatty(STDERR_FILENO) == 1),
      french_(lang == 1),
      total_work_(total_work),
      start_(Clock::now()) {}

ProgressLine::~ProgressLine() { erase(); }

bool ProgressLine::due(std::int64_t work_done) {
  if (!enabled_ || work_done <= 0 || work_done < next_check_) return false;
  const Clock::time_point now = Clock::now();
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  // Tiny tables make millions of updates a second: look at the clock again only after
  // about as much work as 50 ms have done so far.
  const double per_second = static_cast<double>(work_done) / std::max(elapsed, 1e-6);
  next_check_ =
      work_done + std::max<std::int64_t>(1, static_cast<std::int64_t>(per_second * kCheckSeconds));
  if (!shown_) {
    if (elapsed < kShowAfterSeconds) return false;
    const double projected =
        elapsed * static_cast<double>(total_work_) / static_cast<double>(work_done);
    if (projected < kLongRunSeconds) return false;
  } else if (std::chrono::duration<double>(now - last_draw_).count() < kRedrawSeconds) {
    return false;
  }
  last_draw_ = now;
  return true;
}

void ProgressLine::global_test(std::int64_t work_done) {
  if (!due(work_done)) return;
  const int p = percent(work_done, total_work_);
  draw((french_ ? " Test global... " : " Global test... ") + std::to_string(p) + "%");
}

void ProgressLine::judges(std::int64_t work_done, std::int32_t judges_done,
                          std::int32_t judge_count) {
  if (!due(work_done)) return;
  const int p = percent(work_done, total_work_);
  draw((french_ ? " Juges testes: " : " Judges tested: ") + std::to_string(judges_done) +
       (french_ ? " sur " : " of ") + std::to_string(judge_count) + " (" + std::to_string(p) +
       "%)");
}

void ProgressLine::draw(const std::string& text) {
  const std::string shown = text.substr(0, kMaxWidth);
  const int width = static_cast<int>(shown.size());
  const int previous = shown_width.load();
  std::string line = "\r" + shown;
  if (previous > width) line.append(static_cast<std::size_t>(previous - width), ' ');
  write_all(STDERR_FILENO, line);
  shown_width.store(std::max(width, previous));
  shown_ = true;
}

void ProgressLine::erase() {
  if (!shown_) return;
  erase_progress_from_handler();
  shown_ = false;
}

void erase_progress_from_handler() noexcept {
  const int width = shown_width.exchange(0);
  if (width > 0) blank_out(width);
}

}  // namespace rankora::rt
