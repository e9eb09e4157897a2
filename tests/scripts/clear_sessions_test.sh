#!/usr/bin/env bash
# clear_sessions_test.sh CLEAR-SESSIONS: the clean-up of the sessions earlier test runs
# left. One session is still being taken down (its lock held, its files still being
# written, as a Wine server saving its registry while it stops) and one was abandoned:
# the clean-up passes, leaves the first to end itself, removes the second, and removes
# the first too once it is no longer held.
set -u
clear=${1:?the clean-up script}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
template=$work/wineprefix
held=$(mktemp -d "$template-session.XXXXXX")
abandoned=$(mktemp -d "$template-session.XXXXXX")
mkdir -p "$abandoned/drive_c" && touch "$abandoned/system.reg"
(
  exec 9<"$held"
  flock 9
  for i in $(seq 100); do mkdir -p "$held/d$i" && touch "$held/d$i/f"; sleep 0.01; done
) &
writer=$!
sleep 0.2
bash "$clear" "$template" || fail "the clean-up failed"
[ -d "$abandoned" ] && fail "the abandoned session is still there"
[ -d "$held/d1" ] || fail "the session being taken down was removed under it"
wait "$writer"
bash "$clear" "$template" || fail "the second clean-up failed"
[ -d "$held" ] && fail "the session that ended is still there"
echo "passed"
