#!/bin/sh
# Runs one case folder (cases/README.md) against the built program in a scratch folder and
# compares the screen, the error stream, the exit status and Rankora.out with expected/.
# Usage: run_case.sh [--threads "N ..."] [--own-lines-apart | --record] <rankora> <case folder>
#   --threads          run the case once with RANKORA_THREADS set to each count (and those
#                      of the case's threads file); every run must give the expected outputs
#   --own-lines-apart  leave the error stream's "rankora: " lines out of the comparison
#   --record           write what the run gave into expected/ (review it before use)
# RANKORA_CASE_ONE_RUN=1 in the environment runs a case once, whatever its thread counts.
# Exit status: 0 the case passes, 1 it fails, 2 it cannot be run.
set -u && ulimit -c 0 && umask 022
threads= option=
[ "${1:-}" = --threads ] && { threads=${2:-}; shift 2; }
case ${1:-} in --*) option=$1; shift ;; esac
refuse() { echo "run_case.sh: $*" >&2; exit 2; }
[ $# -eq 2 ] || refuse "usage: run_case.sh [--threads \"N ...\"] [--own-lines-apart | --record] <rankora> <case folder>"
case $1 in /*) RANKORA=$1 ;; *) RANKORA=$PWD/$1 ;; esac
# A folder that has gone (a renamed case) or holds no case must fail, not run on nothing.
case_dir=$(cd "$2" && pwd) || exit 2
[ -f "$case_dir/desc" ] && { [ "$option" = --record ] || [ -f "$case_dir/expected/status" ]; } ||
  refuse "$case_dir is no case: a case holds desc and expected/status"
[ -f "$case_dir/threads" ] && read -r more <"$case_dir/threads" && threads="$threads $more"
if [ -n "$threads" ] && [ "$option" != --record ] && [ -z "${RANKORA_CASE_ONE_RUN:-}" ]; then
  failed=0
  for count in $threads; do
    RANKORA_CASE_ONE_RUN=1 RANKORA_THREADS=$count sh "$0" $option "$RANKORA" "$case_dir" ||
      { echo "--- with RANKORA_THREADS=$count"; failed=1; }
  done
  exit $failed
fi
scratch=$(mktemp -d "${TMPDIR:-/tmp}/rankora-case.XXXXXX") || exit 2
trap 'rm -rf "$scratch" 2>/dev/null || { chmod -R u+rwx "$scratch"; rm -rf "$scratch"; }' EXIT

for f in "$case_dir"/* "$case_dir"/.[!.]*; do
  case ${f##*/} in
    answers | args | desc | env | labels | pre | run | signal | fsize | threads | expected | '*' | '.[!.]*') ;;
    *) cp -RP "$f" "$scratch"/ ;;
  esac
done
cd "$scratch" || exit 2
[ -f "$case_dir/answers" ] && cp "$case_dir/answers" answers || : >answers
if [ -f "$case_dir/pre" ]; then timeout -s KILL 60 sh "$case_dir/pre" || exit 2; fi
# What must be left as it was: Rankora.out where no report is expected, and the folder's
# other files for runs with arguments (a refused run writes nothing).
report_state() { ls -ld --time-style=+ Rankora.out 2>/dev/null; cksum 2>/dev/null <Rankora.out; }
other_files() {
  find . -mindepth 1 -maxdepth 1 ! -name answers ! -name '*.actual' ! -name Rankora.out \
    ! -name run.stderr ! -name .keys ! -name .pid -printf '%P %y %s %T@\n' | sort
}
# The outputs a case expects (expected/files/: --csv, --json, --svg) are compared on their
# own; a recording keeps every file the run wrote or changed.
expected_files=$(ls "$case_dir/expected/files" 2>/dev/null || :)
unexpected_files() {
  other_files | awk -v names="$expected_files" '
    BEGIN { n = split(names, name, "\n"); for (i = 1; i <= n; i++) skip[name[i]] = 1 }
    !($1 in skip)'
}
before= others_before= everything_before=
[ -f "$case_dir/expected/report" ] && [ "$option" != --record ] || before=$(report_state)
[ ! -f "$case_dir/args" ] || others_before=$(unexpected_files)
[ "$option" != --record ] || everything_before=$(other_files)
set --
if [ -f "$case_dir/args" ]; then
  while IFS= read -r arg || [ -n "$arg" ]; do set -- "$@" "$arg"; done <"$case_dir/args"
fi
# The settings of an `env` file, NAME=value or -NAME (unset), for every run of the case.
if [ -f "$case_dir/env" ]; then
  while read -r setting; do
    case $setting in -*) unset "${setting#-}" ;; *) export "${setting?}" ;; esac
  done <"$case_dir/env"
fi

until_true() { # tries a command every 20 ms for about 20 s
  tries=0 && until "$@"; do [ $((tries += 1)) -le 1000 ] && sleep 0.02 || return 1; done
}

# The signals of a `signal` file, sent while the program waits on a pipe that stays open.
run_signals() {
  how=$(sed -n 's/^ignore /--ignore-signal=/p' "$case_dir/signal")
  mkfifo .keys
  (exec timeout -s KILL 60 sh -c 'echo $$ >.pid; exec env "$@"' - "${how:---default-signal=INT,QUIT}" \
    "$RANKORA" "$@" <.keys >stdout.actual 2>stderr.actual) 2>/dev/null &
  exec 4>.keys && cat answers >&4 && until_true test -s .pid
  grep -v '^ignore ' "$case_dir/signal" | while read -r signal when what; do
    case $when in
      screen) until_true grep -qF "$what" stdout.actual ;;
      report) until_true eval '[ "$(cat Rankora.out 2>/dev/null | wc -l)" -ge "$what" ]' ;;
      later) sleep 0.3 ;;
    esac || kill -KILL "$(cat .pid)"
    kill -"$signal" "$(cat .pid)"
  done
  wait $! 2>/dev/null
}

# Every run is killed after a minute; a subshell that waits keeps the shell's own note of an
# abort out of the output, and a run file's error stream is kept apart.
if [ -f "$case_dir/signal" ]; then
  run_signals "$@"
elif [ -f "$case_dir/run" ]; then
  RANKORA=$RANKORA timeout -s KILL 60 sh "$case_dir/run" "$@" 2>run.stderr
else
  ( (exec timeout -s KILL 60 "$RANKORA" "$@" <answers >stdout.actual 2>stderr.actual); exit $? ) 2>/dev/null
fi
status=$? errors=stderr.actual
[ "$option" = --own-lines-apart ] && { grep -v '^rankora: ' stderr.actual >own; errors=own; }

# An `fsize` file: the run again under a file-size limit of every size up to the full
# report's, each report kept as SIZE.out, the error streams through one pipe. Writes the
# sizes kept, and the kind of statement that failed, to cuts.
cut_at_every_size() (
  full=$(wc -c <"$case_dir/expected/report")
  mkdir cut && for f in "$case_dir"/*; do [ ! -f "$f" ] || cp "$f" cut/; done && cd cut || return 1
  for size in $(seq 0 "$full"); do
    echo "== $size"
    (exec prlimit --fsize=$size -- "$RANKORA" "$@" <answers 2>&1 >/dev/null)
    echo "status $?"
    mv Rankora.out $size.out
  done 2>/dev/null | grep -v '^rankora: ' >runs
  LC_ALL=C awk -v full="$full" -v report="$case_dir/expected/report" '
    BEGIN { while ((getline line <report) > 0) want[++lines] = line }
    function fail(what) { printf "--- under a limit of %d bytes, %s\n", size, what; exit 1 }
    /^== / { size = $2; err = ""; next }
    !/^status / { err = err $0 "\n"; next }
    !(size == full ? $2 == 0 && err == "" : $2 == 134 && err ~ "^write: File too large\n" \
      "apparent state: unit 7 named Rankora.out\n(last format: list io\n)?" \
      "lately writing sequential formatted external IO\n$") { fail("status " $2 ":\n" err) }
    {
      for (i = bytes = 0; (got = (getline line <(size ".out"))) > 0; bytes += length(line) + 1)
        if (line != want[++i]) fail("line " i " of the report differs")
      if (got < 0) fail("no report")
      close(size ".out")
      # As many whole records as fitted: the size kept before, or the limit (a line cut at
      # the limit counts one byte past it).
      if ((bytes != before && bytes != size) || (size == full && bytes != full))
        fail(bytes " bytes kept after " before)
      if (size < full && (size == 0 || bytes != before))
        print bytes, err ~ /list io/ ? "list" : "formatted" >"../cuts"
      before = bytes
    }' runs
)

if [ "$option" = --record ]; then
  cat run.stderr 2>/dev/null
  mkdir -p "$case_dir/expected"
  cp stdout.actual "$case_dir/expected/stdout" && cp $errors "$case_dir/expected/stderr"
  echo $status >"$case_dir/expected/status"
  rm -f "$case_dir/expected/report"
  [ "$(report_state)" != "$before" ] && cp Rankora.out "$case_dir/expected/report"
  [ -f "$case_dir/fsize" ] && cut_at_every_size "$@" && cp cuts "$case_dir/expected/cuts"
  rm -rf "$case_dir/expected/files"
  other_files | while IFS= read -r line; do
    printf '%s\n' "$everything_before" | grep -qxF "$line" && continue
    mkdir -p "$case_dir/expected/files" && cp "${line%% *}" "$case_dir/expected/files/"
  done
  exit 0
fi

failed=0
compare() { # expected actual what
  cmp -s "$1" "$2" && return
  echo "--- $3 differs (expected, then actual):"
  diff "$1" "$2" | head -n 40
  failed=1
}
compare "$case_dir/expected/stdout" stdout.actual screen
compare "$case_dir/expected/stderr" $errors "error stream"
read -r want <"$case_dir/expected/status"
[ "$status" = "$want" ] || { echo "--- exit status differs: $want expected, $status given"; failed=1; }
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
[ -f "$case_dir/fsize" ] && [ $failed = 0 ] &&
  { cut_at_every_size "$@" && compare "$case_dir/expected/cuts" cuts "sizes a cut report keeps" || failed=1; }
[ $failed = 0 ] || [ ! -s run.stderr ] || { echo "--- the run file's error stream:"; cat run.stderr; }
exit $failed
