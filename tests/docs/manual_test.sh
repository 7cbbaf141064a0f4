#!/bin/sh
# The sample files and the manual against the built program: the sample answers give the
# sample report, the manual shows that very session and report, and every early end that
# cases/manual records is explained in the manual's tables.
# Usage: manual_test.sh <rankora binary> <source tree>
set -u
RANKORA=$1 SOURCE=$2
. "$(dirname "$0")/lib.sh"

dir=$(scratch)
cp "$EXAMPLES/wine-bitterness.txt" "$dir"/
cp "$EXAMPLES/wine-bitterness.answers" "$dir/answers"
(cd "$dir" && "$RANKORA" <answers >screen 2>errors)
status=$?
[ $status = 0 ] && [ ! -s "$dir/errors" ] || fail "sample run: status $status, $(cat "$dir/errors")"
same "$EXAMPLES/wine-bitterness.report" "$dir/Rankora.out" "examples/wine-bitterness.report"
block session >"$work/session" && transcript "$dir" >"$work/seen" &&
  same "$work/session" "$work/seen" "README sample session"
block report >"$work/report" && visible "$dir/Rankora.out" >"$work/seen" &&
  same "$work/report" "$work/seen" "README sample report"

# The manual's examples are the inputs or outputs of recorded cases (manual_examples.txt).
examples=$(dirname "$0")/manual_examples.txt
grep -v '^#' "$examples" >"$work/examples" || fail "no example in $examples"
while IFS='| ' read -r name case_name file how; do
  block "$name" >"$work/shown" || continue
  visible "$SOURCE/cases/manual/$case_name/$file" >"$work/seen"
  if [ "$how" = whole ]; then
    same "$work/shown" "$work/seen" "README example $name"
  else
    contains "$work/seen" "$work/shown" "README example $name"
  fi
done <"$work/examples"

# Every early end recorded for the manual has its row in the manual's tables.
for case_dir in "$SOURCE"/cases/manual/ending_*; do
  [ -d "$case_dir" ] || fail "no cases/manual/ending_* to check"
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
