// write_all and the input's refill against system calls that a signal interrupts or that
// do part of their work, as pipes and terminals make them. read and write are wrapped at
// link time (-Wl,--wrap=read,--wrap=write): on the pipe under test, each call takes the
// next planned outcome, then the calls go through again.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <string>

#include "runtime/input_stream.hpp"
#include "runtime/process.hpp"

extern "C" ssize_t __real_read(int fd, void* data, size_t size);
extern "C" ssize_t __real_write(int fd, const void* data, size_t size);

namespace {

// An outcome: at most `bytes` of the call done, or, with an error, none and that errno.
struct Outcome {
  std::size_t bytes = 0;
  int error = 0;
};
constexpr Outcome kInterrupted{0, EINTR};

int g_planned_fd = -1;
std::deque<Outcome> g_plan;
int g_calls = 0;

// The size the call may go on with, or -1 with errno set.
ssize_t planned(int fd, std::size_t& size) {
  if (fd != g_planned_fd) return 0;
  ++g_calls;
  if (g_plan.empty()) return 0;
  const Outcome next = g_plan.front();
  g_plan.pop_front();
  if (next.error != 0) {
    errno = next.error;
    return -1;
  }
  size = std::min(size, next.bytes);
  return 0;
}

}  // namespace

extern "C" ssize_t __wrap_read(int fd, void* data, size_t size) {
  return planned(fd, size) < 0 ? -1 : __real_read(fd, data, size);
}

extern "C" ssize_t __wrap_write(int fd, const void* data, size_t size) {
  return planned(fd, size) < 0 ? -1 : __real_write(fd, data, size);
}

namespace rankora::rt {
namespace {

class Pipe : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::pipe(ends_), 0);
    g_plan.clear();
    g_calls = 0;
  }
  void TearDown() override {
    g_planned_fd = -1;
    for (int& end : ends_)
      if (end >= 0) ::close(end);
  }
  // Everything left in the pipe once its writing end is closed.
  std::string drained() {
    g_planned_fd = -1;
    ::close(ends_[1]);
    ends_[1] = -1;
    std::string got;
    char buf[256];
    for (ssize_t n; (n = __real_read(ends_[0], buf, sizeof buf)) > 0;)
      got.append(buf, static_cast<std::size_t>(n));
    return got;
  }
  void fill(std::string_view text) {
    ASSERT_EQ(__real_write(ends_[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(ends_[1]);
    ends_[1] = -1;
  }
  int ends_[2] = {-1, -1};
};

using WriteAll = Pipe;

TEST_F(WriteAll, GoesOnAfterAnInterruption) {
  g_planned_fd = ends_[1];
  g_plan = {kInterrupted, kInterrupted};
  EXPECT_TRUE(write_all(ends_[1], "Rankora.out\n"));
  EXPECT_EQ(g_calls, 3);
  EXPECT_EQ(drained(), "Rankora.out\n");
}

TEST_F(WriteAll, FinishesWhatShortWritesLeave) {
  g_planned_fd = ends_[1];
  g_plan = {{1, 0}, {3, 0}, kInterrupted, {0, 0}, {2, 0}};
  EXPECT_TRUE(write_all(ends_[1], " Judge   Rbar(j)\n"));
  EXPECT_EQ(g_calls, 6);
  EXPECT_EQ(drained(), " Judge   Rbar(j)\n");
}

TEST_F(WriteAll, StopsAtAFailureWithItsError) {
  g_planned_fd = ends_[1];
  g_plan = {{4, 0}, kInterrupted, {0, EIO}};
  errno = 0;
  EXPECT_FALSE(write_all(ends_[1], "abcdefgh"));
  EXPECT_EQ(errno, EIO);
  EXPECT_EQ(g_calls, 3);
  EXPECT_EQ(drained(), "abcd");
}

using Refill = Pipe;

TEST_F(Refill, GoesOnAfterAnInterruption) {
  fill("12 7\n");
  InputStream in;
  in.attach(ends_[0]);
  g_planned_fd = ends_[0];
  g_plan = {kInterrupted, kInterrupted, {2, 0}, kInterrupted};
  std::string got;
  for (int c; (c = in.get()) != kEof;) got.push_back(static_cast<char>(c));
  EXPECT_EQ(got, "12 7\n");
  EXPECT_TRUE(in.at_end());
  EXPECT_EQ(in.error(), 0);
  EXPECT_EQ(in.offset(), 5);
}

TEST_F(Refill, EndsOnAFailureWithItsError) {
  fill("5\n");
  InputStream in;
  in.attach(ends_[0]);
  g_planned_fd = ends_[0];
  g_plan = {{1, 0}, kInterrupted, {0, EIO}};
  EXPECT_EQ(in.get(), '5');
  EXPECT_EQ(in.get(), kEof);
  EXPECT_EQ(in.error(), EIO);
  EXPECT_FALSE(in.at_end());
}

}  // namespace
}  // namespace rankora::rt
