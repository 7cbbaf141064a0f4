// The thread count from RANKORA_THREADS and the cores (threads.txt).
#include "run/threads.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "reader/table_syntax.hpp"

namespace {

using Fields = std::vector<std::string>;

class ThreadCount : public testing::TestWithParam<Fields> {};

TEST_P(ThreadCount, IsReadOrRefused) {
  const Fields& f = GetParam();
  const std::string setting_field = rankora::tables::trim(f[0]);
  const std::string setting =
      setting_field.empty() ? "" : rankora::tables::quoted_bytes(setting_field);
  const auto cores = static_cast<unsigned>(std::stoul(f[1]));
  const auto got = rankora::thread_count(setting_field.empty() ? nullptr : setting.c_str(), cores);
  const std::string want = rankora::tables::trim(f[2]);
  if (want == "refused") {
    EXPECT_FALSE(got.has_value()) << *got;
  } else {
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, std::stoi(want));
  }
}

const auto kName = [](const testing::TestParamInfo<Fields>& info) { return info.param.back(); };
INSTANTIATE_TEST_SUITE_P(Settings, ThreadCount,
                         testing::ValuesIn(rankora::tables::table_rows(
                             std::filesystem::path(__FILE__).parent_path() / "threads.txt")),
                         kName);

}  // namespace
