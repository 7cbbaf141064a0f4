// The data table reader: asks for the table's size, orientation and file name, and
// reads the file into `mat` and `table` (judge i, object j at (i, j)).
#pragma once

#include <cstdint>
#include <string>

#include "analysis/matrix.hpp"

namespace rankora {

// What the dialogue was told of the table beside its values, for the outputs that say it.
struct TableAnswers {
  std::string file;  // the data file's name as opened, trailing blanks off
  bool judges_are_rows = true;
};

// Either returns with the table read, or ends the run (too large a table, or a fatal
// I/O error).
//   nobj, njudge  out  n and m, as answered: at least 2 each, at most the capacities
//   mat, table    out  rows 1..m, columns 1..n: the data file's values, twice
//   maxobj, maxj  in   the capacities: larger tables stop the run (2, 3)
//   lang          in   1 French, 2 English
//   answers       out  the file's name and the orientation answered
void lecture(std::int32_t& nobj, std::int32_t& njudge, MatrixView mat, MatrixView table,
             std::int32_t maxobj, std::int32_t maxj, std::int32_t lang, TableAnswers& answers);

}  // namespace rankora
