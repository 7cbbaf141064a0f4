// Whole sentences in both languages, {1}, {2}... standing for the parts filled in at run
// time, so that each language keeps its own word order.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "report/language.hpp"

namespace rankora::report {

struct Sentence {
  std::string_view fr, en;
};

inline std::string_view in(int lang, const Sentence& s) { return french(lang) ? s.fr : s.en; }

// `pattern` with {k} replaced by the k-th of `parts` (k from 1 to 9).
inline std::string filled(std::string_view pattern, std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const bool placeholder = pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' &&
                             pattern[i + 1] >= '1' &&
                             static_cast<std::size_t>(pattern[i + 1] - '1') < parts.size();
    if (placeholder) {
      out += *(parts.begin() + (pattern[i + 1] - '1'));
      i += 2;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

}  // namespace rankora::report
