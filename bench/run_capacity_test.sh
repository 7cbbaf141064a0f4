#!/bin/bash
# run-capacity on small sizes and on stand-in programs that misbehave: it must time real
# runs, keep reproducible reports, and fail loudly rather than print a wrong table.
# Usage: run_capacity_test.sh <run-capacity> <build folder>
set -u
script=$1
build=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/rankora-run-capacity-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0

fail() {
  echo "FAIL: $*"
  failed=1
}

run() {
  "$script" --no-build --build-dir "$build" "$@" >"$work/out" 2>"$work/err"
}

# A real run: one row per size, figures that are numbers, the reports kept.
if run --sizes "3x4 10x20" --runs 3 --nperm 99 --keep "$work/first"; then
  for size in 3x4 10x20; do
    awk -v s=$size '$1 == s && $2 ~ /^[0-9]+\.[0-9]+$/ && $2 > 0 && $3 >= 0 && $4 > 0 { found = 1 }
      END { exit !found }' "$work/out" || fail "no row of figures for $size: $(cat "$work/out")"
    grep -q '99' "$work/first/$size/Rankora.out" 2>/dev/null || fail "no report kept for $size"
  done
else
  fail "a real run failed: $(cat "$work/err")"
fi

# The same build twice gives the same reports, byte for byte.
if run --sizes "3x4 10x20" --nperm 99 --keep "$work/second"; then
  diff -r "$work/first" "$work/second" >/dev/null || fail "kept reports differ between two runs"
else
  fail "the second run failed: $(cat "$work/err")"
fi

# Stand-ins for a broken program.
fake() {
  printf '#!/bin/sh\ncat >/dev/null\n%s\n' "$2" >"$work/$1"
  chmod +x "$work/$1"
}
fake exits_1 'echo 1 >Rankora.out; exit 1'
fake complains 'echo 1 >Rankora.out; echo "list in: end of file" >&2'
fake no_report 'exit 0'
fake changing_report 'date +%s%N >Rankora.out'
fake aborts 'echo 1 >Rankora.out; kill -ABRT $$'

# option | what the error stream must mention
while IFS='|' read -r options message; do
  # shellcheck disable=SC2086
  if run $options; then
    fail "accepted: $options"
  elif ! grep -q -- "$message" "$work/err"; then
    fail "$options: expected '$message' on the error stream, got: $(cat "$work/err")"
  fi
done <<CASES
--sizes 10by20|not JUDGESxOBJECTS
--sizes 0x20|not JUDGESxOBJECTS
--sizes 10x|not JUDGESxOBJECTS
--runs 0|positive count
--runs 2.5|positive count
--nperm -1|wants a count
--binary $work/missing --sizes 3x4|no program
--binary $work/exits_1 --sizes 3x4|exit status 1
--binary $work/complains --sizes 3x4|end of file
--binary $work/no_report --sizes 3x4|no report
--binary $work/changing_report --sizes 3x4 --runs 2|differs
--binary $work/aborts --sizes 3x4|exit status
CASES

exit $failed
