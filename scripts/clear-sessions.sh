#!/usr/bin/env bash
# clear-sessions.sh PREFIX: removes the Wine sessions of PREFIX (PREFIX-session.*, made
# by scripts/test-session.sh) that earlier test runs left and nobody holds any more. A
# session still held by its processes (one an earlier run is taking down in the
# background) ends itself. Never fails: what earlier runs left is no reason to stop.
template=${1:?the Wine prefix whose sessions to clear}
for session in "$template"-session.*; do
  [ -d "$session" ] || continue
  flock -n "$session" rm -rf "$session" 2>/dev/null
done
# A folder still under its starting name is a session being set up, unless a run was
# killed in the instant before it was named: those are left an hour.
find "$(dirname "$template")" -maxdepth 1 -type d -name "$(basename "$template")-starting.*" -mmin +60 \
  -exec flock -n {} rm -rf {} \; 2>/dev/null
exit 0
