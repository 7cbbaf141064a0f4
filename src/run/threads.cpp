#include "run/threads.hpp"

#include <algorithm>
#include <charconv>

namespace rankora {

std::optional<std::int32_t> thread_count(const char* setting, unsigned cores) {
  const std::string_view text = setting == nullptr ? "" : setting;
  if (text.empty()) {
    // The standard lets the system say 0 when it does not know.
    return static_cast<std::int32_t>(std::clamp<unsigned>(cores, 1, kMaxThreads));
  }
  std::int32_t count = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
  if (error != std::errc{} || end != text.data() + text.size() || count < 1 || count > kMaxThreads)
    return std::nullopt;
  return count;
}

}  // namespace rankora
