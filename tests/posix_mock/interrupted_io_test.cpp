// write_all and the input's refill against calls that a signal interrupts or that do part
// of their work (plans.txt): read and write are wrapped at link time (-Wl,--wrap=...), and
// each call on the pipe under test takes the next planned outcome.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <filesystem>
#include <sstream>

#include "reader/table_syntax.hpp"
#include "runtime/input_stream.hpp"
#include "runtime/process.hpp"

extern "C" ssize_t __real_read(int fd, void* data, size_t size);
extern "C" ssize_t __real_write(int fd, const void* data, size_t size);

namespace {

int g_planned_fd = -1;
std::deque<std::string> g_plan;  // outcomes, as plans.txt writes them
int g_calls = 0;

// False (errno set) for a call that fails; otherwise the size it may move.
bool planned(int fd, std::size_t& size) {
  if (fd != g_planned_fd || (++g_calls, g_plan.empty())) return true;
  const std::string next = g_plan.front();
  g_plan.pop_front();
  if (next == "i" || next == "e") return errno = next == "i" ? EINTR : EIO, false;
  size = std::stoul(next) < size ? std::stoul(next) : size;
  return true;
}

}  // namespace

extern "C" ssize_t __wrap_read(int fd, void* data, size_t size) {
  return planned(fd, size) ? __real_read(fd, data, size) : -1;
}

extern "C" ssize_t __wrap_write(int fd, const void* data, size_t size) {
  return planned(fd, size) ? __real_write(fd, data, size) : -1;
}

namespace rankora::rt {
namespace {

using Row = std::vector<std::string>;

class Plan : public testing::TestWithParam<Row> {};

TEST_P(Plan, IsFollowed) {
  const Row& row = GetParam();
  const std::string bytes = tables::quoted_bytes(row.at(1));
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  std::istringstream outcomes(row.at(2));
  g_plan.assign(std::istream_iterator<std::string>(outcomes), {});
  g_calls = 0;
  const bool writing = tables::trim(row.at(0)) == "write";
  g_planned_fd = writing ? ends[1] : -1;
  std::string ending = write_all(ends[1], bytes) ? "done" : std::strerror(errno), through;
  ::close(ends[1]);
  InputStream in;
  in.attach(ends[0]);
  g_planned_fd = writing ? -1 : ends[0];
  for (int c; (c = in.get()) != kEof;) through.push_back(static_cast<char>(c));
  if (!writing) ending = in.error() != 0 ? std::strerror(in.error()) : "end";
  g_planned_fd = -1;
  ::close(ends[0]);
  EXPECT_EQ(through, tables::quoted_bytes(row.at(4)));
  EXPECT_EQ(ending, tables::trim(row.at(5)));
  EXPECT_EQ(g_calls, std::stoi(row.at(3)));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Plan,
    testing::ValuesIn(tables::table_rows(std::filesystem::path(__FILE__).parent_path() /
                                         "plans.txt")),
    [](const testing::TestParamInfo<Row>& row) { return row.param.back(); });

}  // namespace
}  // namespace rankora::rt
