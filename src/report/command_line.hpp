// Every text of the command-line form, in French (lang 1) or English: its help, its
// usage and file errors, the problems of a table file, and its screen. Errors and
// warnings are whole lines that begin with "rankora: ", without their line end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "input/table_file.hpp"

namespace rankora::report {

// The name of the data file in messages and in the report when it is the standard input.
std::string_view standard_input_name(int lang);

std::string help_text(int lang);
std::string version_text(std::string_view version);

// Mistakes on the command line: each message is followed by try_help_line().
enum class Usage {
  UnknownOption,  // a: the option
  MissingValue,   // a: the option
  BadValue,       // a: the option, b: the value given
  TwoDataFiles,   // a, b: the two names
  NeedsDataFile,  // a: the option that the dialogue has no use for
  NoValueWanted,  // a: the flag given a value
  Other,          // a: the parser's own words
};
std::string usage_error(int lang, Usage usage, std::string_view a = {}, std::string_view b = {});
std::string try_help_line(int lang);

// Files that cannot be read or written as asked.
enum class FileTrouble {
  CannotRead,    // a: the file, b: the system's reason; followed by try_help_line()
  TooLarge,      // a: the file, b: its size in MB
  Exists,        // a: the file
  CannotCreate,  // a: the file, b: the system's reason
  SameOutput,    // a: the file, b and c: the two options that name it
  OutputIsData,  // a: the file, b: the option that names it
};
std::string file_error(int lang, FileTrouble trouble, std::string_view a, std::string_view b = {},
                       std::string_view c = {});

std::string explain_table_problem(int lang, std::string_view fname, const TableProblem& problem,
                                  std::int32_t max_judges, std::int32_t max_objects);

// The screen: what was read (27 judges x 30 objects from doubs.csv; names from the first
// row and column; decimal commas), and where the report went.
std::string table_read_line(int lang, std::string_view fname, const TableFile& table);
std::string report_written_line(int lang, std::string_view report);

}  // namespace rankora::report
