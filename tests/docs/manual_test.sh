#!/bin/sh
# The sample files and the manual against the built program: the sample answers give the
# sample report, the manual shows that very session and report, and every early end that
# tests/cases/manual records is explained in the manual's tables.
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

for case_dir in "$SOURCE"/tests/cases/manual/ending-*; do
  first=$(head -n 1 "$case_dir/expected/stderr")
  [ -n "$first" ] && in_readme "\`$first\`"
done
finish
