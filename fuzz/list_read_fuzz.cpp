// Any bytes as keyboard answers or data file, read through the statements the program
// really makes. Besides the sanitizers' findings it traps on
// - a fatal report that is not one of the reader's, or is badly formed;
// - an integer statement whose values differ from those the same bytes give to double
//   targets (an integer is a real without point or exponent letter, then truncated).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "harness.hpp"
#include "runtime/list_read.hpp"

namespace {

using namespace rankora;

bool known_first_line(const std::string& line) {
  static const char* const kLines[] = {
      "list in: end of file",
      "read start: end of file",
      "invalid number: incomprehensible list input",
      "invalid integer: read unexpected character",
      "bad repetition count: incomprehensible list input",
      "exponent field: incomprehensible list input",
  };
  for (const char* known : kLines) {
    if (line == known) return true;
  }
  return false;
}

void check_report(const std::string& report, const std::string& data_path) {
  std::istringstream lines(report);
  std::string first, state, format, lately, extra;
  std::getline(lines, first);
  std::getline(lines, state);
  std::getline(lines, format);
  std::getline(lines, lately);
  const bool well_formed = known_first_line(first) &&
                           (state == "apparent state: unit 5 (unnamed)" ||
                            state == "apparent state: unit 10 named " + data_path) &&
                           format == "last format: list io" &&
                           lately == "lately reading sequential formatted external IO" &&
                           !std::getline(lines, extra) && report.back() == '\n';
  if (!well_formed) {
    std::fprintf(stderr, "malformed fatal report:\n%s", report.c_str());
    __builtin_trap();
  }
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// "i2: 5 -7" against "d2: 0x1.4p+2 -0x1.cp+2": every double, truncated, is the integer.
bool integers_match_doubles(const std::string& int_line, const std::string& double_line) {
  std::istringstream ints(int_line.substr(int_line.find(':') + 1));
  std::istringstream doubles(double_line.substr(double_line.find(':') + 1));
  for (std::string i, d; ints >> i;) {
    if (!(doubles >> d)) return false;
    if (std::to_string(rt::to_int32(std::strtod(d.c_str(), nullptr))) != i) return false;
  }
  return true;
}

void check_integers_against_doubles(const std::vector<std::string>& script,
                                    const fuzz::Outcome& as_integers) {
  std::vector<std::string> double_script;
  for (const std::string& word : script) double_script.push_back("d" + word.substr(1));
  const fuzz::Outcome as_doubles = fuzz::run_ours(double_script);
  const std::vector<std::string> int_lines = split_lines(as_integers.out);
  const std::vector<std::string> double_lines = split_lines(as_doubles.out);
  // The same bytes end the same way, unless the integers stopped at a point or an
  // exponent letter, which the doubles take in their stride.
  const bool integer_only_error =
      as_integers.fatal_report.starts_with("invalid integer: read unexpected character\n");
  bool agree = integer_only_error ? double_lines.size() >= int_lines.size()
                                  : double_lines.size() == int_lines.size() &&
                                        as_doubles.fatal_report == as_integers.fatal_report;
  for (std::size_t k = 0; agree && k < int_lines.size(); ++k) {
    agree = integers_match_doubles(int_lines[k], double_lines[k]);
  }
  if (!agree) {
    std::fprintf(stderr, "integers:\n%s%s\ndoubles:\n%s%s\n", as_integers.out.c_str(),
                 as_integers.fatal_report.c_str(), as_doubles.out.c_str(),
                 as_doubles.fatal_report.c_str());
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  fuzz::set_input(std::span(data + 1, size - 1));
  const std::vector<std::string> script = fuzz::script_for(data[0], fuzz::input_path());
  const fuzz::Outcome outcome = fuzz::run_ours(script);
  if (outcome.ended_fatally) check_report(outcome.fatal_report, fuzz::input_path());

  const fuzz::Shape shape = fuzz::shape_for(data[0]);
  if (shape == fuzz::Shape::OneInteger || shape == fuzz::Shape::TwoIntegers) {
    check_integers_against_doubles(script, outcome);
  }
  return 0;
}
