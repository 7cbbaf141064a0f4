#!/bin/sh
# Runs one case folder against the built program in a scratch folder, then compares the
# screen, the error stream, the exit status and Rankora.out with the case's expected/.
# Usage: run_case.sh [--threads "N ..."] [--own-lines-apart | --record] <rankora> <case folder>
#   --threads          run the case once with RANKORA_THREADS set to each count; every run
#                      must give the expected outputs
#   --own-lines-apart  leave the error stream's "rankora: " lines out of the comparison
#                      (reference runs know nothing of them)
#   --record           write what the run gave into expected/ (review it before use)
# Besides its data files, a case may hold:
#   answers  standard input (an empty input when absent)
#   args     the command-line arguments, one a line (an empty line is an empty argument);
#            such a run may leave no file but Rankora.out
#   threads  thread counts, as --threads gives them (the option's counts come first)
#   pre      shell lines run first in the scratch folder (a link, a folder, a mode)
#   run      shell lines that start the program themselves, in place of the plain run,
#            for a file-size limit, a closed stream or a signal: $RANKORA is the program,
#            and the screen and error stream go to stdout.actual and stderr.actual
#   desc     one line: what the case checks
# expected/ holds stdout, stderr, status and, when the run leaves one, report. Without
# a report, whatever "Rankora.out" the run started with must be left as it was.
# expected/files/ holds every other file the run must leave (the --csv, --json and --svg
# outputs), byte for byte; a run with arguments may leave no other file.
set -u
ulimit -c 0
umask 022
threads=
if [ "$1" = --threads ]; then
  threads=$2
  shift 2
fi
option=
case $1 in --*) option=$1; shift ;; esac
RANKORA=$1
case_dir=$(cd "$2" && pwd)
[ -f "$case_dir/threads" ] && threads="$threads $(cat "$case_dir/threads")"
if [ -n "$threads" ] && [ "$option" != --record ] && [ -z "${RANKORA_CASE_ONE_RUN:-}" ]; then
  failed=0
  for count in $threads; do
    RANKORA_CASE_ONE_RUN=1 RANKORA_THREADS=$count sh "$0" $option "$RANKORA" "$case_dir" ||
      { echo "--- with RANKORA_THREADS=$count"; failed=1; }
  done
  exit $failed
fi
scratch=$(mktemp -d "${TMPDIR:-/tmp}/rankora-case.XXXXXX")
trap 'chmod -R u+rwx "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT

for f in "$case_dir"/* "$case_dir"/.[!.]*; do
  case ${f##*/} in
    answers | args | desc | pre | run | threads | expected | '*' | '.[!.]*') ;;
    *) cp -RP "$f" "$scratch"/ ;;
  esac
done
cd "$scratch" || exit 2
[ -f "$case_dir/answers" ] && cp "$case_dir/answers" answers || : >answers
if [ -f "$case_dir/pre" ]; then sh "$case_dir/pre" || exit 2; fi
report_state() { ls -ld --time-style=+ Rankora.out 2>/dev/null; cksum 2>/dev/null <Rankora.out; }
before=$(report_state)
# Every other file of the folder, for runs with arguments: a refused run writes nothing.
other_files() {
  find . -mindepth 1 -maxdepth 1 ! -name answers ! -name '*.actual' ! -name Rankora.out \
    -printf '%P %y %s %T@\n' | sort
}
# The outputs a case expects are compared on their own.
expected_files=$(ls "$case_dir/expected/files" 2>/dev/null || :)
unexpected_files() {
  other_files | awk -v names="$expected_files" '
    BEGIN { n = split(names, name, "\n"); for (i = 1; i <= n; i++) skip[name[i]] = 1 }
    !($1 in skip)'
}
others_before=$(unexpected_files)
everything_before=$(other_files)
set --
if [ -f "$case_dir/args" ]; then
  while IFS= read -r arg || [ -n "$arg" ]; do set -- "$@" "$arg"; done <"$case_dir/args"
fi

# For run hooks: the program started in the background (env options first), and waits
# for the report to hold some lines or the screen a text (false after about 20 s).
start() { env "$@" "$RANKORA" <answers >stdout.actual 2>stderr.actual & pid=$!; }
until_true() {
  tries=0
  until "$@"; do
    tries=$((tries + 1))
    [ $tries -gt 1000 ] && return 1
    sleep 0.02
  done
}
report_has() { [ "$(cat Rankora.out 2>/dev/null | wc -l)" -ge "$1" ]; }
screen_has() { grep -q "$1" stdout.actual 2>/dev/null; }

# The outer subshell keeps the shell's own note of an abort out of the output; a run
# that hangs is killed, not left behind.
if [ -f "$case_dir/run" ]; then
  ( (export RANKORA; . "$case_dir/run") ) 2>/dev/null
else
  ( (exec timeout -s KILL 60 "$RANKORA" "$@" <answers >stdout.actual 2>stderr.actual) ) 2>/dev/null
fi
echo $? >status.actual
[ "$option" = --own-lines-apart ] && { grep -v '^rankora: ' stderr.actual >stderr.own; mv stderr.own stderr.actual; }

if [ "$option" = --record ]; then
  mkdir -p "$case_dir/expected"
  cp stdout.actual "$case_dir/expected/stdout"
  cp stderr.actual "$case_dir/expected/stderr"
  cp status.actual "$case_dir/expected/status"
  rm -f "$case_dir/expected/report"
  [ "$(report_state)" != "$before" ] && cp Rankora.out "$case_dir/expected/report"
  # Every file the run wrote or changed.
  rm -rf "$case_dir/expected/files"
  other_files | while IFS= read -r line; do
    printf '%s\n' "$everything_before" | grep -qxF "$line" && continue
    mkdir -p "$case_dir/expected/files"
    cp "${line%% *}" "$case_dir/expected/files/"
  done
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
for f in "$case_dir"/expected/files/*; do
  [ -f "$f" ] || continue
  if [ -f "${f##*/}" ]; then compare "$f" "${f##*/}" "${f##*/}"
  else echo "--- ${f##*/} was not written"; failed=1; fi
done
if [ -f "$case_dir/args" ] && [ "$(unexpected_files)" != "$others_before" ]; then
  echo "--- files other than Rankora.out were written or changed (before, then after):"
  printf '%s\n--\n%s\n' "$others_before" "$(unexpected_files)"
  failed=1
fi
exit $failed
