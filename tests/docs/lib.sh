# Helpers of the documentation checks, sourced by each *_test.sh.
# The caller sets RANKORA (the built program, an absolute path) and SOURCE (the source tree).

README=$SOURCE/README.md
EXAMPLES=$SOURCE/examples
work=$(mktemp -d "${TMPDIR:-/tmp}/rankora-docs.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Failures are counted in a file, so that checks made in a subshell count too.
fail() {
  echo "FAIL: $*" >&2
  echo "$*" >>"$work/failures"
}

finish() {
  [ -s "$work/failures" ] || exit 0
  echo "$(wc -l <"$work/failures") failure(s)"
  exit 1
}

# A fresh, empty folder for one run.
scratch() { mktemp -d "$work/run.XXXXXX"; }

# block NAME: the contents of the fenced block that follows "<!-- test: NAME -->" in the
# manual, with the fence's own indentation taken off; also left in $work/block.NAME.
block() {
  awk -v marker="<!-- test: $1 -->" '
    { line = $0; sub(/^[ ]+/, "", line) }
    !armed && line == marker { armed = 1; next }
    armed && !inside && line ~ /^```/ { inside = 1; indent = index($0, "`") - 1; next }
    inside && line ~ /^```/ { found = 1; exit }
    inside { print substr($0, 1, indent) ~ /^ *$/ ? substr($0, indent + 1) : $0 }
    END { exit found ? 0 : 1 }' "$README" >"$work/block.$1" ||
    { fail "no test block '$1' in README.md"; return 1; }
  cat "$work/block.$1"
}

# Trailing blanks are invisible on a screen and editors strip them from the manual.
visible() { sed 's/[[:blank:]]*$//' "$@"; }

# The screen of DIR as a terminal shows it: each typed answer on its own line after the
# (English) question that reads it.
transcript() {
  awk -v answers="$1/answers" '
    BEGIN {
      while ((getline line < answers) > 0) typed[++n] = line
      split(" English:  type  (2)| How many judges and objects?| (2) Judges are the columns" \
            " of the input data file| Name of the input data file?| Test (1) with or (2)" \
            " without correction for ties?| How many permutations? (e.g., 999, 9999, ...)", q, "|")
      i = 1
    }
    { print }
    i <= n && $0 == q[i] { print typed[i]; i++ }' "$1/screen" | visible
}

# same EXPECTED ACTUAL WHAT: byte for byte.
same() {
  cmp -s "$1" "$2" && return 0
  fail "$3 differs"
  diff "$1" "$2" | head -n 20
  return 1
}

# contains HAYSTACK NEEDLE WHAT: NEEDLE's lines (one at least) stand together, in order, in
# HAYSTACK: both as one line of their lines, each ended by \001.
contains() {
  case "$(printf '\001'; tr '\n' '\001' <"$1")" in
    *"$(printf '\001'; tr '\n' '\001' <"$2")"*) [ -s "$2" ] && return 0 ;;
  esac
  fail "$3: not found"
  sed 's/^/    | /' "$2"
  return 1
}

# in_readme TEXT: the manual holds TEXT verbatim.
in_readme() {
  grep -qF -- "$1" "$README" && return 0
  fail "README.md does not say: $1"
  return 1
}
