#!/usr/bin/env bash
# The test command: sets up the machine, builds everything and runs every test
# through Wine, side by side, each in a Wine session and a display of its own
# (scripts/test-session.sh). Extra arguments go to ctest (e.g. -R grid).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
"$here/scripts/build.sh"
rm -rf "$build"/wineprefix-session.*  # what an interrupted run left behind
ctest --test-dir "$build" --output-on-failure --timeout 600 -j"$(nproc)" "$@"
