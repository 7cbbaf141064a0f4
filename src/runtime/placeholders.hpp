// Texts with named placeholders, "{name}", filled in one pass. The runtime holds no
// texts of its own: its callers hand it patterns, and they fill theirs the same way.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace rankora::rt {

struct Placeholder {
  std::string_view name;   // without its braces
  std::string_view value;  // inserted as it stands
};

// `pattern` with every "{name}" that `values` names replaced by its value. A value is
// never scanned again (a typed file name may hold braces), and a placeholder that
// `values` does not name stays as it is written.
std::string fill(std::string_view pattern, std::span<const Placeholder> values);
inline std::string fill(std::string_view pattern, std::initializer_list<Placeholder> values) {
  return fill(pattern, std::span<const Placeholder>(values.begin(), values.size()));
}

}  // namespace rankora::rt
