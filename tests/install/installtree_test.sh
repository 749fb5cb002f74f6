#!/bin/sh
# Installs the build into a clean folder and checks that the program, its
# library, the sqlite3 shell extension, the launcher, the menu entry and every
# icon size are where the desktop looks for them, that the installed program
# finds its library there and not in the build folder, that the stock shell
# loads the extension and that the program checks a file without a display.
# Usage: installtree_test.sh BUILD_DIR
set -eu
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cmake --install "$build" --prefix "$root/usr" >/dev/null

for f in bin/hearthkeep bin/hearthkeep-launch share/applications/hearthkeep.desktop \
         share/icons/hicolor/scalable/apps/hearthkeep.svg; do
  [ -f "$root/usr/$f" ] || fail "missing $f"
done
for s in 16 22 24 32 48 64 128 256; do
  png=$root/usr/share/icons/hicolor/${s}x$s/apps/hearthkeep.png
  [ -f "$png" ] || fail "missing the $s px icon"
  # A PNG's width and height are big-endian words at bytes 16 and 20.
  size=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')
  [ "$size" = "${s}x$s" ] || fail "the $s px icon is $size"
done
[ -x "$root/usr/bin/hearthkeep-launch" ] || fail "the launcher is not executable"

lib=$(readlink -f "$(ldd "$root/usr/bin/hearthkeep" | awk '/libhkprints/ {print $3}')")
case "$lib" in
"$root"/usr/lib*/hearthkeep/libhkprints.so*) ;;
*) fail "the installed program loads its library from '$lib'" ;;
esac
ldd "$root/usr/bin/hearthkeep" | grep -q "not found" && fail "unresolved libraries"

# The stock sqlite3 shell checks a file whose keys use the program's collation
# once the installed extension is loaded, and cannot without it.
ext=$(ls "$root"/usr/lib*/hearthkeep/hksqlite.so 2>/dev/null | head -n 1)
[ -n "$ext" ] || fail "missing the sqlite3 shell extension"
ext=${ext%.so}
db=$root/keys.db
sqlite3 "$db" ".load $ext" "CREATE TABLE t (a TEXT COLLATE HKCASE1); CREATE INDEX i ON t (a);
  INSERT INTO t VALUES ('küche'), ('Kaffee'), ('KÜCHE');" || fail "the extension does not load"
[ "$(sqlite3 "$db" ".load $ext" 'PRAGMA integrity_check')" = ok ] || fail "no integrity check with it"
sqlite3 "$db" 'PRAGMA integrity_check' >/dev/null 2>&1 && fail "a check passed without the extension"
[ "$(sqlite3 :memory: ".load $ext" "SELECT hk_fold('küche')")" = KÜCHE ] || fail "hk_fold differs"

# The installed program checks a file without any display.
status=0
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/hearthkeep" \
  --check "$root/none.Tps") || status=$?
[ "$status" -eq 2 ] || fail "--check of a missing file ended with $status"
case "$out" in *"cannot be read as a data file"*) ;; *) fail "--check said: $out" ;; esac
echo "install tree: ok"
