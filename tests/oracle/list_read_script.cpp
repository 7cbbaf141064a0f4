#include "list_read_script.hpp"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <span>

#include "runtime/list_read.hpp"
#include "runtime/units.hpp"

namespace rankora::oracle {
namespace {

constexpr std::size_t kNameLength = 79;

// A target that gets no value shows this, as in the libf2c program.
constexpr std::int32_t kUntouched = -7;

void append_double(std::string& out, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, " %a", value);
  out += buffer;
}

void append_text(std::string& out, std::span<const char> text) {
  out += " [";
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if (c >= 32 && c < 127) {
      out += static_cast<char>(c);
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02x", c);
      out += buffer;
    }
  }
  out += ']';
}

void open_data_file(std::string_view name) {
  std::string padded(name.substr(0, kNameLength));
  padded.resize(kNameLength, ' ');
  rt::open_old(rt::kDataUnit, padded);
}

}  // namespace

std::optional<Statement> parse_statement(std::string_view word) {
  if (word.size() < 2) return std::nullopt;
  const char kind = word[0];
  if (kind != 'i' && kind != 'd' && kind != 'c') return std::nullopt;
  int count = 0;
  auto [end, ec] = std::from_chars(word.data() + 1, word.data() + word.size(), count);
  if (ec != std::errc{} || end != word.data() + word.size()) return std::nullopt;
  const int limit = kind == 'c' ? kMaxText : kMaxItems;
  if (count < 1 || count > limit) return std::nullopt;
  return Statement{kind, count};
}

void ScriptRunner::run(std::string_view word, std::string& out) {
  if (!word.empty() && word[0] == 'F') {
    open_data_file(word.substr(1));
    unit_ = rt::kDataUnit;
    return;
  }
  const std::optional<Statement> statement = parse_statement(word);
  if (!statement) return;

  std::array<std::int32_t, kMaxItems> integers;
  std::array<double, kMaxItems> doubles;
  std::array<char, kMaxText> text;
  integers.fill(kUntouched);
  doubles.fill(kUntouched);
  text.fill('?');
  const auto n = static_cast<std::size_t>(statement->count);
  {
    rt::ListRead read(unit_);
    for (std::size_t k = 0; k < n && statement->kind == 'i'; ++k) read.read(integers[k]);
    for (std::size_t k = 0; k < n && statement->kind == 'd'; ++k) read.read(doubles[k]);
    if (statement->kind == 'c') read.read(std::span<char>(text.data(), n));
    read.finish();
  }

  out.append(word).append(":");
  for (std::size_t k = 0; k < n && statement->kind == 'i'; ++k) {
    out += ' ';
    out += std::to_string(integers[k]);
  }
  for (std::size_t k = 0; k < n && statement->kind == 'd'; ++k) append_double(out, doubles[k]);
  if (statement->kind == 'c') append_text(out, std::span<const char>(text.data(), n));
  out += '\n';
}

}  // namespace rankora::oracle
