#!/bin/sh
# Installation: the program and its manual page where Debian users look for them, and
# nothing else installed. Usage: install_test.sh <rankora binary> <source tree> <cmake> <build dir>
set -u
RANKORA=$1
SOURCE=$2
CMAKE=$3
BUILD=$4
. "$(dirname "$0")/lib.sh"

# Installing writes the build's install manifest: keep the user's own.
manifest=$BUILD/install_manifest.txt
[ -f "$manifest" ] && cp "$manifest" "$work/manifest.kept"
restore_manifest() {
  if [ -f "$work/manifest.kept" ]; then cp "$work/manifest.kept" "$manifest"; else rm -f "$manifest"; fi
}

# CASE PREFIX DESTDIR: what `cmake --install` gets (@ is the case's own folder).
while read -r case prefix destdir; do
  prefix=$(echo "$prefix" | sed "s|@|$work/$case|")
  root=$prefix
  if [ "$destdir" = - ]; then
    "$CMAKE" --install "$BUILD" --prefix "$prefix" >"$work/log" 2>&1
  else
    root=$work/$case$prefix
    DESTDIR=$work/$case "$CMAKE" --install "$BUILD" --prefix "$prefix" >"$work/log" 2>&1
  fi || { fail "$case: cmake --install failed"; cat "$work/log"; continue; }
  program=$root/bin/rankora
  page=$root/share/man/man1/rankora.1
  [ -x "$program" ] || fail "$case: no $program"
  cmp -s "$page" "$SOURCE/doc/rankora.1" || fail "$case: no manual page at $page"
  sort "$manifest" >"$work/installed"
  # The manifest names the files as they will stand once installed, without DESTDIR.
  printf '%s\n' "$prefix/bin/rankora" "$prefix/share/man/man1/rankora.1" | sort >"$work/expected"
  same "$work/expected" "$work/installed" "$case: installed files"
done <<'EOF'
prefix @ -
package /usr @
EOF
restore_manifest

# The installed program works on its own, and `man` finds its page beside it in PATH.
home=$work/prefix
if [ -x "$home/bin/rankora" ]; then
  dir=$(scratch)
  cp "$EXAMPLES/wine-bitterness.txt" "$EXAMPLES/wine-bitterness.answers" "$dir"/
  (cd "$dir" && PATH=$home/bin:/usr/bin:/bin rankora <wine-bitterness.answers >/dev/null 2>&1)
  same "$EXAMPLES/wine-bitterness.report" "$dir/Rankora.out" "report of the installed program"
  if command -v man >/dev/null 2>&1; then
    found=$(env -u MANPATH PATH="$home/bin:/usr/bin:/bin" man -w rankora 2>/dev/null)
    [ "$found" = "$home/share/man/man1/rankora.1" ] || fail "man -w rankora found '$found'"
  fi
fi

finish
