#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine.
# Idempotent: every step checks whether it is already done. Runs as root, no input.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
mkdir -p "$build"
export DEBIAN_FRONTEND=noninteractive

log() { printf '[setup] %s\n' "$*"; }

need_pkgs=(wine wine32:i386 g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
           libwine-dev xvfb xauth cmake ninja-build googletest x11-apps imagemagick dpkg-dev tcl sqlite3)
missing=()
dpkg --print-foreign-architectures | grep -qx i386 || { log "adding i386"; dpkg --add-architecture i386; APT_UPDATED=; }
for p in "${need_pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  log "installing ${missing[*]}"
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A 32-bit Wine prefix of our own inside the build folder, made in the background while
# SQLite is prepared. Under Xvfb there is no window manager: Wine would wait for one
# (about 2 s) each time it hides or destroys a top-level window, so Wine manages the
# windows itself. The server is waited for, so that the registry is on disk.
export WINEPREFIX=$build/wineprefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
(
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating the Wine prefix"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
    wineserver -w
  fi
) &
prefix_job=$!

# SQLite amalgamation from Debian's source package, through a private apt configuration
# so the machine's own sources stay untouched.
sqlite_dir=$build/third_party/sqlite
if [ ! -f "$sqlite_dir/sqlite3.c" ]; then
  log "building the SQLite amalgamation"
  apt_root=$build/third_party/apt
  mkdir -p "$apt_root/lists/partial" "$apt_root/cache/archives/partial" "$sqlite_dir"
  cat > "$apt_root/sources.list" <<SRC
deb-src http://deb.debian.org/debian bookworm main
SRC
  apt_opts=(-o Dir::Etc::SourceList="$apt_root/sources.list" -o Dir::Etc::SourceParts=/dev/null
            -o Dir::State::Lists="$apt_root/lists" -o Dir::Cache="$apt_root/cache")
  apt-get "${apt_opts[@]}" update -qq
  work=$build/third_party/sqlite-src
  rm -rf "$work"; mkdir -p "$work"
  (cd "$work" && apt-get "${apt_opts[@]}" source --download-only sqlite3 >/dev/null)
  orig=$(ls "$work"/sqlite3_*.orig.tar.* | grep -v -- '-www\|-doc' | head -n1)
  tar -xf "$orig" -C "$work"
  src=$(find "$work" -maxdepth 1 -mindepth 1 -type d | head -n1)
  (cd "$src" && ./configure >/dev/null && make sqlite3.c >/dev/null)
  cp "$src/sqlite3.c" "$src/sqlite3.h" "$sqlite_dir/"
  rm -rf "$work"
fi

wait "$prefix_job"
log "ready"
