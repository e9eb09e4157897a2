#!/usr/bin/env bash
# test_session_test.sh TEST-SESSION CLEAR-SESSIONS: sessions set up while a clean-up
# runs over and over beside them, as when two test runs overlap. Every session keeps its
# own copy of the prefix while it is set up and used; a session whose folder cannot be
# made stops with a message and runs nothing. Wine and Xvfb are stand-ins here: only the
# session folders are under test.
set -u
session_script=${1:?the session script} clear=${2:?the clean-up script}
work=$(mktemp -d)
trap 'touch "$work/stop"; wait; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$work/bin" "$work/wineprefix/drive_c/windows"
echo registry >"$work/wineprefix/system.reg"
echo '[windows]' >"$work/wineprefix/drive_c/windows/win.ini"
printf '#!/bin/sh\necho 99 >&3\nexec sleep 60\n' >"$work/bin/Xvfb"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/wine"
cp "$work/bin/wine" "$work/bin/wineserver"
chmod +x "$work/bin/"*
export PATH="$work/bin:$PATH" WINEPREFIX="$work/wineprefix"

(while [ ! -e "$work/stop" ]; do bash "$clear" "$WINEPREFIX"; done) &
sessions=80
pids=()
for _ in $(seq "$sessions"); do
  bash "$session_script" sh -c 'sleep 0.2; [ -f "$WINEPREFIX/system.reg" ] && [ -f "$WINEPREFIX/drive_c/windows/win.ini" ]' \
    >/dev/null 2>&1 &
  pids+=($!)
done
lost=0
for pid in "${pids[@]}"; do wait "$pid" || lost=$((lost + 1)); done
touch "$work/stop"
[ "$lost" = 0 ] || fail "$lost of $sessions sessions lost their prefix while they were set up or used"

out=$(WINEPREFIX=$work/missing/wineprefix bash "$session_script" touch "$work/ran" 2>&1) &&
  fail "a session without a folder passed"
[ -e "$work/ran" ] && fail "the command ran without a prefix"
[[ "$out" == *"cannot make a session folder"* ]] || fail "no message: $out"
echo "passed"
