#!/usr/bin/env bash
# Builds everything for Windows x64 and runs every test under Wine (windows on a private Xvfb).
# Usage: tools/build-and-test.sh [extra ctest arguments, e.g. -R store]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${WENDRIFT_BUILD_DIR:-$root/build}"

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)"
# Whatever happens to ctest, no Wine process or Xvfb of this build outlives the command.
trap '"$root/tools/wine-session.sh" stop "$build"' EXIT
cd "$build"
# As root, as CI runs it, the tests that need root must run: a skip of theirs is a failure.
if [ "$(id -u)" -eq 0 ]; then export WENDRIFT_REQUIRE_ROOT=1; fi
ctest --output-on-failure "$@"
