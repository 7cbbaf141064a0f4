#include "runtime/placeholders.hpp"

namespace rankora::rt {

std::string fill(std::string_view pattern, std::span<const Placeholder> values) {
  std::string text;
  text.reserve(pattern.size());
  while (!pattern.empty()) {
    const std::size_t open = pattern.find('{');
    const std::size_t close = pattern.find('}', open);
    if (close == std::string_view::npos) break;
    const std::string_view name = pattern.substr(open + 1, close - open - 1);
    const Placeholder* found = nullptr;
    for (const Placeholder& value : values) {
      if (value.name == name) found = &value;
    }
    text.append(pattern.substr(0, open));
    // An unknown name: only its brace is passed, so that "{{x}" still finds "{x}".
    const std::size_t taken = found != nullptr ? close + 1 : open + 1;
    text.append(found != nullptr ? found->value : pattern.substr(open, 1));
    pattern.remove_prefix(taken);
  }
  return text.append(pattern);
}

}  // namespace rankora::rt
