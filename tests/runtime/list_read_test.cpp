// The list-directed reader, fed from a file on unit 10: values, null values, repeats,
// texts, the ends of statements and of the file, and the exact fatal error reports.
#include "runtime/list_read.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/units.hpp"

namespace rankora::rt {
namespace {

using namespace std::string_literals;

std::string temp_path(const std::string& name) { return testing::TempDir() + "list_read_" + name; }

void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string show(double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return buffer;
}

// Runs one read statement per script word (iN, dN, cN) on `unit`, every target starting
// at -7 or '?', and shows what each statement left, statements joined by " | ".
std::string run_script(int unit, const std::string& script) {
  std::istringstream words(script);
  std::string shown;
  for (std::string word; words >> word;) {
    const char kind = word[0];
    const auto n = static_cast<std::size_t>(std::stoi(word.substr(1)));
    std::vector<std::int32_t> integers(n, -7);
    std::vector<double> doubles(n, -7.0);
    std::string text(n, '?');
    {
      ListRead read(unit);
      for (std::size_t k = 0; k < n && kind == 'i'; ++k) read.read(integers[k]);
      for (std::size_t k = 0; k < n && kind == 'd'; ++k) read.read(doubles[k]);
      if (kind == 'c') read.read(std::span<char>(text));
      read.finish();
    }
    std::string line;
    for (std::size_t k = 0; k < n && kind == 'i'; ++k)
      line.append(k ? " " : "").append(std::to_string(integers[k]));
    for (std::size_t k = 0; k < n && kind == 'd'; ++k)
      line.append(k ? " " : "").append(show(doubles[k]));
    if (kind == 'c') line.append("[").append(text).append("]");
    shown.append(shown.empty() ? "" : " | ").append(line);
  }
  return shown;
}

class DataFile : public testing::Test {
 protected:
  void TearDown() override { close_unit(kDataUnit); }

  // Opens unit 10 on a fresh file holding `bytes`.
  void feed(const std::string& bytes) {
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '_');  // parameterised names hold slashes
    path_ = temp_path(name);
    write_file(path_, bytes);
    open_old(kDataUnit, path_);
  }

  std::string read(const std::string& bytes, const std::string& script) {
    feed(bytes);
    return run_script(kDataUnit, script);
  }

  std::string path_;
};

struct ReadCase {
  const char* name;
  std::string input;
  const char* script;
  std::string expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

template <typename Case>
std::string case_name(const testing::TestParamInfo<Case>& info) {
  return info.param.name;
}

class Values : public DataFile, public testing::WithParamInterface<ReadCase> {};

TEST_P(Values, AreRead) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(read(c.input, c.script), c.expected) << "input: " << testing::PrintToString(c.input);
}

INSTANTIATE_TEST_SUITE_P(
    Integers, Values,
    testing::Values(
        ReadCase{"plain", "5\n", "i1", "5"}, ReadCase{"signs", "-5 +6\n", "i2", "-5 6"},
        ReadCase{"extremes", "2147483647 -2147483648\n", "i2", "2147483647 -2147483648"},
        // Out of range is the indefinite value, never the low 32 bits (4294967301 = 2^32 + 5).
        ReadCase{"beyond_32_bits", "2147483648 4294967301 -2147483649\n", "i3",
                 "-2147483648 -2147483648 -2147483648"},
        ReadCase{"sign_exponent", "1+5 12-1\n", "i2", "100000 1"},
        ReadCase{"truncated_to_zero", "15-1 -15-1 9-1\n", "i3", "1 -1 0"},
        ReadCase{"lines_until_full", "\n1\n\n  2\n3 4\n", "i3", "1 2 3"},
        ReadCase{"comma_separates", "5,6\n", "i2", "5 6"},
        ReadCase{"comma_after_line_end", "5,\n6\n", "i2", "5 6"},
        ReadCase{"empty_between_commas", "5,,6\n", "i3", "5 -7 6"},
        ReadCase{"lone_comma", ",\n", "i1", "-7"}, ReadCase{"slash_ends", "5/6\n", "i2", "5 -7"},
        ReadCase{"lone_slash", "/\n9\n", "i1 i1", "-7 | 9"},
        ReadCase{"rest_of_line_skipped", "1 2 3\n4\n", "i1 i1", "1 | 4"},
        ReadCase{"digits_then_letters", "5abc\n", "i1", "5"},
        ReadCase{"carriage_return_ends_value", "5\r\n", "i1", "5"},
        ReadCase{"tabs", "\t5\t,\t6\n", "i2", "5 6"}),
    case_name<ReadCase>);

INSTANTIATE_TEST_SUITE_P(
    Repeats, Values,
    testing::Values(ReadCase{"three", "3*5\n", "i3", "5 5 5"},
                    ReadCase{"then_more", "2*5 6\n", "i3", "5 5 6"},
                    ReadCase{"left_over_dropped", "3*5\n6\n", "i1 i1", "5 | 6"},
                    ReadCase{"nulls", "2* 5\n", "i3", "-7 -7 5"},
                    ReadCase{"nulls_then_comma", "2*,5\n", "i3", "-7 -7 5"},
                    ReadCase{"null_over_line_end", "2*\n5\n", "i3", "-7 -7 5"},
                    ReadCase{"comma_kept_for_next", "2*5,,6\n", "i4", "5 5 -7 6"},
                    // Counts are cut to 32 bits: 2^32 is none, 2^32 + 1 is one.
                    ReadCase{"count_two_to_32", "4294967296*5 6\n", "i2", "5 6"},
                    ReadCase{"count_two_to_32_plus_one", "4294967297*5 6 7\n", "i3", "5 6 7"},
                    // A negative count never runs out: each item then reads straight on.
                    ReadCase{"count_two_to_31", "2147483648*5 7\n", "i2", "5 7"},
                    ReadCase{"reals", "4*1.5 4*-2\n", "d8", "1.5 1.5 1.5 1.5 -2 -2 -2 -2"},
                    ReadCase{"text", "3*abc\n", "c5", "[abc  ]"}),
    case_name<ReadCase>);

INSTANTIATE_TEST_SUITE_P(
    Reals, Values,
    testing::Values(
        ReadCase{"typical", "37.5 12 8\n", "d3", "37.5 12 8"},
        ReadCase{"forms", "4.75 -3 1.5E2 1.5e-2 2.5D-3 1.5d2\n", "d6",
                 "4.75 -3 150 0.014999999999999999 0.0025000000000000001 150"},
        ReadCase{"sign_exponent", "1.5+2 1.5-2\n", "d2", "150 0.014999999999999999"},
        ReadCase{"points", ".5 5. -.5\n", "d3", "0.5 5 -0.5"},
        // A minus sign with no nonzero digit gives plus zero.
        ReadCase{"minus_zero", "-0 -0.0 -0e5\n", "d3", "0 0 0"},
        ReadCase{"underflow_keeps_sign", "1e-400 -1e-400\n", "d2", "0 -0"},
        ReadCase{"overflow", "1e400 -1e99999999\n", "d2", "inf -inf"},
        ReadCase{"longest_exponent", "1e-99999999 1e0000000000000005\n", "d2", "0 100000"},
        ReadCase{"two_points", "1.2.3\n", "d2", "1.2 0.29999999999999999"},
        ReadCase{"decimal_comma_is_two_values", "1,5\n", "d2", "1 5"},
        // Only 40 significant digits count: the 41st would round these up.
        ReadCase{"forty_digits_one", "1.000000000000000111022302462515654042363166809082031251\n",
                 "d1", "1"},
        ReadCase{"forty_digits_two_to_53", "9007199254740993.0000000000000000000000001\n", "d1",
                 "9007199254740992"},
        ReadCase{"forty_digits_after_zeros",
                 "0.0000090071992547409930000000000000000000000001e21\n", "d1", "9007199254740992"},
        ReadCase{"digits_beyond_forty_scale", "1234567890123456789012345678901234567890123\n", "d1",
                 "1.2345678901234567e+42"},
        // The short path for few digits: ties to even at 2^53 and exact powers up to 1e22.
        ReadCase{"two_to_53_tie", "9007199254740993 9007199254740995\n", "d2",
                 "9007199254740992 9007199254740996"},
        ReadCase{"powers", "1e22 1e23 1e-22 1e-23\n", "d4",
                 "1e+22 9.9999999999999992e+22 1e-22 9.9999999999999996e-24"},
        ReadCase{"tenths", "0.1 -0.3 2.675\n", "d3",
                 "0.10000000000000001 -0.29999999999999999 2.6749999999999998"},
        ReadCase{"nulls_and_slash", "1,,3\n1 /\n", "d3 d3", "1 -7 3 | 1 -7 -7"}),
    case_name<ReadCase>);

INSTANTIATE_TEST_SUITE_P(
    Texts, Values,
    testing::Values(ReadCase{"bare_padded", "abc\n", "c5", "[abc  ]"},
                    ReadCase{"bare_cut", "abcdefgh\n", "c5", "[abcde]"},
                    ReadCase{"bare_ends_at_separators", "in/x.txt\n", "c9", "[in       ]"},
                    ReadCase{"quoted_path", "'in/x.txt'\n", "c9", "[in/x.txt ]"},
                    ReadCase{"doubled_quotes", "'it''s' \"say \"\"hi\"\"\"\n", "c6", "[it's  ]"},
                    ReadCase{"other_quote_inside", "\"it's\"\n", "c5", "[it's ]"},
                    ReadCase{"empty_quoted", "''\n", "c3", "[   ]"},
                    ReadCase{"line_end_in_quotes_dropped", "'ab\ncd'\n", "c5", "[abcd ]"},
                    ReadCase{"backslash_keeps_line_end", "'ab\\\ncd'\n", "c5", "[ab\ncd]"},
                    ReadCase{"unterminated_at_end", "'abc", "c5", "[?????]"},
                    ReadCase{"nul_ends_text", "'a\0b'\n"s, "c3", "[a  ]"},
                    ReadCase{"null_by_comma", ",abc\n", "c3", "[???]"},
                    ReadCase{"line_end_after_count_starts_text", "2*\nabc\n", "c5", "[\nabc ]"},
                    ReadCase{"zero_count_is_text", "0*abc\n", "c9", "[0*abc    ]"},
                    ReadCase{"count_wraps_to_zero", "4294967296*abc\n", "c9", "[429496729]"},
                    ReadCase{"digits_then_letters", "12ab\n", "c9", "[12ab     ]"},
                    ReadCase{"long_quoted", std::string(1, '\'').append(100, 'x').append("'\n"),
                             "c79", std::string(1, '[').append(79, 'x').append("]")}),
    case_name<ReadCase>);

// Bytes from 0x80 up are ordinary characters here (libf2c classifies them by reading
// past the end of its table).
INSTANTIATE_TEST_SUITE_P(
    HighBytes, Values,
    testing::Values(ReadCase{"bare_text", "caf\xc3\xa9 x\n", "c6", "[caf\xc3\xa9 ]"},
                    ReadCase{"after_count", "2*\xff\n", "c2", "[\xff ]"},
                    ReadCase{"ends_number_like_a_letter", "5\xe9\n", "d1", "5"}),
    case_name<ReadCase>);

// Around the 64 KiB blocks the input is read in: a value, and the character pushed back
// after it, on either side of the edge.
class BlockEdges : public DataFile, public testing::WithParamInterface<int> {};

TEST_P(BlockEdges, ValuesStraddlingTheEdgeAreWhole) {
  const std::string padding(static_cast<std::size_t>(GetParam()), ' ');
  EXPECT_EQ(read(padding + "12345 678\n" + padding + "'ab''cd'\n", "i2 c6"),
            "12345 678 | [ab'cd ]");
}

INSTANTIATE_TEST_SUITE_P(Offsets, BlockEdges, testing::Range(65530, 65538));

struct FatalCase {
  const char* name;
  std::string input;
  const char* script;
  const char* first_line;
};

void PrintTo(const FatalCase& c, std::ostream* os) { *os << c.name; }

class Fatal : public DataFile, public testing::WithParamInterface<FatalCase> {};

TEST_P(Fatal, EndsWithTheFullReport) {
  const FatalCase& c = GetParam();
  feed(c.input);
  const std::string report =
      std::string(c.first_line) + "\napparent state: unit 10 named " + path_ +
      "\nlast format: list io\nlately reading sequential formatted external IO\n";
  EXPECT_EXIT(run_script(kDataUnit, c.script), testing::KilledBySignal(SIGABRT),
              testing::Eq(report));
}

INSTANTIATE_TEST_SUITE_P(
    Reads, Fatal,
    testing::Values(
        FatalCase{"empty_file", "", "i1", "list in: end of file"},
        FatalCase{"blank_lines_only", "\n \n\t\n", "d1", "list in: end of file"},
        FatalCase{"too_few_values", "1 2\n", "d3", "list in: end of file"},
        FatalCase{"next_read_after_line_end", "5\n", "i1 i1", "list in: end of file"},
        FatalCase{"next_read_after_end_met", "5", "i1 i1", "read start: end of file"},
        FatalCase{"repeat_cut_by_end", "3*5", "i3", "list in: end of file"},
        FatalCase{"word", "abc\n", "d1", "invalid number: incomprehensible list input"},
        FatalCase{"lone_sign", "-\n", "i1", "invalid number: incomprehensible list input"},
        FatalCase{"carriage_return_line", "5\r\n6\n", "i2",
                  "invalid number: incomprehensible list input"},
        FatalCase{"count_then_end", "2*", "i1", "invalid number: incomprehensible list input"},
        FatalCase{"high_byte", "\xe9\n", "i1", "invalid number: incomprehensible list input"},
        FatalCase{"point_in_integer", "1.5\n", "i1", "invalid integer: read unexpected character"},
        FatalCase{"exponent_in_integer", "1e5\n", "i1",
                  "invalid integer: read unexpected character"},
        FatalCase{"star_first", "*5\n", "i1", "bad repetition count: incomprehensible list input"},
        FatalCase{"zero_count", "0*5\n", "i1", "bad repetition count: incomprehensible list input"},
        FatalCase{"negative_count", "-2*5\n", "i1",
                  "bad repetition count: incomprehensible list input"},
        FatalCase{"forty_one_digit_count", std::string(41, '1') + "*5\n", "i1",
                  "bad repetition count: incomprehensible list input"},
        FatalCase{"exponent_letter_alone", "1e\n", "d1",
                  "exponent field: incomprehensible list input"},
        FatalCase{"exponent_sign_alone", "1+\n", "d1",
                  "exponent field: incomprehensible list input"},
        FatalCase{"exponent_too_long", "1e100000000\n", "d1",
                  "exponent field: incomprehensible list input"}),
    case_name<FatalCase>);

TEST(KeyboardFatal, NamesNoFile) {
  const std::string path = temp_path("keyboard");
  write_file(path, "x\n");
  const std::string report =
      "invalid number: incomprehensible list input\napparent state: unit 5 (unnamed)\n"
      "last format: list io\nlately reading sequential formatted external IO\n";
  EXPECT_EXIT(
      {
        std::freopen(path.c_str(), "r", stdin);
        connect_standard_units();
        run_script(kKeyboardUnit, "i1");
      },
      testing::KilledBySignal(SIGABRT), testing::Eq(report));
}

// With at most 40 significant digits, the value is the correctly rounded one: the same
// double as strtod gives, on either side of the short path for few digits.
TEST_F(DataFile, ReadsWhatStrtodReads) {
  std::mt19937_64 random(20240711);
  std::vector<std::string> numbers;
  std::string input;
  for (int k = 0; k < 20000; ++k) {
    std::string number = random() % 2 ? "-" : "";
    const int digits = 1 + static_cast<int>(random() % (k % 2 ? 17 : 40));
    const int point = static_cast<int>(random() % static_cast<unsigned>(digits + 1));
    for (int d = 0; d < digits; ++d) {
      if (d == point) number += '.';
      number += static_cast<char>('0' + (d == 0 ? 1 + random() % 9 : random() % 10));
    }
    const int exponent = static_cast<int>(random() % (k % 3 ? 60 : 700)) - (k % 3 ? 30 : 350);
    if (exponent != 0) number.append("e").append(std::to_string(exponent));
    numbers.push_back(number);
    input += number + "\n";
  }
  feed(input);
  for (const std::string& number : numbers) {
    double value = -7.0;
    ListRead read(kDataUnit);
    read.read(value);
    read.finish();
    const double expected = std::strtod(number.c_str(), nullptr);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(expected))
        << number;
  }
}

struct Conversion {
  double value;
  std::int32_t expected;
};

class ToInt32 : public testing::TestWithParam<Conversion> {};

TEST_P(ToInt32, TruncatesOrGivesIndefinite) {
  EXPECT_EQ(to_int32(GetParam().value), GetParam().expected) << show(GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ToInt32,
    testing::Values(Conversion{2147483647.9, INT32_MAX}, Conversion{2147483648.0, INT32_MIN},
                    Conversion{-2147483648.9, INT32_MIN}, Conversion{-2147483649.0, INT32_MIN},
                    Conversion{-0.9, 0}, Conversion{1e300, INT32_MIN},
                    Conversion{-INFINITY, INT32_MIN}, Conversion{INFINITY, INT32_MIN}));

#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
double thread_cpu_seconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// A full table, 1000 records of 2000 values, must read well within a blink. Counted in
// this thread's processor time, the best of three runs, so a busy machine cannot fail it.
TEST_F(DataFile, ReadsTheLargestTableQuickly) {
  std::string table;
  const char* const values[] = {"37.5", "12", "8"};
  for (int r = 0; r < 1000; ++r) {
    for (int c = 0; c < 2000; ++c)
      table.append(values[(r + c) % 3]).append(c + 1 < 2000 ? " " : "\n");
  }
  std::vector<double> mat(2000 * 1000);
  double best = 1e9;
  for (int run = 0; run < 3; ++run) {
    feed(table);
    const double start = thread_cpu_seconds();
    for (int r = 0; r < 1000; ++r) {
      ListRead read(kDataUnit);
      for (int c = 0; c < 2000; ++c) read.read(mat[static_cast<std::size_t>(r * 2000 + c)]);
      read.finish();
    }
    best = std::min(best, thread_cpu_seconds() - start);
    close_unit(kDataUnit);
  }
  EXPECT_EQ(mat[1], 12.0);
  EXPECT_EQ(mat[1999999], 12.0);
  RecordProperty("best_cpu_seconds", std::to_string(best));
  EXPECT_LT(best, 0.15);
}
#endif

}  // namespace
}  // namespace rankora::rt
