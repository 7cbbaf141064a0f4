#!/bin/sh
# The manual's data file examples and report excerpts, checked against the built program.
# Usage: data_test.sh <rankora binary> <source tree>
set -u
RANKORA=$1
SOURCE=$2
. "$(dirname "$0")/lib.sh"

# example NAME: the file that holds the manual's block NAME, or that block changed in a way
# the manual says makes no difference (NAME-CHANGE).
example() {
  case $1 in
    *-crlf) change "${1%-crlf}" "$1" sed 's/$/\r/' ;;
    *-tabs) change "${1%-tabs}" "$1" tr ' ' '\t' ;;
    *-trailing) change "${1%-trailing}" "$1" sed '$a 1 2 3 4 5 6 7 8 9' ;;
    *-exponents) change "${1%-exponents}" "$1" awk '{ for (i = 1; i <= NF; i++) $i = $i * 100 "E-2" } 1' ;;
    *-negative) change "${1%-negative}" "$1" awk '{ for (i = 1; i <= NF; i++) $i = $i - 100 } 1' ;;
    *-converted)
      # The conversion the manual gives for files with decimal commas.
      in_readme "\`tr ',;' '. ' < sheet.csv > sheet.txt\`"
      change "${1%-converted}" "$1" tr ',;' '. '
      ;;
    *) block "$1" >/dev/null ;;
  esac
  echo "$work/block.$1"
}

# change FROM TO COMMAND...: block TO is block FROM filtered through COMMAND.
change() {
  from=$1
  to=$2
  shift 2
  example "$from" >/dev/null && "$@" <"$work/block.$from" >"$work/block.$to"
}

# run_data FILE SIZE ORIENTATION [PERMUTATIONS]: FILE as the data file of a run with the
# tie correction; prints the run's folder. Blanks in SIZE are written as underscores.
run_data() {
  dir=$(scratch)
  cp "$1" "$dir/data.txt"
  run_in "$dir" "2\n$(echo "$2" | tr _ ' ')\n$3\ndata.txt\n1\n${4:-99}\n"
  echo "$dir"
}

# Files the manual calls the same table: each pair must give the same, complete report.
while read -r first first_orientation second second_orientation size; do
  a=$(run_data "$(example "$first")" "$size" "$first_orientation")
  b=$(run_data "$(example "$second")" "$size" "$second_orientation")
  expect_status "$a" 0 "$first" && expect_status "$b" 0 "$second" || continue
  judges=${size%%_*}
  lines=$(wc -l <"$a/Rankora.out")
  [ "$lines" -eq $((34 + 2 * judges)) ] || fail "$first: report of $lines lines"
  same "$a/Rankora.out" "$b/Rankora.out" "reports of $first and $second"
done <<'EOF'
rows 1 columns 2 3_4
rows 1 records 1 3_4
rows 1 ranks 1 3_4
rows 1 rows-crlf 1 3_4
rows 1 rows-tabs 1 3_4
rows 1 rows-trailing 1 3_4
rows 1 rows-exponents 1 3_4
rows 1 rows-negative 1 3_4
rows 1 semicolons-converted 1 3_4
repeats-long 1 repeats-short 1 3_8
zeros 1 empty-values 1 3_4
EOF

# The file name: quoted, a path with a blank opens; bare, it is cut at the slash and names
# a folder.
dir=$(scratch)
mkdir "$dir/data"
cp "$EXAMPLES/wine-bitterness.txt" "$dir/data/wine bitterness.txt"
shown=$(example quoted-name)
run_in "$dir" "2\n9 8\n1\n$(sed -n 2p "$shown")\n1\n9\n"
expect_status "$dir" 0 "quoted name"
transcript "$dir" >"$work/seen"
contains "$work/seen" "$shown" "quoted name on the screen"

dir=$(scratch)
mkdir "$dir/data"
cp "$EXAMPLES/wine-bitterness.txt" "$dir/data"/
run_in "$dir" "2\n9 8\n1\ndata/wine-bitterness.txt\n1\n9\n"
expect_status "$dir" 134 "bare path"
same "$(example bare-name)" "$dir/errors" "error report of a bare path"
in_readme 'A path typed bare, such as `data/wine-bitterness.txt`'

# A name of 79 characters opens; a longer one is cut to 79.
name=$(printf '%075d.txt' 0)
while read -r case typed status opened; do
  dir=$(scratch)
  cp "$EXAMPLES/wine-bitterness.txt" "$dir/$name"
  run_in "$dir" "2\n9 8\n1\n$typed\n1\n9\n"
  expect_status "$dir" "$status" "$case"
  [ "$status" -eq 0 ] || [ "$(sed -n 2p "$dir/errors")" = "apparent state: unit 10 named $opened" ] ||
    fail "$case: $(sed -n 2p "$dir/errors")"
done <<EOF
79-characters $name 0 -
80-characters x$name 134 x$(echo "$name" | cut -c 1-78)
EOF
in_readme "79 characters long"

# The table of judges with a marked judge.
dir=$(run_data "$(example marked-data)" 4_5 1)
expect_status "$dir" 0 "marked judge" &&
  sed -n '/^ Judge   Rbar/,$p' "$dir/Rankora.out" >"$work/seen" &&
  same "$(example marked-table)" "$work/seen" "README marked table"

# Report excerpts of unusual figures, with the data and the answers the manual describes.
awk 'BEGIN { for (j = 1; j <= 100; j++) for (k = 1; k <= 200; k++) printf "%d%s", k, k < 200 ? " " : "\n" }' \
  >"$work/identical"
printf '7 7 7\n7 7 7\n' >"$work/constant"
cp "$(example rows)" "$work/rows"
while read -r case data size permutations; do
  dir=$(run_data "$work/$data" "$size" 1 "$permutations")
  expect_status "$dir" 0 "$case" || continue
  visible "$dir/Rankora.out" >"$work/seen"
  contains "$work/seen" "$(example "$case")" "README $case excerpt"
done <<'EOF'
wide-chi-square identical 100_200 0
wide-permutations rows 3_4 1000000
nan constant 2_3 9
EOF

finish
