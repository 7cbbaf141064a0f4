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
rows data-rows data.txt whole
columns data-columns data.txt whole
records data-records data.txt whole
ranks data-ranks data.txt whole
repeats-long data-repeats-long data.txt whole
repeats-short data-repeats-short data.txt whole
empty-values data-empty-values data.txt whole
zeros data-zeros data.txt whole
semicolons ending-semicolons-and-decimal-commas wine-bitterness.txt whole
warning ignored-last-value-of-each-judge-en expected/stderr whole
bare-name ending-bare-path-cut-at-folder expected/stderr whole
report-exists ending-report-exists expected/stderr whole
too-large ending_table_too_large_or_swapped_en expected/stderr whole
where ending-missing-value expected/stderr whole
marked-data data-marked-judge data.txt whole
marked-table data-marked-judge expected/report part
wide-chi-square data-wide-chi-square expected/report part
wide-permutations data-wide-permutations expected/report part
nan data-constant-table expected/report part
cli-screen ../command_line/french_spreadsheet expected/stdout whole
cli-r-csv ../command_line/r_write_csv wine-write-csv.csv part
cli-usage ../command_line/unknown_option expected/stderr whole
cli-missing ../command_line/data_missing_value expected/stderr whole
cli-too-many ../command_line/data_too_many_judges expected/stderr whole
EOF2

# Every early end recorded for the manual has its row in the manual's tables.
for case_dir in "$SOURCE"/cases/manual/ending[-_]*; do
  first=$(head -n 1 "$case_dir/expected/stderr")
  [ -n "$first" ] && in_readme "\`$first\`"
done

# Every line of Rankora's own that the manual's table quotes is one a recorded case gives.
awk '$0 == "<!-- test: own-lines -->" { armed = 1; next }
     armed && !/^\|/ { exit }
     armed && match($0, /`rankora: [^`]*`/) { print substr($0, RSTART + 1, RLENGTH - 2) }' \
  "$README" >"$work/own-lines"
[ "$(wc -l <"$work/own-lines")" -ge 15 ] || fail "the table of Rankora's own lines is missing or short"
cat "$SOURCE"/cases/*/*/expected/stderr >"$work/recorded"
while IFS= read -r own; do
  grep -qxF -- "$own" "$work/recorded" || fail "README quotes a line that no case gives: $own"
done <"$work/own-lines"
finish
