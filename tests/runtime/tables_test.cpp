// Formatted fields, the list-directed text write, each read from its table beside this
// file, and the reader's fast decimal path against strtod.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "reader/table_syntax.hpp"
#include "runtime/format.hpp"
#include "runtime/list_read.hpp"
#include "runtime/units.hpp"
#include "runtime/write.hpp"

namespace rankora::rt {
namespace {

struct Row {
  std::string where;
  std::vector<std::string> fields;
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.where; }

std::vector<Row> rows(const std::string& table) {
  std::ifstream in(std::filesystem::path(__FILE__).parent_path() / table);
  std::vector<Row> rows;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    const std::string trimmed = tables::trim(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    rows.push_back({table + ":" + std::to_string(number), tables::split_fields(line)});
  }
  return rows;
}

std::string row_name(const testing::TestParamInfo<Row>& info) {
  return "line" + info.param.where.substr(info.param.where.find(':') + 1);
}

// A row: descriptors (Iw, Fw.d, nX, /) | their values, in order | the text written.
class Fields : public testing::TestWithParam<Row> {};

TEST_P(Fields, AreWrittenAsTheTableSays) {
  const std::vector<std::string>& f = GetParam().fields;
  std::istringstream descriptors(f.at(0)), values(f.at(1));
  std::vector<FormatItem> items;
  std::vector<FieldValue> given;
  for (std::string d, value; descriptors >> d;) {
    const int width = std::atoi(d.c_str() + (d[0] == 'I' || d[0] == 'F'));
    const auto point = d.find('.');
    if (d[0] != '/' && d.back() != 'X') values >> value;
    if (d[0] == 'I') given.emplace_back(static_cast<std::int32_t>(std::stol(value)));
    if (d[0] == 'F') given.emplace_back(std::strtod(value.c_str(), nullptr));
    items.push_back(d[0] == 'I'   ? int_field(width)
                    : d[0] == 'F' ? real_field(width, std::atoi(d.c_str() + point + 1))
                    : d[0] == '/' ? slash()
                                  : blanks(width));
  }
  EXPECT_EQ(render_format(items, given), tables::quoted_bytes(f.at(2)) + "\n") << GetParam().where;
}

INSTANTIATE_TEST_SUITE_P(Table, Fields, testing::ValuesIn(rows("fields.txt")), row_name);

// render_list takes an initializer list: one built for each count of items.
template <std::size_t N>
std::string render_items(const std::vector<std::string>& items) {
  return [&]<std::size_t... I>(std::index_sequence<I...>) {
    return render_list({std::string_view(items.at(I))...});
  }(std::make_index_sequence<N>{});
}

template <std::size_t... N>
constexpr auto renderers(std::index_sequence<N...>) {
  return std::array{&render_items<N>...};
}

// A row: the items, each a quoted string | the text written.
class ListWrite : public testing::TestWithParam<Row> {};

TEST_P(ListWrite, IsWrittenAsTheTableSays) {
  const std::vector<std::string> items = tables::quoted_pieces(GetParam().fields.at(0));
  static constexpr auto kRenderers = renderers(std::make_index_sequence<9>{});
  EXPECT_EQ(kRenderers.at(items.size())(items), tables::quoted_bytes(GetParam().fields.at(1)))
      << GetParam().where;
}

INSTANTIATE_TEST_SUITE_P(Table, ListWrite, testing::ValuesIn(rows("list_write.txt")), row_name);

// Up to 40 significant digits, on either side of the short path for 16, give the
// correctly rounded double.
TEST(DecimalPath, ReadsWhatStrtodReads) {
  std::mt19937_64 random(20240711);
  std::vector<std::string> numbers;
  std::string input;
  for (int k = 0; k < 20000; ++k) {
    std::string number = random() % 2 ? "-" : "";
    const auto digits = 1 + random() % (k % 2 ? 17 : 40);
    const auto point = random() % (digits + 1);
    for (std::uint64_t d = 0; d < digits; ++d) {
      if (d == point) number += '.';
      number += static_cast<char>('0' + (d == 0 ? 1 + random() % 9 : random() % 10));
    }
    const auto exponent = static_cast<long>(random() % (k % 3 ? 60 : 700)) - (k % 3 ? 30 : 350);
    numbers.push_back(number + "e" + std::to_string(exponent));
    input += numbers.back() + "\n";
  }
  const std::string path = testing::TempDir() + "decimal_path";
  std::ofstream(path, std::ios::binary) << input;
  open_old(kDataUnit, path);
  for (const std::string& number : numbers) {
    double value = -7.0;
    ListRead read(kDataUnit);
    read.read(value);
    read.finish();
    ASSERT_EQ(std::bit_cast<std::uint64_t>(value),
              std::bit_cast<std::uint64_t>(std::strtod(number.c_str(), nullptr)))
        << number;
  }
  close_unit(kDataUnit);
}

}  // namespace
}  // namespace rankora::rt
