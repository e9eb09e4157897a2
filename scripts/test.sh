#!/usr/bin/env bash
# The test command: sets up the machine, builds everything and runs every test
# through Wine under a display. Extra arguments go to ctest (e.g. -R grid).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
"$here/scripts/build.sh"
source "$here/scripts/wine-session.sh"
# The servers the tests create by ProgID, the mail stand-in among them.
"$here/scripts/register.sh" "$build/bin"
ctest --test-dir "$build" --output-on-failure --timeout 600 -j"$(nproc)" "$@"
