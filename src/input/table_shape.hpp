// The shape of a table file, from its first lines: the separator, whether a first line
// and a first column hold names, whether every line ends with a separator; and how a
// field's text is read as a value.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "input/data_bytes.hpp"
#include "input/records.hpp"

namespace rankora::table_reading {

// The lines that show the separator, the names and the trailing separators, as the first
// lines of a file show a reader what it holds.
constexpr int kSniffLines = 10;

struct Shape {
  bool trailing_separator = false;  // every line ends with a separator: no last column
  bool header = false;
  bool name_column = false;
};

// ' ' (runs of blanks and tabs), '\t', ',' or ';': the one on every one of the first
// lines of the file from byte `start`.
char find_separator(DataBytes& bytes, std::size_t start);
Shape find_shape(DataBytes& bytes, std::size_t start, char separator);

// Drops an empty last field when every line ends with a separator.
void drop_trailing_field(std::vector<Field>& fields, bool trailing_separator);

// NA, an empty field and the like.
bool is_missing_mark(std::string_view text);

enum class Mark { None, Point, Comma };

// A value's text: a number with a decimal point, or with a decimal comma where commas do
// not separate values. `mark` says which one it had.
bool read_value(std::string_view text, char separator, double& value, Mark& mark);

}  // namespace rankora::table_reading
