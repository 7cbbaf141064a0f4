// What the CSV, JSON and SVG writers read: the analysis' figures as the report prints them
// (the global test's distribution of W with them), and what the run was. The writers add
// text, no figure.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "analysis/inference.hpp"
#include "analysis/results.hpp"

namespace rankora::report {

struct RunDescription {
  std::string version;
  std::string data_file;
  bool judges_are_rows = true;
  std::optional<std::int64_t> seed;  // none: the dialogue's unseeded draws
  int lang = 2;                      // 1 French, otherwise English
  // Empty when the file had none; otherwise one per judge (by judge number) or object.
  std::span<const std::string> judge_names;
  std::span<const std::string> object_names;
};

struct RunResults {
  RunResults(const RunDescription& run_, const Concordance& panel_,
             std::span<const JudgeResult> judges_, std::span<const std::string> warnings_)
      : run(run_),
        panel(panel_),
        judges(judges_),
        warnings(warnings_),
        global(infer_global(panel_)),
        inference(infer_judges(judges_, panel_.nperm)) {}

  const RunDescription& run;
  const Concordance& panel;
  std::span<const JudgeResult> judges;    // in the report's order
  std::span<const std::string> warnings;  // the "rankora: " lines given, as written
  // What the outputs add, formed once so that every writer gives the same figures.
  GlobalInference global;
  std::vector<JudgeInference> inference;  // one per judge, in the same order
};

// The judge's name from the data file, or empty.
inline std::string_view judge_name(const RunResults& r, std::int32_t judge) {
  const auto index = static_cast<std::size_t>(judge - 1);
  return index < r.run.judge_names.size() ? std::string_view(r.run.judge_names[index])
                                          : std::string_view();
}

}  // namespace rankora::report
