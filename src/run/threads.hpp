// How many threads the permutation tests run on.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace rankora {

inline constexpr std::int32_t kMaxThreads = 1024;

// RANKORA_THREADS's value: a whole number from 1 to kMaxThreads; absent (or empty), every
// core the system reports. Nothing for a value that is not a count.
std::optional<std::int32_t> thread_count(const char* setting, unsigned cores);

}  // namespace rankora
