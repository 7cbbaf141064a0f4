#!/bin/sh
# The manual's outputs: its Python snippet (and its R snippet, where R and its jsonlite
# package are installed) runs as shown, on the sample table, with the built program first
# on the PATH; and the sample picture in examples/ is the one the program draws today.
# Usage: outputs_test.sh <rankora binary> <source tree>
set -u
RANKORA=$1
SOURCE=$2
. "$(dirname "$0")/lib.sh"

mkdir "$work/bin" && ln -s "$RANKORA" "$work/bin/rankora"

dir=$(scratch)
cp "$EXAMPLES/wine-bitterness.txt" "$dir"/
if block python-snippet >"$dir/snippet.py" && block python-snippet-output >"$work/shown"; then
  (cd "$dir" && PATH=$work/bin:$PATH python3 snippet.py >"$work/printed" 2>&1) ||
    fail "the Python snippet failed: $(cat "$work/printed")"
  same "$work/shown" "$work/printed" "the Python snippet's output"
fi

# The R snippet where R can read JSON (Debian's r-cran-jsonlite); the same check otherwise.
dir=$(scratch)
cp "$EXAMPLES/wine-bitterness.txt" "$dir"/
if block r-snippet >"$dir/snippet.R" && block r-snippet-output >"$work/shown.R"; then
  if command -v Rscript >/dev/null 2>&1 && Rscript -e 'library(jsonlite)' >/dev/null 2>&1; then
    (cd "$dir" && PATH=$work/bin:$PATH Rscript snippet.R >"$work/printed.R" 2>&1) ||
      fail "the R snippet failed: $(cat "$work/printed.R")"
    same "$work/shown.R" "$work/printed.R" "the R snippet's output"
  else
    echo "the R snippet not run: no Rscript, or no jsonlite"
  fi
fi

dir=$(scratch)
cp "$EXAMPLES/wine-bitterness.txt" "$dir"/
(cd "$dir" && "$RANKORA" -q -l en --svg wine-bitterness.svg wine-bitterness.txt) ||
  fail "the sample picture's run failed"
same "$EXAMPLES/wine-bitterness.svg" "$dir/wine-bitterness.svg" "examples/wine-bitterness.svg"
in_readme "![The picture of the wine sample's run](examples/wine-bitterness.svg)"

finish
