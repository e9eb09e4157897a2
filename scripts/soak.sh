#!/usr/bin/env bash
# The soak (never part of the test command): builds everything, then runs the test
# entry that opens and closes every document screen through CObject with 200 openings
# a screen (or as many as given: soak.sh 1000) instead of the test command's 16.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
"$here/scripts/build.sh"
"$here/scripts/clear-sessions.sh" "$build/wineprefix"  # what earlier runs left behind
SCREEN_CYCLES=${1:-200} ctest --test-dir "$build" --output-on-failure -R '^screen_kit_screen_cycles$'
