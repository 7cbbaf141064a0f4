#include "runtime/format.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace rankora::rt {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct IntegerCase {
  std::int32_t value;
  int width;
  const char* expected;
};

class IntegerField : public testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerField, IsRightJustifiedOrAsterisks) {
  const IntegerCase& c = GetParam();
  EXPECT_EQ(format_integer(c.value, c.width), c.expected) << c.value << " in I" << c.width;
}

INSTANTIATE_TEST_SUITE_P(
    Widths, IntegerField,
    testing::Values(
        // I4: judge numbers; 1000 fills the field with no blank before it.
        IntegerCase{0, 4, "   0"}, IntegerCase{7, 4, "   7"}, IntegerCase{1000, 4, "1000"},
        IntegerCase{9999, 4, "9999"}, IntegerCase{10000, 4, "****"}, IntegerCase{-999, 4, "-999"},
        IntegerCase{-1000, 4, "****"},
        // I5: nu.
        IntegerCase{99999, 5, "99999"}, IntegerCase{100000, 5, "*****"},
        IntegerCase{-9999, 5, "-9999"}, IntegerCase{-10000, 5, "*****"},
        IntegerCase{-1, 5, "   -1"},
        // I6: the number of permutations.
        IntegerCase{999, 6, "   999"}, IntegerCase{999999, 6, "999999"},
        IntegerCase{1000000, 6, "******"}, IntegerCase{-5, 6, "    -5"},
        IntegerCase{-99999, 6, "-99999"}, IntegerCase{-100000, 6, "******"},
        IntegerCase{std::numeric_limits<std::int32_t>::max(), 6, "******"},
        IntegerCase{std::numeric_limits<std::int32_t>::min(), 6, "******"},
        // I7: the capacities on the screen.
        IntegerCase{1000, 7, "   1000"}, IntegerCase{2000, 7, "   2000"},
        IntegerCase{std::numeric_limits<std::int32_t>::min(), 11, "-2147483648"}));

struct RealCase {
  double value;
  int width;
  int decimals;
  const char* expected;
};

class RealField : public testing::TestWithParam<RealCase> {};

TEST_P(RealField, FollowsTheFixedPointRules) {
  const RealCase& c = GetParam();
  EXPECT_EQ(format_real(c.value, c.width, c.decimals), c.expected)
      << c.value << " in F" << c.width << '.' << c.decimals;
}

INSTANTIATE_TEST_SUITE_P(
    KeptZeroAndJustification, RealField,
    testing::Values(RealCase{0.5, 10, 5, "   0.50000"}, RealCase{0.0, 10, 5, "   0.00000"},
                    RealCase{3.0, 10, 5, "   3.00000"}, RealCase{1.0, 8, 5, " 1.00000"},
                    RealCase{0.05, 8, 5, " 0.05000"}, RealCase{-0.0416666, 10, 5, "  -0.04167"},
                    RealCase{5e-324, 10, 5, "   0.00000"}));

// Nothing is signed that shows only zeros; a value whose exact binary form lies just
// past the half rounds away from zero and keeps its sign.
INSTANTIATE_TEST_SUITE_P(SignOfZero, RealField,
                         testing::Values(RealCase{-0.0, 10, 5, "   0.00000"},
                                         RealCase{-0.000001, 10, 5, "   0.00000"},
                                         RealCase{-0.0000049, 10, 5, "   0.00000"},
                                         RealCase{-0.000005, 10, 5, "  -0.00001"},
                                         RealCase{-0.0, 8, 5, " 0.00000"}));

// Rounding works on the exact binary value, halves to the even digit.
INSTANTIATE_TEST_SUITE_P(
    Rounding, RealField,
    testing::Values(RealCase{0.015625, 8, 5, " 0.01562"}, RealCase{0.046875, 8, 5, " 0.04688"},
                    RealCase{0.123455, 10, 5, "   0.12345"},  // stored just below the half
                    RealCase{1.000005, 10, 5, "   1.00001"},  // stored just above the half
                    RealCase{0.999999, 8, 5, " 1.00000"}));

INSTANTIATE_TEST_SUITE_P(
    TooWide, RealField,
    testing::Values(RealCase{9999.99999, 10, 5, "9999.99999"},
                    RealCase{9999.999995, 10, 5, "**********"},  // rounds up to 10000
                    RealCase{10000.0, 10, 5, "**********"},
                    RealCase{12345.678, 10, 5, "**********"},
                    RealCase{-999.99999, 10, 5, "-999.99999"},
                    RealCase{-1000.0, 10, 5, "**********"}, RealCase{1e300, 10, 5, "**********"},
                    RealCase{-1e308, 10, 5, "**********"}, RealCase{99.999995, 8, 5, "99.99999"},
                    RealCase{100.0, 8, 5, "********"}));

// One character too many with a lone 0 before the point: that 0 goes.
INSTANTIATE_TEST_SUITE_P(
    DroppedLeadingZero, RealField,
    testing::Values(RealCase{0.5, 7, 5, "0.50000"}, RealCase{0.5, 6, 5, ".50000"},
                    RealCase{-0.5, 7, 5, "-.50000"}, RealCase{-0.5, 6, 5, "******"},
                    RealCase{1.5, 6, 5, "******"}, RealCase{-0.000001, 6, 5, ".00000"}));

INSTANTIATE_TEST_SUITE_P(
    NotFinite, RealField,
    testing::Values(RealCase{kInf, 10, 5, "       inf"}, RealCase{-kInf, 10, 5, "      -inf"},
                    RealCase{kNaN, 10, 5, "       nan"}, RealCase{-kNaN, 10, 5, "      -nan"},
                    RealCase{kInf, 8, 5, "     inf"}, RealCase{kNaN, 2, 5, "**"}));

// Fields far wider than the report's: every digit of the exact value, however long.
TEST(RealFieldText, HoldsEveryDigitOfTheLargestValues) {
  for (const double value : {1e308, -1.7976931348623157e308, 123456789.125}) {
    for (const int decimals : {0, 5, 95}) {
      char digits[512];
      const auto end =
          std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals)
              .ptr;
      const std::string exact(digits, end);
      EXPECT_EQ(format_real(value, 500, decimals), std::string(500 - exact.size(), ' ') + exact)
          << value << " with " << decimals << " decimals";
    }
  }
}

struct FormatCase {
  const char* name;
  std::vector<FormatItem> items;
  std::vector<FieldValue> values;
  const char* expected;
};

class Rendering : public testing::TestWithParam<FormatCase> {};

TEST_P(Rendering, LaysOutLinesExactly) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(render_format(c.items, c.values), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, Rendering,
    testing::Values(FormatCase{"EndsWithLiteral", {lit(" ---")}, {}, " ---\n"},
                    FormatCase{"EndsWithSlash", {lit(" a"), slash()}, {}, " a\n\n"},
                    FormatCase{"LeadingSlash", {slash(), lit(" a")}, {}, "\n a\n"},
                    FormatCase{
                        "DoubledSlash", {lit(" a"), slash(), slash(), lit(" b")}, {}, " a\n\n b\n"},
                    FormatCase{"OnlySlashes", {slash(), slash()}, {}, "\n\n\n"},
                    FormatCase{"BlanksBetweenFields",
                               {int_field(4), blanks(2), real_field(10, 5), slash()},
                               {std::int32_t{1000}, 0.5},
                               "1000     0.50000\n\n"},
                    FormatCase{"ItemsAfterTheLastValue",
                               {int_field(4), lit(" #"), slash()},
                               {std::int32_t{3}},
                               "   3 #\n\n"},
                    FormatCase{"ValuesInOrder",
                               {lit("x="), real_field(6, 2), lit(" n="), int_field(3), slash(),
                                lit("y="), real_field(6, 2)},
                               {1.5, std::int32_t{-4}, -2.25},
                               "x=  1.50 n= -4\ny= -2.25\n"},
                    FormatCase{"LiteralWithApostrophe",
                               {lit(" Friedman's Chi-square ="), real_field(10, 5)},
                               {25.72211},
                               " Friedman's Chi-square =  25.72211\n"}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rankora::rt
