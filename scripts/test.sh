#!/usr/bin/env bash
# The test command: sets up the machine, builds everything and runs every test
# through Wine, side by side, each in a Wine session and a display of its own
# (scripts/test-session.sh). Extra arguments go to ctest (e.g. -R grid).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
"$here/scripts/build.sh"
"$here/scripts/clear-sessions.sh" "$build/wineprefix"  # what earlier runs left behind
ctest --test-dir "$build" --output-on-failure --timeout 600 -j"$(nproc)" "$@"
