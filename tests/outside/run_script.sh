#!/usr/bin/env bash
# run_script.sh <script.vbs (Linux path)>: runs one outside-client script under Wine's
# cscript; it passes only when cscript exits 0 and the script reached Finish with no
# failed check (the marker holds the count of failures).
set -u
script=$1
marker="$script.done"
rm -f "$marker"
wine cscript.exe //nologo "Z:${script//\//\\}"
status=$?
if [ ! -f "$marker" ]; then
  echo "outside script stopped before its end (a run-time error in the script): $script" >&2
  exit 1
fi
failed=$(tr -d '\r\n ' < "$marker")
[ "$status" = 0 ] && [ "$failed" = 0 ] || { echo "outside script: exit $status, $failed failed checks" >&2; exit 1; }
