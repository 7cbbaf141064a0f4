#!/bin/sh
# The sample files and the manual against the built program: the sample answers give the
# sample report, the manual shows that very session and report, and every early end that
# cases/manual records is explained in the manual's tables.
# Usage: manual_test.sh <rankora binary> <source tree>
set -u
RANKORA=$1
SOURCE=$2
. "$(dirname "$0")/lib.sh"

dir=$(scratch)
cp "$EXAMPLES/wine-bitterness.txt" "$dir"/
cp "$EXAMPLES/wine-bitterness.answers" "$dir/answers"
run_answers "$dir"
expect_status "$dir" 0 "sample run"
[ -s "$dir/errors" ] && fail "sample run wrote to the error stream"
same "$EXAMPLES/wine-bitterness.report" "$dir/Rankora.out" "examples/wine-bitterness.report"
block session >"$work/session" && transcript "$dir" >"$work/seen" &&
  same "$work/session" "$work/seen" "README sample session"
block report >"$work/report" && visible "$dir/Rankora.out" >"$work/seen" &&
  same "$work/report" "$work/seen" "README sample report"

# The manual's examples are the inputs or outputs of recorded cases: whole, or a part of
# the report with its trailing blanks taken off.
while read -r name case_name file how; do
  block "$name" >"$work/shown" || continue
  visible "$SOURCE/cases/manual/$case_name/$file" >"$work/seen"
  if [ "$how" = whole ]; then
    same "$work/shown" "$work/seen" "README example $name"
  else
    contains "$work/seen" "$work/shown" "README example $name"
  fi
done <<'EOF2'
rows data_rows data.txt whole
columns data_columns data.txt whole
records data_records data.txt whole
ranks data_ranks data.txt whole
repeats-long data_repeats_long data.txt whole
repeats-short data_repeats_short data.txt whole
empty-values data_empty_values data.txt whole
zeros data_zeros data.txt whole
semicolons ending_semicolons_and_decimal_commas wine-bitterness.txt whole
warning ignored_last_value_of_each_judge_en expected/stderr whole
bare-name ending_bare_path_cut_at_folder expected/stderr whole
report-exists ending_report_exists expected/stderr whole
where ending_missing_value expected/stderr whole
marked-data data_marked_judge data.txt whole
marked-table data_marked_judge expected/report part
wide-chi-square data_wide_chi_square expected/report part
wide-permutations data_wide_permutations expected/report part
nan data_constant_table expected/report part
EOF2

# Every early end recorded for the manual has its row in the manual's tables.
for case_dir in "$SOURCE"/cases/manual/ending_*; do
  [ -d "$case_dir" ] || fail "no cases/manual/ending_* to check"
  first=$(head -n 1 "$case_dir/expected/stderr")
  [ -n "$first" ] && in_readme "\`$first\`"
done
finish
