// Internal to the runtime: the unit table itself.
#pragma once

#include <atomic>
#include <string>

#include "runtime/input_stream.hpp"

namespace rankora::rt::detail {

struct Unit {
  std::atomic<int> fd{-1};  // read by the signal handlers
  bool preconnected = false;
  bool named = false;
  std::string name;
  InputStream input;
};

Unit& unit_at(int unit);

}  // namespace rankora::rt::detail
