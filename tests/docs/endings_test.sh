#!/bin/sh
# Every early end of a run that the manual lists: the message, the exit status, what the
# report keeps, and the manual's row for it.
# Usage: endings_test.sh <rankora binary> <source tree>
set -u
RANKORA=$1
SOURCE=$2
. "$(dirname "$0")/lib.sh"

# The folders runs start in.
with_nothing() { :; }
with_wine() { cp "$EXAMPLES/wine-bitterness.txt" "$1"/; }
with_old_report() {
  with_wine "$1"
  echo "results of an earlier run" >"$1/Rankora.out"
}
with_folder() {
  mkdir "$1/data"
  cp "$EXAMPLES/wine-bitterness.txt" "$1/data"/
}
with_header() {
  { echo "bottle1 bottle2 bottle3 bottle4 bottle5 bottle6 bottle7 bottle8"
    cat "$EXAMPLES/wine-bitterness.txt"; } >"$1/wine-bitterness.txt"
}
with_missing_value() { sed '3s/ 42 / NA /' "$EXAMPLES/wine-bitterness.txt" >"$1/wine-bitterness.txt"; }
with_semicolons() { block semicolons >"$1/wine-bitterness.txt"; }
with_crlf_split_records() { printf '12 15\r\n9 20\r\n10 14\r\n14 22\r\n11 9\r\n16 19\r\n' >"$1/wine-bitterness.txt"; }

# readme_row FIRST UNIT: the manual's table of error reports has a row for FIRST on UNIT.
readme_row() {
  grep -F "| \`$1\`" "$README" | grep -qF "| $2 |" && return 0
  fail "README.md has no row for '$1' on unit $2"
}

# Error reports: the run ends with the abort signal. NAMED is a printf format; KEPT is the
# number of lines the report keeps ("none" when it was not even created).
while IFS='|' read -r case setup answers first unit named kept; do
  dir=$(scratch)
  "$setup" "$dir"
  run_in "$dir" "$answers"
  expect_status "$dir" 134 "$case" || continue
  [ "$(sed -n 1p "$dir/errors")" = "$first" ] || fail "$case: error report begins '$(sed -n 1p "$dir/errors")'"
  if [ "$named" = "(unnamed)" ]; then
    second="apparent state: unit $unit (unnamed)"
  else
    # shellcheck disable=SC2059
    second=$(printf "apparent state: unit $unit named $named" | visible)
  fi
  [ "$(sed -n 2p "$dir/errors" | visible)" = "$second" ] || fail "$case: second line '$(sed -n 2p "$dir/errors")'"
  tail -n 1 "$dir/errors" | grep -q '^lately \(reading\|writing\) sequential formatted external IO$' ||
    fail "$case: no 'lately' line"
  case $kept in
    -) ;;
    none) [ -e "$dir/Rankora.out" ] && fail "$case: a report was created" ;;
    *) [ "$(wc -l <"$dir/Rankora.out")" -eq "$kept" ] || fail "$case: the report keeps $(wc -l <"$dir/Rankora.out") lines, not $kept" ;;
  esac
  readme_row "$first" "$unit"
done <<'EOF'
report-exists|with_old_report|2\n|open: 'new' file exists|7|Rankora.out|-
data-file-missing|with_nothing|2\n9 8\n1\nwine.txt\n|open: No such file or directory|10|wine.txt|8
bare-path-no-folder|with_nothing|2\n9 8\n1\ndata/wine-bitterness.txt\n|open: No such file or directory|10|data|8
answers-with-windows-line-ends|with_wine|2\r\n9 8\r\n1\r\nwine-bitterness.txt\r\n1\r\n999\r\n|open: No such file or directory|10|wine-bitterness.txt\r|8
at-capacity-is-accepted|with_nothing|2\n1000 2000\n1\nnone.txt\n|open: No such file or directory|10|none.txt|8
answers-run-out|with_wine|2\n9 8\n|list in: end of file|5|(unnamed)|8
no-answers-at-all|with_wine||list in: end of file|5|(unnamed)|none
last-answer-without-line-end|with_wine|2\n9 8|read start: end of file|5|(unnamed)|8
data-too-short|with_wine|2\n10 8\n1\nwine-bitterness.txt\n|list in: end of file|10|wine-bitterness.txt|10
bare-path-cut-at-folder|with_folder|2\n9 8\n1\ndata/wine-bitterness.txt\n|open: Is a directory|10|data|8
word-for-a-number|with_wine|2\nnine 8\n|invalid number: incomprehensible list input|5|(unnamed)|8
header-line|with_header|2\n9 8\n1\nwine-bitterness.txt\n|invalid number: incomprehensible list input|10|wine-bitterness.txt|10
missing-value|with_missing_value|2\n9 8\n1\nwine-bitterness.txt\n|invalid number: incomprehensible list input|10|wine-bitterness.txt|10
semicolons-and-decimal-commas|with_semicolons|2\n3 4\n1\nwine-bitterness.txt\n|invalid number: incomprehensible list input|10|wine-bitterness.txt|10
windows-line-end-inside-record|with_crlf_split_records|2\n3 4\n1\nwine-bitterness.txt\n|invalid number: incomprehensible list input|10|wine-bitterness.txt|10
decimal-point|with_wine|2\n9 8\n1\nwine-bitterness.txt\n1\n999.\n|invalid integer: read unexpected character|5|(unnamed)|11
exponent|with_wine|2\n9 8\n1\nwine-bitterness.txt\n1\n1e3\n|invalid integer: read unexpected character|5|(unnamed)|11
empty-name|with_wine|2\n9 8\n1\n''\n|open: null file name|10||8
EOF

# The manual's full example of an error report; the old report must survive it.
dir=$(scratch)
with_old_report "$dir"
run_in "$dir" "2\n"
block report-exists >"$work/shown" && same "$work/shown" "$dir/errors" "README error report example"
[ "$(cat "$dir/Rankora.out")" = "results of an earlier run" ] || fail "the old Rankora.out was changed"

# Too large a table: a screen message, a stop code, exit status 0, the banner alone kept.
while IFS='|' read -r case answers shown stop; do
  dir=$(scratch)
  run_in "$dir" "$answers"
  expect_status "$dir" 0 "$case" || continue
  [ "$(visible "$dir/screen" | tail -n 1)" = " $shown" ] || fail "$case: the screen ends '$(tail -n 1 "$dir/screen")'"
  [ "$(cat "$dir/errors")" = "$stop" ] || fail "$case: error stream '$(cat "$dir/errors")'"
  [ "$(wc -l <"$dir/Rankora.out")" -eq 8 ] || fail "$case: the report holds more than the banner"
  grep -qF "\`$shown\` | \`$stop\`" "$README" || fail "README.md has no row for $stop"
done <<'EOF'
too-many-objects|2\n9 2001\n|Too many objects. Recompile the program.|STOP 2 statement executed
too-many-judges|2\n1001 8\n|Too many judges. Recompile the program.|STOP 3 statement executed
objects-checked-first|2\n1001 2001\n|Too many objects. Recompile the program.|STOP 2 statement executed
EOF

# Answers that make a question come back; the run then goes on to a normal end.
while IFS='|' read -r case answers question times count; do
  dir=$(scratch)
  with_wine "$dir"
  run_in "$dir" "$answers"
  expect_status "$dir" 0 "$case" || continue
  asked=$(grep -cxF " $question" "$dir/screen")
  [ "$asked" -eq "$times" ] || fail "$case: '$question' asked $asked times, expected $times"
  grep -qxF " Number of permutations:$count" "$dir/Rankora.out" || fail "$case: permutation count"
done <<'EOF'
language|0\n3\n-1\n2\n9 8\n1\nwine-bitterness.txt\n1\n9\n|English:  type  (2)|4|     9
too-few|2\n1 5\n9 1\n9 8\n1\nwine-bitterness.txt\n1\n9\n|How many judges and objects?|3|     9
ties|2\n9 8\n1\nwine-bitterness.txt\n3\n0\n1\n9\n|Test (1) with or (2) without correction for ties?|3|     9
negative-permutations|2\n9 8\n1\nwine-bitterness.txt\n1\n-5\n0\n|How many permutations? (e.g., 999, 9999, ...)|2|     0
EOF
dir=$(scratch)
with_wine "$dir"
run_in "$dir" "2\n1 5\n9 8\n1\nwine-bitterness.txt\n1\n9\n"
too_few=$(grep -i 'at least' "$dir/screen" | sed 's/^ //')
if [ -n "$too_few" ]; then in_readme "\`$too_few\`"; else fail "no message for too few judges"; fi

# Signals while the program waits at the tie question: one line on the error stream, and
# the report written so far is kept.
if env --default-signal=INT,QUIT true 2>/dev/null; then
  while read -r signal status message; do
    dir=$(scratch)
    with_wine "$dir"
    mkfifo "$dir/keyboard"
    # A background job starts with interrupt and quit ignored; the program must see them.
    (cd "$dir" && exec env --default-signal=INT,QUIT "$RANKORA" <keyboard >screen 2>errors) 2>/dev/null &
    pid=$!
    exec 3>"$dir/keyboard"
    printf '2\n9 8\n1\nwine-bitterness.txt\n' >&3
    tries=0
    until grep -qs 'without correction for ties' "$dir/screen" || [ $tries -ge 200 ]; do
      sleep 0.05
      tries=$((tries + 1))
    done
    kill "-$signal" "$pid"
    wait "$pid" 2>/dev/null
    ended=$?
    exec 3>&-
    [ "$ended" -eq "$status" ] || fail "$signal: exit status $ended, expected $status"
    [ "$(cat "$dir/errors")" = "$message" ] || fail "$signal: error stream '$(cat "$dir/errors")'"
    head -n 11 "$EXAMPLES/wine-bitterness.report" >"$work/kept"
    same "$work/kept" "$dir/Rankora.out" "report kept after $signal"
    grep -qF "| \`$message\` | $status |" "$README" || fail "README.md has no row for $message"
  done <<'EOF'
INT 1 Interrupt
TERM 1 Killed
QUIT 134 Quit signal
EOF
else
  echo "skipped: this env cannot restore the default action of a signal"
fi

finish
