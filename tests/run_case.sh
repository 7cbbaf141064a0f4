#!/bin/sh
# Runs one case folder against the built program in a scratch folder, then compares the
# screen, the error stream, the exit status and Rankora.out with the case's expected/.
# Usage: run_case.sh [--own-lines-apart | --record] <rankora> <case folder>
#   --own-lines-apart  leave the error stream's "rankora: " lines out of the comparison
#                      (reference runs know nothing of them)
#   --record           write what the run gave into expected/ (review it before use)
# cases/README.md says what a case folder may hold. Exit status: 0 when the case passes,
# 1 when it fails, 2 when it cannot be run.
set -u
ulimit -c 0
umask 022
option=
case ${1:-} in --*) option=$1; shift ;; esac
refuse() { echo "run_case.sh: $*" >&2; exit 2; }
[ $# -eq 2 ] || refuse "usage: run_case.sh [--own-lines-apart | --record] <rankora> <case folder>"
case $1 in /*) RANKORA=$1 ;; *) RANKORA=$PWD/$1 ;; esac
[ -x "$RANKORA" ] || refuse "no program $RANKORA"
# A folder that has gone (a renamed case) or holds no case must fail, not run on nothing.
case_dir=$(cd "$2" && pwd) || exit 2
[ -f "$case_dir/desc" ] || refuse "$case_dir holds no case (no desc)"
[ "$option" = --record ] || [ -f "$case_dir/expected/status" ] ||
  refuse "$case_dir has nothing expected (no expected/status)"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/rankora-case.XXXXXX") || exit 2
trap 'chmod -R u+rwx "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT

for f in "$case_dir"/* "$case_dir"/.[!.]*; do
  case ${f##*/} in
    answers | desc | pre | run | signal | fsize | expected | '*' | '.[!.]*') ;;
    *) cp -RP "$f" "$scratch"/ ;;
  esac
done
cd "$scratch" || exit 2
[ -f "$case_dir/answers" ] && cp "$case_dir/answers" answers || : >answers
if [ -f "$case_dir/pre" ]; then timeout -s KILL 60 sh "$case_dir/pre" || exit 2; fi
report_state() { ls -ld --time-style=+ Rankora.out 2>/dev/null; cksum 2>/dev/null <Rankora.out; }
before=$(report_state)

# Every run is killed after a minute: a run that hangs fails instead of stalling the suite.
# The outer subshell keeps the shell's own note of an abort out of the output.
run_program() {
  ( (exec timeout -s KILL 60 "$RANKORA" <answers >stdout.actual 2>stderr.actual) ) 2>/dev/null
}

until_true() { # tries a command every 20 ms for about 20 s
  tries=0
  until "$@"; do
    tries=$((tries + 1))
    [ $tries -gt 1000 ] && return 1
    sleep 0.02
  done
}
report_has() { [ "$(cat Rankora.out 2>/dev/null | wc -l)" -ge "$1" ]; }

# A `signal` file: the answers come through a pipe that stays open, so that the program
# waits at the question after them; then each line sends one signal: "SIG screen TEXT"
# once the screen shows TEXT, "SIG report N" once the report holds N lines, "SIG later"
# 0.3 s after the one before. A first line "ignore SIG" starts the program with SIG
# ignored (as a background job starts).
run_signals() {
  how=--default-signal=INT,QUIT
  ignored=$(sed -n 's/^ignore //p' "$case_dir/signal")
  [ -z "$ignored" ] || how=--ignore-signal=$ignored
  mkfifo .keys
  (exec timeout -s KILL 60 sh -c 'echo $$ >.pid; exec env "$@"' - "$how" "$RANKORA" \
    <.keys >stdout.actual 2>stderr.actual) 2>/dev/null &
  job=$!
  exec 4>.keys
  cat answers >&4
  until_true test -s .pid
  pid=$(cat .pid)
  grep -v '^ignore ' "$case_dir/signal" | while read -r signal when what; do
    case $when in
      screen) until_true grep -qF "$what" stdout.actual ;;
      report) until_true report_has "$what" ;;
      later) sleep 0.3 ;;
      *) echo "run_case.sh: signal: no such moment '$when'" >&2 ;;
    esac || kill -KILL "$pid"
    kill -"$signal" "$pid"
  done
  wait $job 2>/dev/null
  status=$?
  exec 4>&-
  return $status
}

if [ -f "$case_dir/signal" ]; then
  run_signals
elif [ -f "$case_dir/run" ]; then
  RANKORA=$RANKORA timeout -s KILL 60 sh "$case_dir/run" 2>hook.stderr
else
  run_program
fi
echo $? >status.actual
own_lines_apart() { grep -v '^rankora: ' "$1" >"$1.own"; mv "$1.own" "$1"; }
[ "$option" = --own-lines-apart ] && own_lines_apart stderr.actual

# An `fsize` file ("every"): the run again under a file-size limit of every size from 0 to
# the full report's length, each in a folder of its own. Short of the full size, a run stops
# with the error report of the report's unit and keeps the records that fitted whole, as
# many as fitted: its kept size is the one before or its own limit. The kept sizes, each
# with the kind of statement that failed (a list-directed one names its format), go to cuts.
# Per run one process and the program: its error stream goes through one pipe for all.
cut_at_every_size() (
  full=$(wc -c <"$case_dir/expected/report")
  sizes=$(seq 0 "$full")
  mkdir cut && cd cut && mkdir $sizes || return 1
  for f in "$case_dir"/*; do
    [ -f "$f" ] && tee $(for size in $sizes; do printf '%s ' "$size/${f##*/}"; done) <"$f" >/dev/null
  done
  for size in $sizes; do
    echo "== $size"
    (cd $size && exec prlimit --fsize=$size -- "$RANKORA" <answers 2>&1 >/dev/null)
    echo "status $?"
  done 2>/dev/null | grep -v '^rankora: ' >runs
  wc -c */Rankora.out | sed 's|/Rankora.out$||' >kept
  LC_ALL=C awk -v full="$full" -v report="$case_dir/expected/report" '
    BEGIN {
      while ((getline line <report) > 0) want[++lines] = line
      fatal = "write: File too large\napparent state: unit 7 named Rankora.out\n"
      last = "lately writing sequential formatted external IO\n"
      form[fatal last] = "formatted"
      form[fatal "last format: list io\n" last] = "list"
    }
    FILENAME == "kept" { kept[$2] = $1; next }
    /^== / { size = $2; err = ""; next }
    /^status / {
      if (!(size in kept)) { printf "--- under a limit of %d bytes, no report\n", size; exit 1 }
      ok = size == full ? $2 == 0 && err == "" : $2 == 134 && err in form
      if (!ok) { printf "--- under a limit of %d bytes, status %s and:\n%s", size, $2, err; exit 1 }
      bytes = 0
      for (i = 1; (getline line <(size "/Rankora.out")) > 0; i++) {
        if (line != want[i]) { printf "--- under a limit of %d bytes, line %d of the report differs\n", size, i; exit 1 }
        bytes += length(line) + 1
      }
      close(size "/Rankora.out")
      if (bytes != kept[size] || (bytes != before && bytes != size) || (size == full && bytes != full)) {
        printf "--- under a limit of %d bytes, %s bytes kept after %d\n", size, kept[size], before
        exit 1
      }
      if (size < full && (size == 0 || bytes != before)) print bytes, form[err] >"../cuts"
      before = bytes
      next
    }
    { err = err $0 "\n" }' kept runs
)

if [ "$option" = --record ]; then
  [ -s hook.stderr ] && { echo "--- the run file's error stream:"; cat hook.stderr; }
  mkdir -p "$case_dir/expected"
  cp stdout.actual "$case_dir/expected/stdout"
  cp stderr.actual "$case_dir/expected/stderr"
  cp status.actual "$case_dir/expected/status"
  rm -f "$case_dir/expected/report"
  [ "$(report_state)" != "$before" ] && cp Rankora.out "$case_dir/expected/report"
  if [ -f "$case_dir/fsize" ]; then
    cut_at_every_size && cp cuts "$case_dir/expected/cuts"
  fi
  exit 0
fi

failed=0
compare() { # expected actual what
  if ! cmp -s "$1" "$2"; then
    echo "--- $3 differs (expected, then actual):"
    diff "$1" "$2" | head -n 40
    failed=1
  fi
}
compare "$case_dir/expected/stdout" stdout.actual screen
compare "$case_dir/expected/stderr" stderr.actual "error stream"
compare "$case_dir/expected/status" status.actual "exit status"
if [ -f "$case_dir/expected/report" ]; then
  compare "$case_dir/expected/report" Rankora.out report
  mode=$(stat -c %A Rankora.out 2>/dev/null)
  [ "$mode" = -rw-r--r-- ] || { echo "--- Rankora.out has the mode $mode"; failed=1; }
elif [ "$(report_state)" != "$before" ]; then
  echo "--- Rankora.out was written, or changed, where it should not be"
  failed=1
fi
if [ -f "$case_dir/fsize" ] && [ $failed = 0 ]; then
  [ "$(cat "$case_dir/fsize")" = every ] || refuse "fsize: only 'every' is known"
  cut_at_every_size && compare "$case_dir/expected/cuts" cuts "sizes a cut report keeps" || failed=1
fi
[ $failed = 0 ] || [ ! -s hook.stderr ] || { echo "--- the run file's error stream:"; cat hook.stderr; }
exit $failed
