#!/usr/bin/env bash
# The main job: builds everything, registers the component and its data-access
# stand-in in the build's Wine prefix, and opens a screen in the demo host on the
# sample databases. Arguments go to the demo host (default form code I01CAT); on the
# cataloguing screen it first finds the scans, shows one and chooses a document type.
# With no display it runs under Xvfb, writes build/demo.png and exits.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
"$here/scripts/build.sh"
headless=
[ -z "${DISPLAY:-}" ] && headless=1
source "$here/scripts/wine-session.sh"
"$here/scripts/register.sh" "$build/bin"
cd "$build/bin"
# The sample parameters name the source folder C:\Ostrela\Origen\<logon name>: give it
# a few scanned pages of every accepted format the first time.
origin="$WINEPREFIX/drive_c/Ostrela/Origen/$(id -un)"
if [ ! -d "$origin" ] || [ -z "$(ls -A "$origin")" ]; then
  mkdir -p "$origin" "$WINEPREFIX/drive_c/Ostrela/Documentos"
  wine SampleScans.exe 'C:\Ostrela\Origen\'"$(id -un)" 2 >/dev/null 2>&1 || true
fi
if [ -n "$headless" ]; then
  rm -f "$build/demo.bmp"
  status=0
  wine DemoHost.exe --tour --picture 'Z:'"${build//\//\\}"'\demo.bmp' "$@" || status=$?
  if [ -f "$build/demo.bmp" ]; then
    convert "$build/demo.bmp" "$build/demo.png" && echo "demo: picture of the screen in $build/demo.png"
  fi
  exit "$status"
fi
exec wine DemoHost.exe --tour "$@"
