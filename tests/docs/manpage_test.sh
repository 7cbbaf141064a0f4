#!/bin/sh
# The manual page: its example runs as shown, it names the version being built, and it
# renders cleanly for man and apropos (skipped, 77, where man is not installed).
# Usage: manpage_test.sh <rankora binary> <source tree> <version>
set -u
RANKORA=$1 SOURCE=$2 VERSION=$3
. "$(dirname "$0")/lib.sh"
PAGE=$SOURCE/doc/rankora.1

# The EXAMPLES section, as the reader sees it: "$ " lines are commands, the others what
# they print. Each command runs in a folder with the sample files, in order.
sed -n '/^\.SH EXAMPLES/,/^\.SH/p' "$PAGE" | sed -n '/^\.EX/,/^\.EE/p' | sed '/^\.E[EX]$/d' |
  sed 's/\\-/-/g; s/\\(aq/'"'"'/g; s/\\e/\\/g' >"$work/example"
[ -s "$work/example" ] || fail "no example in the manual page"
dir=$(scratch)
cp "$EXAMPLES/wine-bitterness.txt" "$EXAMPLES/wine-bitterness.answers" "$dir"/
mkdir "$work/bin" && ln -s "$RANKORA" "$work/bin/rankora"
touch "$work/expected" "$work/printed"
while IFS= read -r line; do
  case $line in
    '$ '*) (cd "$dir" && PATH=$work/bin:$PATH sh -c "${line#\$ }" >>"$work/printed" 2>&1) ;;
    *) printf '%s\n' "$line" >>"$work/expected" ;;
  esac
done <"$work/example"
same "$work/expected" "$work/printed" "output of the manual page's example"

# Every message the page lists is one the user's manual lists, which its own checks run.
sed -n '/^\.SH DIAGNOSTICS/,/^\.SH/p' "$PAGE" | sed -n 's/^\.B "\(.*\)"$/\1/p' |
  sed 's/\\(aq/'"'"'/g' >"$work/messages"
[ "$(wc -l <"$work/messages")" -ge 8 ] || fail "the page's DIAGNOSTICS list too few messages"
while IFS= read -r message; do
  grep -qF "\`$message\`" "$README" || fail "the page lists '$message', the manual does not"
done <"$work/messages"

head -n 1 "$PAGE" | grep -qF "\"Rankora $VERSION\"" || fail "the manual page does not name version $VERSION"

# The page's exit statuses are the user's manual's.
sed -n '/^\.SH EXIT STATUS/,/^\.SH/p' "$PAGE" | sed -n 's/^\.B \([0-9][0-9]*\)$/\1/p' >"$work/statuses.page"
sed -n '/^### Exit status/,/^#/p' "$README" | sed -n 's/^| \([0-9][0-9]*\) |.*/\1/p' >"$work/statuses.manual"
[ -s "$work/statuses.page" ] || fail "no exit status in the manual page"
cmp -s "$work/statuses.page" "$work/statuses.manual" ||
  fail "exit statuses: the page has $(echo $(cat "$work/statuses.page")), the manual $(echo $(cat "$work/statuses.manual"))"

if ! command -v man >/dev/null 2>&1; then
  echo "skipped: man is not installed"
  [ -s "$work/failures" ] && finish
  exit 77
fi

# No warning from groff, at the usual width and a narrow one.
for width in 80 60; do
  MANWIDTH=$width man --warnings -l "$PAGE" 2>"$work/warnings" >"$work/page.$width"
  [ -s "$work/warnings" ] && fail "warnings at width $width: $(cat "$work/warnings")"
  # A request run into the line before it is printed as text.
  grep -nE '\.(TP|PP|IP|SH|SS|B|BR|BI|RB|EX|EE)( |$)' "$work/page.$width" >"$work/leaked" &&
    fail "requests printed as text at width $width: $(cat "$work/leaked")"
done

# The sections Debian users expect, in this order.
sed -n 's/^\([A-Z][A-Z ]*\)$/\1/p' "$work/page.80" | tr '\n' ',' >"$work/sections"
printf "NAME,SYNOPSIS,DESCRIPTION,OPTIONS,ENVIRONMENT,FILES,EXIT STATUS,DIAGNOSTICS,NOTES,EXAMPLES,SEE ALSO," |
  cmp -s - "$work/sections" || fail "sections: $(cat "$work/sections")"

# apropos and whatis read the NAME line.
lexgrog "$PAGE" 2>&1 | grep -qF ': "rankora - ' || fail "lexgrog: $(lexgrog "$PAGE" 2>&1)"

finish
