// The CSV and JSON writers: tables of runs and the text they give, the shortest numbers
// read back, and every field a reader looks for.
#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "fixtures.hpp"
#include "reader/table_syntax.hpp"
#include "report/judges_csv.hpp"
#include "report/notes.hpp"
#include "report/results_json.hpp"

namespace rankora::report {
namespace {

namespace fs = std::filesystem;
using Row = std::vector<std::string>;
using Json = nlohmann::json;

std::vector<Row> rows(const std::string& table) {
  return tables::table_rows(fs::path(__FILE__).parent_path() / table);
}
std::string row_name(const testing::TestParamInfo<Row>& row) { return row.param.back(); }

// "judge rbar W p reached null_variance W_without; ..."
std::vector<JudgeResult> judges(const std::string& field) {
  std::vector<JudgeResult> out;
  std::istringstream all(field);
  for (std::string one; std::getline(all, one, ';');) {
    std::istringstream in(one);
    JudgeResult j;
    std::string rbar, w, p, null, without;
    in >> j.judge >> rbar >> w >> p >> j.reached >> null >> without;
    j.rbar = std::strtod(rbar.c_str(), nullptr);
    j.w = std::strtod(w.c_str(), nullptr);
    j.p = std::strtod(p.c_str(), nullptr);
    j.null_variance = null == "true";
    j.w_without = std::strtod(without.c_str(), nullptr);
    out.push_back(j);
  }
  return out;
}

class Csv : public testing::TestWithParam<Row> {};

TEST_P(Csv, IsWrittenAsTheTableSays) {
  fixtures::Run run = fixtures::panel(2, 2, false);
  run.judges = judges(GetParam().at(0));
  if (tables::trim(GetParam().at(1)) != "none")
    run.judge_names = tables::quoted_pieces(GetParam().at(1));
  run.panel.nperm = std::stoi(GetParam().at(2));
  EXPECT_EQ(judges_csv(run.results()), tables::quoted_bytes(GetParam().at(3)));
}

INSTANTIATE_TEST_SUITE_P(Table, Csv, testing::ValuesIn(rows("csv.txt")), row_name);

// Doubles of every size and sign read back from the CSV and the JSON as the same bits.
TEST(Numbers, ReadBackAsTheSameDoubles) {
  fixtures::Run run = fixtures::panel(500, 2, false);
  std::mt19937_64 random(17);
  for (JudgeResult& j : run.judges) {
    for (double* x : {&j.rbar, &j.w, &j.w_without}) {
      do *x = std::bit_cast<double>(random());
      while (!std::isfinite(*x));
    }
  }
  std::istringstream csv(judges_csv(run.results()));
  const Json json = Json::parse(results_json(run.results()));
  std::string line;
  std::getline(csv, line);
  for (std::size_t i = 0; std::getline(csv, line); ++i) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, ',');) fields.push_back(f);
    const JudgeResult& j = run.judges.at(i);
    const Json& entry = json.at("judges").at(i);
    EXPECT_EQ(std::strtod(fields.at(2).c_str(), nullptr), j.rbar) << line;
    EXPECT_EQ(std::strtod(fields.at(3).c_str(), nullptr), j.w) << line;
    EXPECT_EQ(std::strtod(fields.at(8).c_str(), nullptr), j.w_without) << line;
    EXPECT_EQ(entry.at("rbar").get<double>(), j.rbar);
    EXPECT_EQ(entry.at("W").get<double>(), j.w);
    EXPECT_EQ(entry.at("W_without").get<double>(), j.w_without);
  }
}

class JsonKeys : public testing::TestWithParam<Row> {};

// A row: a JSON pointer | the keys of the object there, in order.
TEST_P(JsonKeys, AreAllThereInOrder) {
  fixtures::Run run = fixtures::panel(9, 2, false);
  const auto json = nlohmann::ordered_json::parse(results_json(run.results()));
  const std::string where = tables::trim(GetParam().at(0));
  std::string keys;
  for (const auto& [key, value] :
       json.at(nlohmann::ordered_json::json_pointer(where == "/" ? "" : where)).items()) {
    keys += (keys.empty() ? "" : " ") + key;
  }
  EXPECT_EQ(keys, tables::trim(GetParam().at(1)));
}

INSTANTIATE_TEST_SUITE_P(Table, JsonKeys, testing::ValuesIn(rows("json_keys.txt")), row_name);

void change(fixtures::Run& run, const std::string& what) {
  std::istringstream in(what);
  std::string word;
  in >> word;
  std::string rest;
  std::getline(in, rest);
  rest = tables::trim(rest);
  if (word == "seed") run.run.seed = std::stoll(rest);
  if (word == "named") run = fixtures::panel(9, 2, true);
  if (word == "objects-named") {
    for (int k = 1; k <= 30; ++k) run.object_names.push_back("site " + std::to_string(k));
  }
  if (word == "french") run.run.lang = 1;
  if (word == "columns") run.run.judges_are_rows = false;
  if (word == "uncorrected") run.panel.ties = 2;
  if (word == "nperm") run = fixtures::panel(9, 2, false, std::stoi(rest));
  if (word == "W") {
    run.panel.kendw = std::strtod(rest.c_str(), nullptr);
    run.panel.chi2 = run.panel.kendw * 29 * 9;
  }
  if (word == "file") run.run.data_file = tables::quoted_bytes(rest);
  if (word == "warning") run.warnings.push_back(tables::quoted_bytes(rest));
}

class JsonField : public testing::TestWithParam<Row> {};

// A row: a change to the made-up run | a JSON pointer | the value there.
TEST_P(JsonField, HoldsTheRunsFigure) {
  fixtures::Run run = fixtures::panel(9, 2, false);
  change(run, tables::trim(GetParam().at(0)));
  const Json json = Json::parse(results_json(run.results()));
  EXPECT_EQ(json.at(Json::json_pointer(tables::trim(GetParam().at(1)))),
            Json::parse(tables::trim(GetParam().at(2))));
}

INSTANTIATE_TEST_SUITE_P(Table, JsonField, testing::ValuesIn(rows("json.txt")), row_name);

class OutputNote : public testing::TestWithParam<Row> {};

// A row: language | step errno | the line.
TEST_P(OutputNote, SaysWhatFailedAndWhatIsKept) {
  std::istringstream failure(GetParam().at(1));
  std::string step, error;
  failure >> step >> error;
  const std::vector<std::string> steps{"create", "write", "sync", "close", "rename"};
  const std::map<std::string, int> errors{
      {"ENOSPC", ENOSPC}, {"EACCES", EACCES}, {"EIO", EIO}, {"EEXIST", EEXIST}};
  const rt::OutputFailure f{
      static_cast<rt::OutputStep>(std::find(steps.begin(), steps.end(), step) - steps.begin()),
      errors.at(error)};
  EXPECT_EQ(explain_output_failure(tables::trim(GetParam().at(0)) == "fr" ? 1 : 2, "r.csv",
                                   "Rankora.out", f),
            tables::quoted_bytes(GetParam().at(2)));
}

INSTANTIATE_TEST_SUITE_P(Table, OutputNote, testing::ValuesIn(rows("output_notes.txt")), row_name);

}  // namespace
}  // namespace rankora::report
