// Formatted records and list-directed text writes, each from its table beside this file,
// the decimal conversion that both readers share, and its fast path against strtod.
#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "reader/table_syntax.hpp"
#include "runtime/decimal.hpp"
#include "runtime/format.hpp"
#include "runtime/list_read.hpp"
#include "runtime/units.hpp"
#include "runtime/write.hpp"

namespace rankora::rt {
namespace {

using Row = std::vector<std::string>;  // the fields, then the row's name

std::vector<Row> rows(const std::string& table) {
  return tables::table_rows(std::filesystem::path(__FILE__).parent_path() / table);
}

std::string row_name(const testing::TestParamInfo<Row>& info) { return info.param.back(); }

class Fields : public testing::TestWithParam<Row> {};

// A row: descriptors (Iw, Fw.d, nX, /) | their values in order | the text written.
TEST_P(Fields, AreWrittenAsTheTableSays) {
  std::istringstream descriptors(GetParam().at(0)), values(GetParam().at(1));
  std::vector<FormatItem> items;
  std::vector<FieldValue> given;
  for (std::string d, value; descriptors >> d;) {
    const int width = std::atoi(d.c_str() + (d[0] == 'I' || d[0] == 'F'));
    if (d[0] == 'I' || d[0] == 'F') values >> value;
    if (d[0] == 'I') given.emplace_back(static_cast<std::int32_t>(std::stol(value)));
    if (d[0] == 'F') given.emplace_back(std::strtod(value.c_str(), nullptr));
    items.push_back(d[0] == 'I'   ? int_field(width)
                    : d[0] == 'F' ? real_field(width, std::atoi(d.c_str() + d.find('.') + 1))
                    : d[0] == '/' ? slash()
                                  : blanks(width));
  }
  EXPECT_EQ(render_format(items, given), tables::quoted_bytes(GetParam().at(2)) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Table, Fields, testing::ValuesIn(rows("fields.txt")), row_name);

// render_list takes an initializer list, whose length is fixed where it is written.
template <std::size_t... I>
std::string render(const Row& items, std::index_sequence<I...>) {
  return render_list({std::string_view(items[I])...});
}

template <std::size_t... N>
std::string render_any(const Row& items, std::index_sequence<N...>) {
  std::string text = "too many items";
  ((items.size() == N ? void(text = render(items, std::make_index_sequence<N>{})) : void()), ...);
  return text;
}

class ListWrite : public testing::TestWithParam<Row> {};

// A row: the items, each a quoted string | the text written.
TEST_P(ListWrite, IsWrittenAsTheTableSays) {
  const Row items = tables::quoted_pieces(GetParam().at(0));
  EXPECT_EQ(render_any(items, std::make_index_sequence<9>{}),
            tables::quoted_bytes(GetParam().at(1)));
}

INSTANTIATE_TEST_SUITE_P(Table, ListWrite, testing::ValuesIn(rows("list_write.txt")), row_name);

class Decimal : public testing::TestWithParam<Row> {};

std::string bits(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%a", value);
  return text;
}

// The list reader's value of `text` on a line of its own in a data file, one file a row:
// rows run side by side.
double list_read_value(const std::string& text, const std::string& row) {
  const std::string path = testing::TempDir() + "decimal_row_" + row;
  std::ofstream(path) << text << "\n";
  open_old(kDataUnit, path);
  double value = -7.0;
  {
    ListRead read(kDataUnit);
    read.read(value);
    read.finish();
  }
  close_unit(kDataUnit);
  return value;
}

// A row: name | decimal mark | text | the table reader's value | the list reader's value.
TEST_P(Decimal, ReadsAsTheTableSays) {
  const std::string raw = tables::trim(GetParam().at(1));
  const std::string text = raw.starts_with('"') ? tables::quoted_bytes(raw) : raw;
  const std::string table = tables::trim(GetParam().at(2));
  const std::string list = tables::trim(GetParam().at(3));
  double value = -7.0;
  const bool read = parse_decimal(text, tables::trim(GetParam().at(0)).at(0), value);
  EXPECT_EQ(read, table != "refused");
  if (read) {
    EXPECT_EQ(bits(value), bits(std::strtod(table.c_str(), nullptr)));
  }
  if (list != "-") {
    EXPECT_EQ(bits(list_read_value(text, GetParam().back())),
              bits(std::strtod(list.c_str(), nullptr)));
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Decimal, testing::ValuesIn(rows("decimal.txt")), row_name);

// Up to 40 significant digits, on either side of the short path's 16, give the correctly
// rounded double in both readers (a minus zero is read as plus zero, so no zero is drawn).
TEST(DecimalPath, ReadsWhatStrtodReads) {
  std::mt19937_64 random(20240711);
  std::vector<std::string> numbers(20000);
  std::string input;
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    const auto digits = 1 + random() % (k % 2 ? 17 : 40), point = random() % (digits + 1);
    std::string& number = numbers[k] = random() % 2 ? "-" : "";
    for (std::uint64_t d = 0; d < digits; ++d) {
      if (d == point) number += '.';
      number += static_cast<char>('0' + (d == 0 ? 1 + random() % 9 : random() % 10));
    }
    const auto exponent = static_cast<int>(random() % (k % 3 ? 60 : 700)) - (k % 3 ? 30 : 350);
    input += number.append("e").append(std::to_string(exponent)) + "\n";
  }
  const std::string path = testing::TempDir() + "decimal_path";
  std::ofstream(path) << input;
  open_old(kDataUnit, path);
  for (const std::string& number : numbers) {
    double value = 0.0;
    ListRead read(kDataUnit);
    read.read(value);
    read.finish();
    const auto expected = std::bit_cast<std::uint64_t>(std::strtod(number.c_str(), nullptr));
    ASSERT_EQ(std::bit_cast<std::uint64_t>(value), expected) << number;
    double table_value = 0.0;
    ASSERT_TRUE(parse_decimal(number, '.', table_value)) << number;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(table_value), expected) << number;
  }
  close_unit(kDataUnit);
}

}  // namespace
}  // namespace rankora::rt
