#!/bin/sh
# A long analysis on a pseudo-terminal shows the phase, its fraction and the time left,
# never as wide as the terminal, and ends as a redirected run, which shows nothing.
set -eu
binary=$1
scratch=$(mktemp -d "${TMPDIR:-/tmp}/rankora-progress.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
fail() { echo "$*"; exit 1; }

# 1000 judges x 2000 objects of moderately agreeing scores: several seconds of analysis.
awk 'BEGIN { srand(11); for (k = 1; k <= 2000; k++) base[k] = int(rand() * 60);
             for (j = 1; j <= 1000; j++) { line = "";
               for (k = 1; k <= 2000; k++) line = line " " (base[k] + int(rand() * 40));
               print line } }' >data.txt
printf '2\n1000 2000\n1\ndata.txt\n1\n399\n' >answers
for dir in redirected narrow wide; do mkdir $dir && cp data.txt $dir/; done
on_terminal() { script -qec "stty cols $1; sh -c '\"$binary\" <../answers & echo \$! >pid;
  wait \$!; echo \$? >status'" /dev/null </dev/null >typescript; }
# What a terminal shows at the end: a carriage return goes back to the start of the line.
screen() {
  awk '{ shown = ""; n = split($0, parts, "\r");
         for (i = 1; i <= n; i++) shown = parts[i] substr(shown, length(parts[i]) + 1);
         sub(/ +$/, "", shown); print shown }' "$1"
}

(cd redirected && "$binary" <../answers >stdout 2>stderr)
[ ! -s redirected/stderr ] || fail "redirected run wrote on the error stream: $(cat -v redirected/stderr)"

cd narrow
on_terminal 25
tr '\r' '\n' <typescript | grep -E '(Global test|Judges tested):' >lines || fail "no progress line"
awk 'length > 24 { print; bad = 1 } END { exit bad }' lines || fail "wider than 24 columns"
screen typescript >final
screen ../redirected/stdout | cmp -s - final || fail "the screen ends differently on a terminal"
cmp -s Rankora.out ../redirected/Rankora.out || fail "the reports differ"

# Stopped once the judges' phase shows: the line goes, "Killed" stands alone.
cd ../wide
on_terminal 80 &
tries=0
until grep -q 'Judges tested: .* left' typescript 2>/dev/null; do
  tries=$((tries + 1)) && [ $tries -lt 600 ] && sleep 0.1 || fail "no judges' line with the time left"
done
kill -TERM "$(cat pid)"
wait
[ "$(cat status)" = 1 ] || fail "status $(cat status) after the termination request"
[ "$(screen typescript | tail -n 1)" = Killed ] || fail "the last line is not \"Killed\""
tr '\r' '\n' <typescript >lines
grep -Eq '^ Global test: [0-9]+%(, about [0-9]+ (s|min) left)? *$' lines || fail "no global test line"
# The judges' percentage is of their own phase: 142 of 1000 is 14%.
sed -n 's/^ Judges tested: \([0-9]*\) of 1000 (\([0-9]*\)%), about [0-9]* [a-z]* left *$/\1 \2/p' \
  lines | awk '{ seen = 1 } $2 != int($1 / 10) { print; bad = 1 } END { exit bad || !seen }' ||
  fail "judges' lines wrong or missing: $(grep Judges lines | head -n 3)"

# The command line shows the same line and the same report; with --quiet, nothing at all.
cd ..
cli_on_terminal() {
  script -qec "stty cols 80; \"$binary\" $1 -l en -p 399 data.txt" /dev/null </dev/null >typescript
}
for dir in command_line quiet; do mkdir $dir && cp data.txt $dir/; done
(cd command_line && cli_on_terminal "")
tr '\r' '\n' <command_line/typescript | grep -Eq '^ Global test: [0-9]+%' ||
  fail "no progress line in the command-line form"
screen command_line/typescript >command_line/final
printf '1000 judges x 2000 objects from data.txt\nReport written to Rankora.out\n' |
  cmp -s - command_line/final || fail "the command line's screen ends otherwise: $(cat command_line/final)"
cmp -s command_line/Rankora.out redirected/Rankora.out || fail "the two forms' reports differ"
(cd quiet && cli_on_terminal -q)
[ ! -s quiet/typescript ] || fail "--quiet showed: $(cat -v quiet/typescript)"
[ -s quiet/Rankora.out ] || fail "--quiet wrote no report"
