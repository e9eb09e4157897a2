#!/usr/bin/env bash
# Line and branch coverage of the splitter and the decoder over a fuzzing corpus
# (by default the one fuzz/run.sh left in its work folder).
# Usage: fuzz/coverage.sh [work folder]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-/tmp/vk-gif-fuzz}
sources="$here/src/controls/gif_frames.cpp $here/src/hosted/gif_decoder.cpp"
clang++ -std=c++20 -O0 -g -fsanitize=fuzzer -fprofile-instr-generate -fcoverage-mapping \
  -I"$here/src" -I"$here" "$here/fuzz/gif_fuzz.cpp" $sources -o "$work/gif_cov"
cd "$work"
LLVM_PROFILE_FILE="$work/gif.profraw" "$work/gif_cov" -runs=0 "$work/corpus" >/dev/null 2>&1
llvm-profdata merge -sparse "$work/gif.profraw" -o "$work/gif.profdata"
llvm-cov report "$work/gif_cov" -instr-profile="$work/gif.profdata" $sources
