#!/usr/bin/env bash
# Builds a fuzzer natively with clang (libFuzzer + AddressSanitizer + UBSan), writes a
# small generated starting corpus and fuzzes for $1 seconds (default 600).
#   fuzz/run.sh [seconds] [work folder]       the GIF splitter and decoder
#   fuzz/run.sh sql [seconds] [work folder]   the data-access statement translator
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
target=gif
case "${1:-}" in gif|sql) target=$1; shift ;; esac
seconds=${1:-600}
work=${2:-/tmp/vk-$target-fuzz}
mkdir -p "$work/corpus" "$work/findings"
command -v clang++ >/dev/null || apt-get install -y clang
build() {  # build <program> <sources...>
  local program=$1
  shift
  clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$here/src" -I"$here" "$@" -o "$work/$program"
}
extra=()
if [ "$target" = gif ]; then
  build gif_fuzz "$here/fuzz/gif_fuzz.cpp" "$here/src/controls/gif_frames.cpp" "$here/src/hosted/gif_decoder.cpp"
  clang++ -std=c++20 -O1 -I"$here/src" -I"$here" "$here/fuzz/make_corpus.cpp" \
    "$here/tools/gif/gif_writer.cpp" -o "$work/make_corpus"
  "$work/make_corpus" "$work/corpus"
  cp "$here"/fuzz/found/* "$work/corpus/"  # inputs that once failed stay in the corpus
  extra=(-max_len=4096)
else
  build sql_fuzz "$here/fuzz/sql_fuzz.cpp" "$here/dataaccess/sql_dialect.cpp" "$here/dataaccess/stored_date.cpp"
  # The corpus starts from the statements our windows really send (sql_statements.txt,
  # one a line), each behind the options byte: day-first dates, date columns known.
  options=$'\x05'
  n=0
  while IFS= read -r line; do
    n=$((n + 1))
    printf '%s' "$options$line" >"$work/corpus/statement_$n"
  done <"$here/fuzz/sql_statements.txt"
  extra=(-max_len=2048 -dict="$here/fuzz/sql.dict")
fi
cd "$work/findings"
"$work/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 "${extra[@]}" "$work/corpus"
