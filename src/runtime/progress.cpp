#include "runtime/progress.hpp"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <utility>

#include "runtime/placeholders.hpp"
#include "runtime/process.hpp"

namespace rankora::rt {
namespace {

constexpr double kShowAfterSeconds = 0.5;  // before that, a projection is too rough
constexpr double kLongRunSeconds = 2.0;    // shorter runs show nothing
constexpr double kEstimateAfterSeconds = 1.0;
constexpr double kRedrawSeconds = 0.25;
constexpr double kCheckSeconds = 0.05;
constexpr int kFallbackColumns = 80;
constexpr int kMaxWidth = 79;  // the handlers' erase blanks at most this much

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

double seconds(std::chrono::steady_clock::duration span) {
  return std::chrono::duration<double>(span).count();
}

// The terminal's width less its last column: a character written there may wrap.
int line_room() {
  winsize size{};
  int columns = kFallbackColumns;
  if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) columns = size.ws_col;
  return std::min(columns - 1, kMaxWidth);
}

std::string percent(std::int64_t done, std::int64_t total) {
  const std::int64_t p = total <= 0 ? 100 : std::min<std::int64_t>(100, done * 100 / total);
  return std::to_string(p) + "%";
}

// Coarse steps: the estimate wavers, and a large figure that moves every redraw reads
// as noise.
std::string rounded_duration(double left) {
  const auto whole = [](double value) { return std::to_string(std::max(1L, std::lround(value))); };
  if (left < 10.0) return whole(std::ceil(left)) + " s";
  if (left < 60.0) return whole(5.0 * std::ceil(left / 5.0)) + " s";
  if (left < 7200.0) return whole(left / 60.0) + " min";
  return whole(left / 3600.0) + " h";
}

}  // namespace

ProgressLine::ProgressLine(ProgressTexts texts, std::int64_t global_work, std::int64_t judges_work)
    : texts_(std::move(texts)),
      global_work_(global_work),
      total_work_(global_work + judges_work),
      start_(Clock::now()),
      next_check_(::isatty(STDERR_FILENO) == 1 && total_work_ > 0 ? 0 : kNever),
      phase_start_(start_) {}

ProgressLine::~ProgressLine() { erase(); }

bool ProgressLine::due(Clock::time_point now, std::int64_t work_done) {
  const double elapsed = seconds(now - start_);
  // Tiny tables make millions of updates a second: look at the clock again only after
  // about as much work as 50 ms have done so far.
  const double per_second =
      static_cast<double>(std::max<std::int64_t>(work_done, 1)) / std::max(elapsed, 1e-6);
  next_check_ =
      work_done + std::max<std::int64_t>(1, static_cast<std::int64_t>(per_second * kCheckSeconds));
  if (!shown_) {
    if (elapsed < kShowAfterSeconds || work_done <= 0) return false;
    const double projected =
        elapsed * static_cast<double>(total_work_) / static_cast<double>(work_done);
    return projected >= kLongRunSeconds;
  }
  return seconds(now - last_draw_) >= kRedrawSeconds;
}

void ProgressLine::enter_judges_phase(Clock::time_point now, std::int64_t work_done) {
  in_judges_phase_ = true;
  phase_start_ = now;
  phase_work_start_ = work_done;
}

std::string ProgressLine::time_left(Clock::time_point now, std::int64_t work_done) const {
  // The phase's own pace once it has run a while: a judge's permutation and one of the
  // global test do not cost the same per unit of work.
  double elapsed = seconds(now - phase_start_);
  std::int64_t work = work_done - phase_work_start_;
  if (elapsed < kEstimateAfterSeconds || work <= 0) {
    elapsed = seconds(now - start_);
    work = work_done;
  }
  if (elapsed < kEstimateAfterSeconds || work <= 0) return {};
  const double left =
      elapsed * static_cast<double>(total_work_ - work_done) / static_cast<double>(work);
  return fill(texts_.time_left, {{"time", rounded_duration(left)}});
}

void ProgressLine::show_global_test(std::int64_t work_done) {
  const Clock::time_point now = Clock::now();
  if (!due(now, work_done)) return;
  last_draw_ = now;
  draw(fill(texts_.global_test,
            {{"percent", percent(work_done, global_work_)}, {"left", time_left(now, work_done)}}));
}

void ProgressLine::show_judges(std::int64_t work_done, std::int32_t judges_done,
                               std::int32_t judge_count) {
  const Clock::time_point now = Clock::now();
  if (!in_judges_phase_) enter_judges_phase(now, work_done);
  if (!due(now, work_done)) return;
  last_draw_ = now;
  draw(fill(texts_.judges, {{"done", std::to_string(judges_done)},
                            {"count", std::to_string(judge_count)},
                            {"percent", percent(judges_done, judge_count)},
                            {"left", time_left(now, work_done)}}));
}

void ProgressLine::draw(const std::string& text) {
  const int room = line_room();
  const std::string shown = text.substr(0, static_cast<std::size_t>(room));
  const int width = static_cast<int>(shown.size());
  // The rest of a longer line before is blanked, within the room there is now.
  const int previous = std::min(shown_width.load(), room);
  std::string line = "\r" + shown;
  if (previous > width) line.append(static_cast<std::size_t>(previous - width), ' ');
  // Stored first: a handler that strikes during the write then blanks all of it.
  shown_width.store(std::max(width, previous));
  write_all(STDERR_FILENO, line);
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
