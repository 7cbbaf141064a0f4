#!/bin/sh
# Runs one recorded case against the built program and compares the screen, the error
# stream, the exit status and the report with what the case expects.
# Usage: run_case.sh <rankora binary> <case directory>
set -u
binary=$1
case_dir=$2
scratch=$(mktemp -d "${TMPDIR:-/tmp}/rankora-case.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

for f in "$case_dir"/*; do
  case $(basename "$f") in
    answers|desc|pre|expected) ;;
    *) cp -R "$f" "$scratch"/ ;;
  esac
done
cd "$scratch" || exit 2
if [ -f "$case_dir/pre" ]; then sh "$case_dir/pre" || exit 2; fi
answers=/dev/null
[ -f "$case_dir/answers" ] && answers=$case_dir/answers

(exec "$binary" <"$answers" >stdout.actual 2>stderr.actual) 2>/dev/null
echo $? >status.actual

failed=0
compare() {
  if ! cmp -s "$1" "$2"; then
    echo "--- $3 differs:"
    diff "$1" "$2" | head -n 40
    failed=1
  fi
}
compare "$case_dir/expected/stdout" stdout.actual screen
compare "$case_dir/expected/stderr" stderr.actual "error stream"
compare "$case_dir/expected/status" status.actual "exit status"
if [ -f "$case_dir/expected/report" ]; then
  if [ -e Rankora.out ]; then
    compare "$case_dir/expected/report" Rankora.out report
  else
    echo "--- no Rankora.out was written"
    failed=1
  fi
elif [ -e Rankora.out ]; then
  echo "--- Rankora.out was written but none was expected"
  failed=1
fi
exit $failed
