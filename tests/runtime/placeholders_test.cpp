// Patterns filled from the table beside this file.
#include "runtime/placeholders.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "reader/table_syntax.hpp"

namespace rankora::rt {
namespace {

using Row = std::vector<std::string>;  // the fields, then the row's name

std::string row_name(const testing::TestParamInfo<Row>& row) { return row.param.back(); }

class Fill : public testing::TestWithParam<Row> {};

TEST_P(Fill, GivesTheTablesText) {
  const std::vector<std::string> pairs = tables::quoted_pieces(GetParam().at(1));
  ASSERT_EQ(pairs.size() % 2, 0u) << "a name without its value";
  std::vector<Placeholder> values;
  for (std::size_t i = 0; i < pairs.size(); i += 2) values.push_back({pairs[i], pairs[i + 1]});
  EXPECT_EQ(fill(tables::quoted_bytes(GetParam().at(0)), values),
            tables::quoted_bytes(GetParam().at(2)));
}

INSTANTIATE_TEST_SUITE_P(Table, Fill,
                         testing::ValuesIn(tables::table_rows(
                             std::filesystem::path(__FILE__).parent_path() / "placeholders.txt")),
                         row_name);

}  // namespace
}  // namespace rankora::rt
