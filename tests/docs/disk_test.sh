#!/bin/sh
# A full disk and a folder that cannot be written, as the manual describes them. Needs a
# mount namespace of its own to mount small file systems; skipped (77) where there is none.
# Usage: disk_test.sh <rankora binary> <source tree>
set -u
if [ "${3:-}" != --inside ]; then
  unshare --map-root-user --mount true 2>/dev/null || { echo "skipped: no mount namespace"; exit 77; }
  exec unshare --map-root-user --mount sh "$0" "$1" "$2" --inside
fi
RANKORA=$1
SOURCE=$2
. "$(dirname "$0")/lib.sh"
trap 'for fs in "$work"/run.*/fs; do umount "$fs" 2>/dev/null; done; rm -rf "$work"' EXIT

# judges LINES: a table of that many judges over 5 objects, so that its report grows long.
judges() { awk -v m="$1" 'BEGIN { for (j = 1; j <= m; j++) print j % 5, j % 3, j % 7, j % 4, j % 6 }'; }

# on_file_system DIR OPTIONS FILLER ANSWERS: the program run in a fresh file system of two
# pages mounted on DIR/fs, after FILLER bytes were written there; the data file and the
# outputs stay outside it.
on_file_system() {
  mkdir "$1/fs"
  mount -t tmpfs -o "size=8k,$2" tmpfs "$1/fs" || return 1
  [ "$3" -eq 0 ] || head -c "$3" /dev/zero >"$1/fs/filler"
  # shellcheck disable=SC2059
  printf "$4" >"$1/answers"
  (
    (cd "$1/fs" && exec "$RANKORA" <../answers >../screen 2>../errors)
    echo $? >"$1/status"
  ) 2>/dev/null
}

# Full from the start: the banner itself cannot be written, and the report stays empty.
dir=$(scratch)
cp "$EXAMPLES/wine-bitterness.txt" "$dir"/
if on_file_system "$dir" rw 8192 "2\n9 8\n1\n'$dir/wine-bitterness.txt'\n1\n99\n"; then
  expect_status "$dir" 134 "full disk"
  [ "$(sed -n 1p "$dir/errors")" = "write: No space left on device" ] || fail "full disk: '$(sed -n 1p "$dir/errors")'"
  [ "$(sed -n 2p "$dir/errors")" = "apparent state: unit 7 named Rankora.out" ] || fail "full disk: unit"
  [ -s "$dir/fs/Rankora.out" ] && fail "full disk: something was written"
  grep -F '| `write: No space left on device` | 7 |' "$README" >/dev/null || fail "README.md has no row for a full disk"
else
  echo "skipped: cannot mount a file system"
fi

# Full in the middle of the table of judges: the report keeps whole lines, the same as those
# of a run with room enough.
dir=$(scratch)
judges 60 >"$dir/panel.txt"
answers="2\n60 5\n1\n'$dir/panel.txt'\n1\n9\n"
full=$(scratch)
run_in "$full" "$answers"
expect_status "$full" 0 "run with room enough"
if on_file_system "$dir" rw 1 "$answers"; then
  expect_status "$dir" 134 "disk full in the middle"
  [ "$(sed -n 1p "$dir/errors")" = "write: No space left on device" ] || fail "disk full in the middle: '$(sed -n 1p "$dir/errors")'"
  kept=$(wc -c <"$dir/fs/Rankora.out")
  [ "$kept" -gt 0 ] || fail "disk full in the middle: nothing kept"
  head -c "$kept" "$full/Rankora.out" | cmp -s - "$dir/fs/Rankora.out" || fail "disk full in the middle: kept lines differ"
  [ "$(tail -c 1 "$dir/fs/Rankora.out" | od -An -c | tr -d ' ')" = '\n' ] || fail "disk full in the middle: half a line kept"
fi

# A folder that cannot be written: the report cannot even be created.
dir=$(scratch)
if on_file_system "$dir" ro 0 "2\n"; then
  expect_status "$dir" 134 "read-only folder"
  first=$(sed -n 1p "$dir/errors")
  [ "$first" = "open: Read-only file system" ] || fail "read-only folder: '$first'"
  grep -F "\`$first\`" "$README" | grep -qF '| 7 |' || fail "README.md has no row for '$first'"
fi

finish
