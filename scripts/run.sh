#!/usr/bin/env bash
# Sets up the machine, builds, and starts Hearthkeep on the data file
# Hearthkp.Tps in the current directory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" build
exec "$root/build/src/app/hearthkeep" "$@"
