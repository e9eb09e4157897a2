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
# Every sample document gets its stored file the first time: a scanned page of its own
# format, at the path the sample database gives it, so the lists' preview, the viewer
# and the mail have something to show.
samples="$WINEPREFIX/drive_c/Ostrela/Muestras"
if [ ! -d "$samples" ] || [ -z "$(ls -A "$samples")" ]; then
  mkdir -p "$samples"
  wine SampleScans.exe 'C:\Ostrela\Muestras' 3 >/dev/null 2>&1 || true
fi
n=0
while IFS= read -r stored; do
  relative=${stored#[Cc]:\\}
  target="$WINEPREFIX/drive_c/${relative//\\//}"
  n=$((n + 1))
  [ -f "$target" ] && continue
  extension=${stored##*.}
  shopt -s nullglob
  pool=("$samples"/*."${extension,,}")
  shopt -u nullglob
  [ ${#pool[@]} -gt 0 ] || continue
  mkdir -p "$(dirname "$target")"
  cp "${pool[$((n % ${#pool[@]}))]}" "$target"
done < <(sqlite3 data/Ostrela.db "Select Path From Documentos Where Path Like 'C:\%'")
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
