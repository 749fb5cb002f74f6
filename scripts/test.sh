#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test headless.
# In CI (CI=true) or with HK_SANITIZE_TOO=1 the suite runs a second time in a
# build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
werror=OFF
if [ "${CI:-}" = "true" ]; then werror=ON; fi

bash "$root/scripts/build.sh" build -DHK_WERROR=$werror
ctest --test-dir "$root/build" --output-on-failure -j2

if [ "${CI:-}" = "true" ] || [ "${HK_SANITIZE_TOO:-}" = "1" ]; then
  bash "$root/scripts/build.sh" build-asan -DHK_WERROR=$werror -DHK_SANITIZE=ON -DHK_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug
  ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build-asan" --output-on-failure -j2
fi
