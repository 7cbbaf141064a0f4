// The outputs' tails, intervals and adjusted probabilities against R (inference.txt).
#include "analysis/inference.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "reader/table_syntax.hpp"

namespace {

using Row = std::vector<std::string>;

std::vector<Row> rows() {
  return rankora::tables::table_rows(std::filesystem::path(__FILE__).parent_path() /
                                     "inference.txt");
}

// Numbers as strtod reads them; a/b is a division of two of them.
std::vector<double> numbers(const std::string& field) {
  std::istringstream in(field);
  std::vector<double> out;
  for (std::string token; in >> token;) {
    const auto slash = token.find('/');
    out.push_back(slash == token.npos ? std::strtod(token.c_str(), nullptr)
                                      : std::strtod(token.substr(0, slash).c_str(), nullptr) /
                                            std::strtod(token.substr(slash + 1).c_str(), nullptr));
  }
  return out;
}

// Within 1e-12 of the reference's size; NaN only for NaN; both below the smallest normal
// double count as the same underflow.
testing::AssertionResult close(double got, double want, bool exact) {
  const bool same = std::isnan(want) ? std::isnan(got)
                    : exact || std::isinf(want)
                        ? got == want
                        : std::abs(got - want) <= 1e-12 * std::abs(want) ||
                              (std::abs(got) < 0x1p-1022 && std::abs(want) < 0x1p-1022);
  if (same) return testing::AssertionSuccess();
  std::ostringstream text;
  text.precision(17);
  text << "got " << got << ", want " << want;
  return testing::AssertionFailure() << text.str();
}

std::vector<double> computed(const std::string& what, const std::vector<double>& a) {
  using namespace rankora;
  if (what == "chi_square")
    return {chi_square_upper_tail(a.at(0), static_cast<std::int64_t>(a.at(1)))};
  if (what == "F") {
    const FTest f = iman_davenport(a.at(0), static_cast<std::int32_t>(a.at(1)),
                                   static_cast<std::int32_t>(a.at(2)));
    return {f.f, f.p};
  }
  if (what == "clopper_pearson") {
    const auto interval =
        clopper_pearson_99(static_cast<std::int64_t>(a.at(0)), static_cast<std::int64_t>(a.at(1)));
    if (!interval) return {};
    return {interval->low, interval->high};
  }
  if (what == "holm") return holm_capped(a);
  if (what == "bonferroni") return bonferroni_capped(a);
  throw std::invalid_argument("no figure named " + what);
}

class Inference : public testing::TestWithParam<Row> {};

// A row: what | arguments | reference ("none" for no figure) | how it was computed.
TEST_P(Inference, AgreesWithTheReference) {
  const std::string what = rankora::tables::trim(GetParam().at(0));
  const std::vector<double> got = computed(what, numbers(GetParam().at(1)));
  const std::string reference = rankora::tables::trim(GetParam().at(2));
  const std::vector<double> want = reference == "none" ? std::vector<double>{} : numbers(reference);
  ASSERT_EQ(got.size(), want.size()) << GetParam().at(3);
  const bool exact = what == "holm" || what == "bonferroni";
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_TRUE(close(got[i], want[i], exact)) << "figure " << i + 1 << ", " << GetParam().at(3);
  }
}

std::string row_name(const testing::TestParamInfo<Row>& row) { return row.param.back(); }

INSTANTIATE_TEST_SUITE_P(Table, Inference, testing::ValuesIn(rows()), row_name);

}  // namespace
