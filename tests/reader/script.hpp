// Read statements named by script words, run with our reader: iN (N integers), dN (N
// doubles), cN (one text of N characters), and FNAME, which opens the data file on unit
// 10 for the statements after it. Each statement appends the line libf2c_reader.c prints
// for it: the word, a colon, and what the targets hold afterwards (-7 or question marks
// where they got no value).
#pragma once

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/list_read.hpp"
#include "runtime/units.hpp"

namespace rankora::tables {

class Script {
 public:
  // False for a word that is neither a statement nor an opening.
  bool run(std::string_view word, std::string& out) {
    if (word.starts_with('F')) {
      std::string name(word.substr(1, 79));
      rt::open_old(rt::kDataUnit, name.append(79 - name.size(), ' '));  // a CHARACTER*79
      unit_ = rt::kDataUnit;
      return true;
    }
    int n = 0;
    const char* end = word.data() + word.size();
    if (word.size() < 2 || std::string_view("idc").find(word[0]) == word.npos ||
        std::from_chars(word.data() + 1, end, n).ptr != end || n < 1 ||
        n > (word[0] == 'c' ? 256 : 64)) {
      return false;
    }
    const char kind = word[0];
    const auto count = static_cast<std::size_t>(n);
    std::vector<std::int32_t> integers(count, -7);
    std::vector<double> doubles(count, -7.0);
    std::string text(count, '?');
    rt::ListRead read(unit_);
    for (std::size_t k = 0; k < count && kind == 'i'; ++k) read.read(integers[k]);
    for (std::size_t k = 0; k < count && kind == 'd'; ++k) read.read(doubles[k]);
    if (kind == 'c') read.read(std::span<char>(text));
    read.finish();

    char shown[32];
    out.append(word).append(":");
    for (std::size_t k = 0; k < count && kind != 'c'; ++k) {
      if (kind == 'i') std::snprintf(shown, sizeof shown, " %d", integers[k]);
      if (kind == 'd') std::snprintf(shown, sizeof shown, " %.17g", doubles[k]);
      out += shown;
    }
    for (std::size_t k = 0; k < count && kind == 'c'; ++k) {
      std::snprintf(shown, sizeof shown, "\\x%02x", static_cast<unsigned char>(text[k]));
      out +=
          (k == 0 ? " [" : "") + (text[k] >= 32 && text[k] < 127 ? std::string(1, text[k]) : shown);
    }
    out += kind == 'c' ? "]\n" : "\n";
    return true;
  }

 private:
  int unit_ = rt::kKeyboardUnit;
};

}  // namespace rankora::tables
