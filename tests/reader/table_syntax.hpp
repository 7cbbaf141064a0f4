// What the test tables share: fields split on '|', and bytes written as
// quoted strings with C escapes (\n \t \r \0 \\ \" \' \xHH), each optionally repeated
// ("9"*50).
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace rankora::tables {

inline std::string trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  return first == s.npos ? "" : std::string(s.substr(first, s.find_last_not_of(" \t") - first + 1));
}

// A '|' inside bytes is written \x7c.
inline std::vector<std::string> split_fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, '|');) fields.push_back(field);
  return fields;
}

// The rows of a table file, each its fields then its name: a row is "name | fields", the
// name its test's whatever lines come and go (GoogleTest refuses a name taken twice or not
// an identifier). '#' lines are notes. A table without a row, or none, is an error.
inline std::vector<std::vector<std::string>> table_rows(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(in, line);) {
    if (trim(line).empty() || trim(line)[0] == '#') continue;
    rows.push_back(split_fields(line));
    rows.back().push_back(trim(rows.back().front()));
    rows.back().erase(rows.back().begin());
  }
  if (rows.empty()) throw std::runtime_error("no table, or no row in it: " + file.string());
  return rows;
}

// The rows named slow_... (or all the others): their tests are instantiated as Slow..., a
// name that keeps them out of the sanitizer builds (tests/CMakeLists.txt).
inline std::vector<std::vector<std::string>> slow_rows(std::vector<std::vector<std::string>> rows,
                                                       bool slow) {
  std::erase_if(rows, [&](const auto& row) { return row.back().starts_with("slow_") != slow; });
  return rows;
}

inline char unescape(std::string_view s, std::size_t& i) {
  static constexpr std::string_view kNames = "ntr0\\\"'", kBytes("\n\t\r\0\\\"'", 7);
  if (s.at(i) == 'x')
    return static_cast<char>(std::stoi(std::string(s.substr((i += 3) - 2, 2)), nullptr, 16));
  const auto k = kNames.find(s[i++]);
  if (k == s.npos) throw std::runtime_error("bad escape");
  return kBytes[k];
}

// Each quoted string of `field`, repeated as its *count says.
inline std::vector<std::string> quoted_pieces(std::string_view field) {
  std::vector<std::string> pieces;
  for (auto i = field.find_first_not_of(" \t"); i != field.npos;
       i = field.find_first_not_of(" \t", i)) {
    if (field[i] != '"') throw std::runtime_error("expected a quoted string");
    std::string piece;
    for (++i; field.at(i) != '"';) piece += field[i] == '\\' ? unescape(field, ++i) : field[i++];
    std::size_t times = 1, used = 0;
    if (++i < field.size() && field[i] == '*') {
      times = std::stoul(std::string(field.substr(i + 1)), &used);
      i += 1 + used;
    }
    for (pieces.emplace_back(); times > 0; --times) pieces.back() += piece;
  }
  return pieces;
}

inline std::string quoted_bytes(std::string_view field) {
  std::string bytes;
  for (const std::string& piece : quoted_pieces(field)) bytes += piece;
  return bytes;
}

}  // namespace rankora::tables
