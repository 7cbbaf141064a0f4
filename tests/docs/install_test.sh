#!/bin/sh
# Installation: the program, its manual pages and examples where Debian users look for
# them, nothing else; the manual's uninstall command takes them away, with DESTDIR or not.
# Usage: install_test.sh <rankora binary> <source tree> <cmake> <build dir>
set -u
RANKORA=$1 SOURCE=$2 CMAKE=$3 BUILD=$4
. "$(dirname "$0")/lib.sh"

# Installing writes the build's install manifest: keep the user's own.
manifest=$BUILD/install_manifest.txt
[ -f "$manifest" ] && cp "$manifest" "$work/manifest.kept"
uninstall=$(block uninstall | sed 's/^sudo //')
ln -s "$BUILD" "$work/build"

# The installed program works on its own, and `man` finds its page beside it in PATH.
check_program() {
  dir=$(scratch)
  cp "$EXAMPLES/wine-bitterness.txt" "$EXAMPLES/wine-bitterness.answers" "$dir"/
  (cd "$dir" && PATH=$1/bin:/usr/bin:/bin rankora <wine-bitterness.answers >/dev/null 2>&1)
  same "$EXAMPLES/wine-bitterness.report" "$dir/Rankora.out" "report of the installed program"
  command -v man >/dev/null 2>&1 || return 0
  found=$(env -u MANPATH PATH="$1/bin:/usr/bin:/bin" man -w rankora 2>/dev/null)
  [ "$found" = "$1/share/man/man1/rankora.1" ] || fail "man -w rankora found '$found'"
}

# CASE PREFIX DESTDIR (@ is the case's own folder, - no DESTDIR).
while read -r case prefix destdir; do
  prefix=$(echo "$prefix" | sed "s|@|$work/$case|")
  [ "$destdir" = - ] && destdir= || destdir=$work/$case
  DESTDIR=$destdir "$CMAKE" --install "$BUILD" --prefix "$prefix" >"$work/log" 2>&1 ||
    { fail "$case: cmake --install failed"; cat "$work/log"; continue; }
  root=$destdir$prefix
  doc=$root/share/doc/rankora
  cmp -s "$root/share/man/man1/rankora.1" "$SOURCE/doc/rankora.1" || fail "$case: manual page"
  cmp -s "$doc/README.md" "$README" && diff -r "$doc/examples" "$EXAMPLES" >/dev/null ||
    fail "$case: no user's manual or examples in $doc"
  # The manifest names the files as they will stand once installed, without DESTDIR.
  { printf '%s\n' bin/rankora share/man/man1/rankora.1 share/doc/rankora/README.md
    ls "$EXAMPLES" | sed 's|^|share/doc/rankora/examples/|'; } | sed "s|^|$prefix/|" | sort >"$work/expected"
  sort "$manifest" | same "$work/expected" - "$case: installed files"
  [ -n "$destdir" ] || check_program "$root"
  (cd "$work" && DESTDIR=$destdir sh -c "$uninstall") || fail "$case: the uninstall command failed"
  left=$(find "$work/$case" -type f)
  [ -z "$left" ] || fail "$case: left after the uninstall: $left"
done <<'EOF'
prefix @ -
package /usr @
EOF
if [ -f "$work/manifest.kept" ]; then cp "$work/manifest.kept" "$manifest"; else rm -f "$manifest"; fi

finish
