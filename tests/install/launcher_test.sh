#!/bin/sh
# The menu launcher starts the program in the user's data folder, creating it
# first, and never in the folder it was started from. A stand-in program that
# reports its working folder takes the real one's place beside the launcher.
# Usage: launcher_test.sh LAUNCHER
set -eu
launcher=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/home" "$work/elsewhere"
cp "$launcher" "$work/bin/hearthkeep-launch"
cat >"$work/bin/hearthkeep" <<'STUB'
#!/bin/sh
pwd -P
STUB
chmod +x "$work/bin/hearthkeep"
fail() { echo "FAIL: $*"; exit 1; }

cd "$work/elsewhere"
got=$(env -u XDG_DATA_HOME HOME="$work/home" "$work/bin/hearthkeep-launch")
[ "$got" = "$(cd "$work/home" && pwd -P)/.local/share/Hearthkeep" ] || fail "default folder: $got"

got=$(HOME="$work/home" XDG_DATA_HOME="$work/data" "$work/bin/hearthkeep-launch")
[ "$got" = "$(cd "$work" && pwd -P)/data/Hearthkeep" ] || fail "XDG_DATA_HOME: $got"

# A relative XDG_DATA_HOME is invalid by the standard and ignored.
got=$(HOME="$work/home" XDG_DATA_HOME=relative "$work/bin/hearthkeep-launch")
[ "$got" = "$(cd "$work/home" && pwd -P)/.local/share/Hearthkeep" ] || fail "relative: $got"

# Through a symbolic link, as a package may place it.
ln -s "$work/bin/hearthkeep-launch" "$work/link"
got=$(HOME="$work/home" XDG_DATA_HOME="$work/data" "$work/link")
[ "$got" = "$(cd "$work" && pwd -P)/data/Hearthkeep" ] || fail "symbolic link: $got"

[ -z "$(ls -A "$work/elsewhere")" ] || fail "the starting folder was written to"
[ "$(ls -A "$work/home")" = ".local" ] || fail "the home folder holds $(ls -A "$work/home")"
echo "launcher: ok"
