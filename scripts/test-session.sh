#!/usr/bin/env bash
# test-session.sh COMMAND...: runs one test command in a Wine session and an Xvfb
# display of its own, so that tests with windows run side by side without taking each
# other's focus or registry values. The session is a copy of the prefix $WINEPREFIX
# (so its own wineserver, registry, desktop and temp folder), removed afterwards.
# CTest runs every test through it; the registrations the tests need are made in
# $WINEPREFIX before (scripts/test.sh).
set -u
template=${WINEPREFIX:?the Wine prefix to copy}
stop() { echo "test-session.sh: $*" >&2; exit 1; }
# A lock on the session folder, held by this script and by everything it starts, down
# to the teardown below: a run removes only sessions nobody holds
# (scripts/clear-sessions.sh). The folder is made and locked under a name no clean-up
# looks at, and takes its session name only then: a clean-up running beside it never
# finds it unheld.
starting=$(mktemp -d "$template-starting.XXXXXX") || stop "cannot make a session folder beside $template"
exec 9<"$starting" && flock 9 || stop "cannot lock $starting"
session=$template-session.${starting##*.}
mv -T "$starting" "$session" || { rm -rf "$starting"; stop "cannot name the session folder $session"; }
xvfb=
# Taken down in the background, detached from the output, so the test ends at once.
end_session() {
  (WINEPREFIX=$session wineserver -k; [ -n "$xvfb" ] && kill "$xvfb"; rm -rf "$session") \
    >/dev/null 2>&1 </dev/null &
}
trap end_session EXIT
trap 'exit 143' INT TERM

# The Windows folder (half a gigabyte of modules nobody writes) is shared through hard
# links; the registry, the .ini files and the users' folders are copied, without the
# template's temp files.
copy_prefix() {
  tar -C "$template" --exclude=./drive_c/windows --exclude='./drive_c/users/*/Temp/*' -cf - . |
    tar -C "$session" -xf - || return 1
  cp -al "$template/drive_c/windows" "$session/drive_c/windows" || return 1
  for ini in "$template"/drive_c/windows/*.ini; do
    cp --remove-destination "$ini" "$session/drive_c/windows/" || return 1
  done
}
copy_prefix || stop "cannot copy the Wine prefix $template into $session"
export WINEPREFIX=$session

# Xvfb picks a free display number itself and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$session/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 200); do [ -s "$session/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$session/display")"

# Wine's service processes start here with their output detached: started by the test
# itself, they would hold the test runner's pipe open after the test ends.
wine cmd.exe /c exit >/dev/null 2>&1 </dev/null
"$@"
