// What the test tables share: fields split on '|' outside quotes, and bytes written as
// quoted strings with C escapes (\n \t \r \0 \\ \" \' \xHH), each optionally repeated
// ("9"*50).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace rankora::tables {

inline std::string trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(" \t") - first + 1));
}

inline std::vector<std::string> split_fields(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == '|' && !quoted) {
      fields.emplace_back();
      continue;
    }
    fields.back() += line[i];
    if (quoted && line[i] == '\\') fields.back() += line.at(++i);
  }
  return fields;
}

inline char unescape(std::string_view s, std::size_t& i) {
  static constexpr std::string_view kNames = "ntr0\\\"'";
  static constexpr std::string_view kBytes("\n\t\r\0\\\"'", 7);
  if (s.at(i) == 'x') {
    i += 3;
    return static_cast<char>(std::stoi(std::string(s.substr(i - 2, 2)), nullptr, 16));
  }
  const auto k = kNames.find(s[i++]);
  if (k == std::string_view::npos) throw std::runtime_error("bad escape");
  return kBytes[k];
}

// Each quoted string of `field`, repeated as its *count says.
inline std::vector<std::string> quoted_pieces(std::string_view field) {
  std::vector<std::string> pieces;
  for (auto i = field.find_first_not_of(" \t"); i != std::string_view::npos;
       i = field.find_first_not_of(" \t", i)) {
    if (field[i] != '"') throw std::runtime_error("expected a quoted string");
    std::string piece;
    for (++i; field.at(i) != '"';) piece += field[i] == '\\' ? unescape(field, ++i) : field[i++];
    std::size_t times = 1;
    if (++i < field.size() && field[i] == '*') {
      std::size_t used = 0;
      times = std::stoul(std::string(field.substr(i + 1)), &used);
      i += 1 + used;
    }
    pieces.emplace_back();
    while (times-- > 0) pieces.back() += piece;
  }
  return pieces;
}

inline std::string quoted_bytes(std::string_view field) {
  std::string bytes;
  for (const std::string& piece : quoted_pieces(field)) bytes += piece;
  return bytes;
}

}  // namespace rankora::tables
