// The dialogue's language: 1 is French, any other value English.
#pragma once

namespace rankora::report {

constexpr bool french(int lang) { return lang == 1; }

}  // namespace rankora::report
