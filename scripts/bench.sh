#!/usr/bin/env bash
# Runs the benchmarks (never part of the test command): builds everything, then each
# *_bench program in build/bin under Wine, or only those named: bench.sh grid picker
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
"$here/scripts/build.sh"
source "$here/scripts/wine-session.sh"
"$here/scripts/register.sh" "$build/bin"
cd "$build/bin"
for program in *_bench.exe; do
  name=${program%_bench.exe}
  if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then continue; fi
  echo "== $name"
  wine "$program"
done
