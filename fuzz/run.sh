#!/usr/bin/env bash
# Builds the GIF splitter fuzzer natively with clang (libFuzzer + AddressSanitizer),
# writes a small generated starting corpus and fuzzes for $1 seconds (default 600).
# Usage: fuzz/run.sh [seconds] [work folder]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
work=${2:-/tmp/vk-gif-fuzz}
mkdir -p "$work/corpus" "$work/findings"
command -v clang++ >/dev/null || apt-get install -y clang
sources="$here/src/controls/gif_frames.cpp $here/src/controls/gif_decoder.cpp"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -I"$here/src" -I"$here" \
  "$here/fuzz/gif_fuzz.cpp" $sources -o "$work/gif_fuzz"
clang++ -std=c++20 -O1 -I"$here/src" -I"$here" "$here/fuzz/make_corpus.cpp" \
  "$here/tools/gif/gif_writer.cpp" -o "$work/make_corpus"
"$work/make_corpus" "$work/corpus"
cd "$work/findings"
"$work/gif_fuzz" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$work/corpus"
