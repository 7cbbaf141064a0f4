// Write statements on units: list-directed text, and formatted records.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "runtime/format.hpp"

namespace rankora::rt {

// The lines of a list-directed write of text items: each line starts with one blank,
// items are joined with no separator, and an item that would bring its line to 80
// characters or more starts a new one. No items gives one empty line.
std::string render_list(std::initializer_list<std::string_view> items);

// Text as it stands, for lines of our own (they are no write statement of the dialogue).
void write_text(int unit, std::string_view text);

void write_list(int unit, std::initializer_list<std::string_view> items);
void write_formatted(int unit, Format format, std::initializer_list<FieldValue> values = {});

}  // namespace rankora::rt
