# Sourced by the demo and benchmark scripts: the Wine environment of the build folder,
# a display (Xvfb on a free number when there is none) and one wineserver kept
# alive for the whole session, all stopped again when the calling script exits.
: "${build:?build folder not set}"
export WINEPREFIX=$build/wineprefix WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

vk_xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      vk_xvfb_pid=$!
      export DISPLAY=":$n"
      for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      break
    fi
  done
fi

# The server and Wine's own service processes start here, with their output
# detached: started by the first test instead, they would hold the test runner's
# pipe open after the test ends.
wineserver -p >/dev/null 2>&1 || true
wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
vk_end_wine_session() {
  wineserver -k 2>/dev/null || true
  [ -n "$vk_xvfb_pid" ] && kill "$vk_xvfb_pid" 2>/dev/null || true
}
trap vk_end_wine_session EXIT
