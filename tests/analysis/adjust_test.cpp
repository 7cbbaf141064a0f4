#include <gtest/gtest.h>

#include <limits>

#include "analysis/adjustp.hpp"
#include "support.hpp"

namespace analysis_test {
namespace {

// rows[i] = the 7 columns of result row i + 1.
Table adjust(const Table& rows) {
  const Storage storage(Table{});
  const auto m = static_cast<std::int32_t>(rows.size());
  for (std::int32_t i = 1; i <= m; ++i) {
    for (int c = 1; c <= 7; ++c) {
      storage.result()(i, c) =
          rows[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(c - 1)];
    }
  }
  Row key(rows.size()), temp(rows.size());
  std::vector<std::int32_t> order(rows.size());
  rankora::adjustp(m, 1000, key, storage.result(), temp, order);
  Table out(rows.size(), Row(7));
  for (std::int32_t i = 1; i <= m; ++i) {
    for (int c = 1; c <= 7; ++c) {
      out[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(c - 1)] =
          storage.result()(i, c);
    }
  }
  return out;
}

Row judge(double number, double rbar, double p) { return {number, rbar, -1.0, p, 0, 0, 0}; }

std::vector<int> judges_of(const Table& rows) {
  std::vector<int> numbers;
  for (const Row& r : rows) numbers.push_back(static_cast<int>(r[0]));
  return numbers;
}

TEST(Adjustp, FourJudgeExample) {
  const Table out =
      adjust({judge(1, 0.5, 0.03), judge(2, 0.2, 0.01), judge(3, 0.5, 0.04), judge(4, 0.1, 0.01)});
  EXPECT_EQ(judges_of(out), (std::vector<int>{3, 1, 2, 4}));
  const Row want_bonferroni = {0.16, 0.12, 0.04, 0.04};
  const Row want_working = {0.04, 0.06, 0.04, 0.03};
  const Row want_holm = {0.06, 0.06, 0.04, 0.04};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_DOUBLE_EQ(out[i][4], want_bonferroni[i]) << i;
    EXPECT_DOUBLE_EQ(out[i][5], want_working[i]) << i;
    EXPECT_DOUBLE_EQ(out[i][6], want_holm[i]) << i;
    EXPECT_EQ(out[i][2], -1.0) << "W moves with its row";
  }
  EXPECT_EQ(out[0][1], 0.5);
  EXPECT_EQ(out[0][3], 0.04);
}

struct OrderCase {
  const char* name;
  Table rows;
  std::vector<int> final_order;
};

class AdjustpOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(AdjustpOrder, OrdersJudges) {
  EXPECT_EQ(judges_of(adjust(GetParam().rows)), GetParam().final_order);
}

INSTANTIATE_TEST_SUITE_P(
    Ties, AdjustpOrder,
    ::testing::Values(OrderCase{"TwoJudgesLargerProbabilityFirst",
                                {judge(1, 0.3, 0.2), judge(2, 0.3, 0.5)},
                                {2, 1}},
                      OrderCase{"TwoJudgesEqualProbabilityReversed",
                                {judge(1, 0.3, 0.2), judge(2, 0.3, 0.2)},
                                {2, 1}},
                      OrderCase{"EqualInBothHigherNumberFirst",
                                {judge(1, 0.1, 0.5), judge(2, 0.1, 0.5), judge(3, 0.1, 0.5)},
                                {3, 2, 1}},
                      OrderCase{"RbarWithinToleranceCountsEqual",
                                {judge(1, 0.2, 0.1), judge(2, 0.2 + 5e-9, 0.2)},
                                {2, 1}},
                      OrderCase{"RbarBeyondToleranceIsOrdered",
                                {judge(1, 0.2 + 2e-8, 0.1), judge(2, 0.2, 0.2)},
                                {1, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Adjustp, SingleJudgeKeepsItsProbability) {
  const Table out = adjust({judge(1, 0.0, 0.37)});
  EXPECT_EQ(out[0][4], 0.37);
  EXPECT_EQ(out[0][6], 0.37);
}

TEST(Adjustp, ThousandJudgesAtOneAreNotCapped) {
  Table rows;
  for (int j = 1; j <= 1000; ++j) rows.push_back(judge(j, 0.001 * (j % 7), 1.0));
  for (const Row& r : adjust(rows)) {
    EXPECT_EQ(r[4], 1000.0);
    EXPECT_EQ(r[6], 1000.0);
  }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct SortCase {
  const char* name;
  Row keys;
  int dir;
  std::vector<std::int32_t> order;
};

class Sortpl : public ::testing::TestWithParam<SortCase> {};

TEST_P(Sortpl, FindsTheOrderOfThePlainInsertionSort) {
  const SortCase& c = GetParam();
  Row key = c.keys, temp(key.size());
  std::vector<std::int32_t> order(key.size());
  const Storage storage(Table{});
  const auto n = static_cast<std::int32_t>(key.size());
  for (std::int32_t i = 1; i <= n; ++i) storage.result()(i, 1) = i;
  rankora::sortpl(n, 1000, 1, key, storage.result(), temp, order, c.dir);
  EXPECT_EQ(order, c.order);
  for (std::int32_t i = 1; i <= n; ++i)
    EXPECT_EQ(storage.result()(i, 1), c.order[static_cast<std::size_t>(i - 1)]);
}

INSTANTIATE_TEST_SUITE_P(
    Tolerance, Sortpl,
    ::testing::Values(SortCase{"WithinToleranceKeepsOrder", {0.3, 0.3 - 5e-9, 0.3}, 1, {1, 2, 3}},
                      SortCase{"BeyondToleranceMoves", {0.3, 0.3 - 2e-8, 0.3}, 1, {2, 1, 3}},
                      SortCase{"IncreasingIsStable", {0.5, 0.5, 0.5}, 1, {1, 2, 3}},
                      SortCase{"DecreasingReversesEqualRuns", {0.5, 0.5, 0.5}, 2, {3, 2, 1}},
                      SortCase{"DecreasingPassesSlightlyLarger", {0.1, 0.1 + 5e-9}, 2, {2, 1}},
                      SortCase{"NaNIsPassedIncreasing", {1, kNaN, 0}, 1, {3, 2, 1}},
                      SortCase{"NaNIsPassedDecreasing", {0, kNaN, 1}, 2, {3, 2, 1}},
                      SortCase{"AnyOtherDirIncreases", {2, 1}, 7, {2, 1}},
                      // Keys exactly the tolerance apart: beyond it when increasing,
                      // within it (so reversed like equal keys) when decreasing.
                      SortCase{"ToleranceApartIncreasing", {reference::kTolerance, 0}, 1, {2, 1}},
                      SortCase{"ToleranceApartDecreasing", {reference::kTolerance, 0}, 2, {2, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

// Keys drawn from a few values, near-equal ones included, so that ties and the
// tolerance decide much of the order.
TEST(Adjustp, AgreesWithPlainInsertionSort) {
  std::mt19937 g(11);
  std::uniform_int_distribution<int> pick(0, 5);
  const Row rbars = {-0.25, 0.1, 0.1 + 4e-9, 0.1 + 3e-8, 0.6, 1.0};
  const Row probabilities = {0.001, 0.01, 0.01 + 6e-9, 0.5, 0.5 - 9e-9, 1.0};
  for (int trial = 0; trial < 200; ++trial) {
    const int m = trial == 0 ? 1000 : 1 + trial % 40;
    Table rows;
    for (int j = 1; j <= m; ++j) {
      rows.push_back(judge(j, rbars[static_cast<std::size_t>(pick(g))],
                           probabilities[static_cast<std::size_t>(pick(g))]));
    }
    Table want = rows;
    reference::adjustp(want);
    const Table got = adjust(rows);
    for (std::size_t i = 0; i < want.size(); ++i) {
      for (std::size_t c = 0; c < 7; ++c)
        ASSERT_TRUE(same(got[i][c], want[i][c])) << trial << ":" << i << "," << c;
    }
  }
}

}  // namespace
}  // namespace analysis_test
