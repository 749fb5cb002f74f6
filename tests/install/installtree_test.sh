#!/bin/sh
# Installs the build into a clean folder and checks that the program, its
# library, the launcher, the menu entry and every icon size are where the
# desktop looks for them, and that the installed program finds its library
# there and not in the build folder.
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
echo "install tree: ok"
