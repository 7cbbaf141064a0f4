#!/bin/sh
# A long analysis run on a pseudo-terminal shows a progress line on the error stream and
# leaves the screen as a redirected run leaves it; the redirected run shows nothing.
set -eu
binary=$1
scratch=$(mktemp -d "${TMPDIR:-/tmp}/rankora-progress.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

# 1000 judges x 2000 objects of moderately agreeing scores: several seconds of analysis.
awk 'BEGIN { srand(11); for (k = 1; k <= 2000; k++) base[k] = int(rand() * 60);
             for (j = 1; j <= 1000; j++) { line = "";
               for (k = 1; k <= 2000; k++) line = line " " (base[k] + int(rand() * 40));
               print line } }' >data.txt
printf '2\n1000 2000\n1\ndata.txt\n1\n399\n' >answers

mkdir redirected terminal
(cd redirected && cp ../data.txt . && "$binary" <../answers >stdout 2>stderr)
if [ -s redirected/stderr ]; then
  echo "redirected run wrote on the error stream:"; cat -v redirected/stderr; exit 1
fi

(cd terminal && cp ../data.txt . && script -qec "\"$binary\" <../answers" /dev/null >typescript)
if ! grep -q 'Global test\.\.\. [0-9]*%' terminal/typescript; then
  echo "no progress line on the terminal"; exit 1
fi
if ! grep -q 'Judges tested: [0-9]* of 1000 ([0-9]*%)' terminal/typescript; then
  echo "no judge progress on the terminal"; exit 1
fi
# What a terminal shows at the end: a carriage return goes back to the start of the line
# and what follows overwrites it. Trailing blanks are invisible.
screen() {
  awk '{ shown = ""; n = split($0, parts, "\r");
         for (i = 1; i <= n; i++) shown = parts[i] substr(shown, length(parts[i]) + 1);
         sub(/ +$/, "", shown); print shown }' "$1"
}
screen terminal/typescript >terminal/screen
screen redirected/stdout >redirected/screen
if ! cmp -s terminal/screen redirected/screen; then
  echo "the screen ends differently on the terminal:"; diff terminal/screen redirected/screen; exit 1
fi
if ! cmp -s terminal/Rankora.out redirected/Rankora.out; then
  echo "the reports differ"; exit 1
fi

# A termination request while the line is shown: the line goes, "Killed" stands alone.
mkdir stopped
cd stopped
cp ../data.txt .
script -qec "sh -c '\"$binary\" <../answers & echo \$! >pid; wait \$!; echo \$? >status'" /dev/null \
  >typescript &
tries=0
until grep -q 'Global test\.\.\.' typescript 2>/dev/null; do
  tries=$((tries + 1))
  [ $tries -lt 600 ] || { echo "no progress line to interrupt"; exit 1; }
  sleep 0.1
done
kill -TERM "$(cat pid)"
wait
[ "$(cat status)" = 1 ] || { echo "status $(cat status) after the termination request"; exit 1; }
screen typescript | tail -n 1 >last_line
if [ "$(cat last_line)" != Killed ]; then
  echo "the terminal's last line is not \"Killed\":"; cat -A last_line; exit 1
fi
