// The command line's table file reader against its two tables beside this file: what it
// reads (reads.txt) and what it refuses, with the message the user gets (refuses.txt);
// each row also read in small chunks, as a file comes.
#include "input/table_file.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "reader/table_syntax.hpp"
#include "report/command_line.hpp"

namespace rankora {
namespace {

using Row = std::vector<std::string>;

std::vector<Row> rows(const std::string& table) {
  return tables::table_rows(std::filesystem::path(__FILE__).parent_path() / table);
}

std::string row_name(const testing::TestParamInfo<Row>& info) { return info.param.back(); }

std::string field(const Row& row, std::size_t k) { return tables::trim(row.at(k)); }

constexpr int kMaxJudges = 1000;
constexpr int kMaxObjects = 2000;

// The capacity's matrix, shared by every row.
MatrixView mat() {
  static std::vector<double> storage(std::size_t{kMaxJudges} * kMaxObjects);
  return {storage.data(), kMaxJudges};
}

// Both tables give the orientation in field 0, and the bytes in field `bytes`. The text
// comes `chunk` bytes at a time, as a file does.
TableFile read(const Row& row, std::size_t bytes, std::size_t chunk = std::string::npos) {
  const JudgesAre judges = field(row, 0) == "columns" ? JudgesAre::Columns : JudgesAre::Rows;
  const std::string text = tables::quoted_bytes(row.at(bytes));
  DataBytes source(text, chunk);
  return read_table_file(source, judges, mat(), kMaxJudges, kMaxObjects);
}

std::string number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// "1 2 / 3 4": each judge's values, judges apart.
std::string values_of(const TableFile& table) {
  std::string out;
  for (std::int32_t j = 1; j <= table.judges; ++j) {
    if (j > 1) out += "/ ";
    for (std::int32_t k = 1; k <= table.objects; ++k) out += number(mat()(j, k)) + " ";
  }
  return out;
}

// The table's values field in the same form: "x*N" is N copies of x, "_" a blank in x.
std::string expected_values(const std::string& written) {
  std::istringstream words(written);
  std::string expanded;
  for (std::string word; words >> word;) {
    std::size_t copies = 1;
    if (const auto star = word.rfind('*'); star != std::string::npos) {
      copies = std::stoul(word.substr(star + 1));
      word.erase(star);
    }
    std::replace(word.begin(), word.end(), '_', ' ');
    for (; copies > 0; --copies) expanded += word + " ";
  }
  std::istringstream items(expanded);
  std::string out;
  for (std::string item; items >> item;) {
    out += item == "/" ? "/ " : number(std::strtod(item.c_str(), nullptr)) + " ";
  }
  return out;
}

std::vector<std::string> expected_names(const std::string& written) {
  if (written == "-") return {};
  return tables::quoted_pieces(written);
}

std::string layout_of(const TableFile& table) {
  const TableLayout& l = table.layout;
  std::string out = l.separator == ';'    ? "semicolon"
                    : l.separator == ','  ? "comma"
                    : l.separator == '\t' ? "tab"
                                          : "blanks";
  if (l.decimal_comma) out += " decimal-comma";
  if (l.header) out += " header";
  if (l.name_column) out += " name-column";
  return out;
}

// What a read gives, in one text: the names, values and layout, or the message.
std::string outcome(const Row& row, std::size_t bytes, int lang, std::size_t chunk) {
  try {
    const TableFile table = read(row, bytes, chunk);
    std::string out = layout_of(table) + " | " + values_of(table);
    for (const auto* names : {&table.judge_names, &table.object_names}) {
      for (const std::string& name : *names) out += " | " + name;
    }
    return out;
  } catch (const TableFileError& error) {
    return report::explain_table_problem(lang, "data.csv", error.problem(), kMaxJudges,
                                         kMaxObjects);
  }
}

// A file comes a chunk at a time: wherever a chunk ends (in a number, a quote, a CRLF),
// the reader gives what it gives the whole text.
void expect_same_in_chunks(const Row& row, std::size_t bytes, int lang) {
  const std::string whole = outcome(row, bytes, lang, std::string::npos);
  for (std::size_t chunk : {1u, 2u, 3u, 7u, 64u}) {
    EXPECT_EQ(outcome(row, bytes, lang, chunk), whole) << "chunks of " << chunk;
  }
}

class Reads : public testing::TestWithParam<Row> {};

// name | judges | bytes | judge names | object names | values | layout
TEST_P(Reads, AsTheTableSays) {
  const Row& row = GetParam();
  const TableFile table = read(row, 1);
  EXPECT_EQ(table.judge_names, expected_names(field(row, 2)));
  EXPECT_EQ(table.object_names, expected_names(field(row, 3)));
  EXPECT_EQ(values_of(table), expected_values(field(row, 4)));
  EXPECT_EQ(layout_of(table), field(row, 5));
  expect_same_in_chunks(row, 1, 2);
}

INSTANTIATE_TEST_SUITE_P(Table, Reads, testing::ValuesIn(rows("reads.txt")), row_name);

class Refuses : public testing::TestWithParam<Row> {};

// name | judges | language | bytes | message
TEST_P(Refuses, WithTheTablesMessage) {
  const Row& row = GetParam();
  const int lang = field(row, 1) == "fr" ? 1 : 2;
  try {
    const TableFile table = read(row, 2);
    FAIL() << "read as " << table.judges << " x " << table.objects;
  } catch (const TableFileError& error) {
    EXPECT_EQ(
        report::explain_table_problem(lang, "data.csv", error.problem(), kMaxJudges, kMaxObjects),
        "rankora: " + field(row, 3));
  }
  expect_same_in_chunks(row, 2, lang);
}

INSTANTIATE_TEST_SUITE_P(Table, Refuses, testing::ValuesIn(rows("refuses.txt")), row_name);

}  // namespace
}  // namespace rankora
