#!/usr/bin/env bash
# Registers (or with -u unregisters) our COM servers in the current Wine prefix.
set -euo pipefail
flag=
[ "${1:-}" = "-u" ] && { flag=/u; shift; }
bin=${1:?usage: register.sh [-u] BIN_FOLDER}
for dll in MorvalZIVI01.dll QdPoolConnection.dll; do
  [ -f "$bin/$dll" ] || continue
  wine regsvr32 /s $flag "$bin/$dll"
done
