#!/usr/bin/env bash
# Registers (or with -u unregisters) our COM servers in the current Wine prefix: the
# product, the data-access stand-in and the mail stand-in ("Outlook.Application").
# The product's own registration names only its classes.
set -euo pipefail
flag=
[ "${1:-}" = "-u" ] && { flag=/u; shift; }
bin=${1:?usage: register.sh [-u] BIN_FOLDER}
for dll in MorvalZIVI01.dll QdPoolConnection.dll OutlookStandIn.dll; do
  [ -f "$bin/$dll" ] || continue
  wine regsvr32 /s $flag "$bin/$dll"
done
