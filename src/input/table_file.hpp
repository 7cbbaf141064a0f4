// The command line's table file reader: a table as people save it (spreadsheets, R's
// write.csv and write.table), with its size, names, separator and decimal mark found in
// the file itself. Everything is checked here, before anything is written anywhere.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/matrix.hpp"
#include "input/data_bytes.hpp"

namespace rankora {

enum class JudgesAre { Rows, Columns };

// How the file was written, as the reader found it.
struct TableLayout {
  char separator = ' ';  // ' ' (runs of blanks and tabs), '\t', ',' or ';'
  bool decimal_comma = false;
  bool header = false;       // a first line of names
  bool name_column = false;  // a first column of names
};

struct TableFile {
  std::int32_t judges = 0;
  std::int32_t objects = 0;
  JudgesAre judges_are = JudgesAre::Rows;
  TableLayout layout;
  // Empty when the file named none.
  std::vector<std::string> judge_names;
  std::vector<std::string> object_names;
};

// Why a file cannot be analysed, and where: what a message needs to say it.
struct TableProblem {
  enum class Kind {
    Utf16,              // "Unicode text" as spreadsheets name it
    Empty,              // nothing but blank lines
    NamesOnly,          // a line of names and no values
    QuoteNotClosed,     // at line, field: text is where the quote opens
    TextAfterQuote,     // at line, field
    Missing,            // at line, field: an empty field or a missing-value mark
    NotANumber,         // at line, field
    MixedDecimalMarks,  // at line, field; other_line, other_field, other_text: the first of the
                        // other mark
    Ragged,             // at line: count values where other_line has expected
    HeaderCount,        // line 1 holds count names for expected values (other_line)
    DuplicateName,      // judges (or objects) count and expected share the name text
    TooFew,             // judges x objects
    TooMany,            // judges x objects
  };
  Kind kind = Kind::Empty;
  std::int64_t line = 0;
  std::int32_t field = 0;  // from 1, the name column included
  std::string text;
  std::int64_t other_line = 0;
  std::int32_t other_field = 0;
  std::string other_text;
  std::int64_t count = 0;
  std::int64_t expected = 0;
  bool names_of_judges = false;  // DuplicateName: judges, else objects
  bool names_in_column =
      false;  // DuplicateName: from the first column (lines), else the first line (fields)
  char separator = ' ';
  // Where the table has them: the judge and object of a field, the size of the table.
  std::int32_t judge = 0;
  std::int32_t object = 0;
  std::int64_t judges = 0;
  std::int64_t objects = 0;
  JudgesAre judges_are = JudgesAre::Rows;
};

class TableFileError : public std::runtime_error {
 public:
  explicit TableFileError(TableProblem problem)
      : std::runtime_error("table file"), problem_(std::move(problem)) {}
  const TableProblem& problem() const { return problem_; }

 private:
  TableProblem problem_;
};

// Reads a data file: judge i's value for object j into mat(i, j), a matrix of max_judges
// rows (at least) and max_objects columns; nothing is written past them. Throws
// TableFileError for a table Rankora cannot analyse, as it is or within the capacity;
// `mat` may then hold part of it. A read that failed on the way ends the table where it
// stopped: the caller asks `bytes` first.
TableFile read_table_file(DataBytes& bytes, JudgesAre judges_are, MatrixView mat,
                          std::int32_t max_judges, std::int32_t max_objects);

}  // namespace rankora
