#!/bin/sh
# The sample files and the manual's first run, checked against the built program.
# Usage: sample_test.sh <rankora binary> <source tree>
set -u
RANKORA=$1
SOURCE=$2
. "$(dirname "$0")/lib.sh"

sample_run() {
  dir=$(scratch)
  cp "$EXAMPLES/wine-bitterness.txt" "$dir"/
  cp "$EXAMPLES/wine-bitterness.answers" "$dir/answers"
  echo "$dir"
}

# The sample answers give the sample report, byte for byte, and a clean end.
dir=$(sample_run)
run_answers "$dir"
expect_status "$dir" 0 "sample run"
[ -s "$dir/errors" ] && fail "sample run wrote to the error stream"
same "$EXAMPLES/wine-bitterness.report" "$dir/Rankora.out" "examples/wine-bitterness.report"

# The manual shows that very session and that very report.
block session >"$work/session" && transcript "$dir" >"$work/seen" &&
  same "$work/session" "$work/seen" "README sample session"
block report >"$work/report" && visible "$dir/Rankora.out" >"$work/seen" &&
  same "$work/report" "$work/seen" "README sample report"

# Figures of independent software for the wine panel, with and without the tie
# correction; the manual and the sample notes quote them.
while read -r ties chi_square w; do
  dir=$(scratch)
  cp "$EXAMPLES/wine-bitterness.txt" "$dir"/
  run_in "$dir" "2\n9 8\n1\nwine-bitterness.txt\n$ties\n0\n"
  expect_status "$dir" 0 "reference figures, ties $ties" || continue
  grep -qF " Chi-square =  $chi_square   nu =    7" "$dir/Rankora.out" ||
    fail "ties $ties: chi-square is not $chi_square"
  grep -qF " Kendall's W           =   $w " "$dir/Rankora.out" || fail "ties $ties: W is not $w"
  in_readme "$chi_square"
  grep -qF "$chi_square" "$EXAMPLES/README.md" || fail "examples/README.md lacks $chi_square"
done <<EOF
1 38.71353 0.61450
2 38.61111 0.61287
EOF

# Ways of running the sample that the manual says change nothing in the report.
while read -r case answers arguments; do
  dir=$(sample_run)
  # Blanks inside an answer are written as underscores in the table.
  [ "$answers" = - ] || printf "$(echo "$answers" | tr _ ' ')" >"$dir/answers"
  # shellcheck disable=SC2086
  run_answers "$dir" $arguments
  expect_status "$dir" 0 "$case" &&
    same "$EXAMPLES/wine-bitterness.report" "$dir/Rankora.out" "report with $case"
done <<'EOF'
notes-after-answers 2__English\n9_8__judges,_objects\n1__rows\nwine-bitterness.txt__the_data\n1__ties\n999__permutations\n
empty-lines \n\n2\n\n9_8\n\n1\n\nwine-bitterness.txt\n\n1\n\n999\n
arguments - --help -x data.txt
EOF

# Links of the manual lead to one of its headings, or to a file of the source tree.
grep -v '^    ' "$README" | sed -n 's/^#\{1,6\} //p' |
  awk '{ s = tolower($0); gsub(/[^a-z0-9 -]/, "", s); gsub(/ /, "-", s); print s }' >"$work/anchors"
grep -o '](\([^)]*\))' "$README" | sed 's/^](//; s/)$//' | sort -u | while IFS= read -r target; do
  case $target in
    '#'*) grep -qxF "${target#\#}" "$work/anchors" || fail "README link to missing heading $target" ;;
    *://*) ;;
    *) [ -e "$SOURCE/$target" ] || fail "README link to missing file $target" ;;
  esac
done

finish
