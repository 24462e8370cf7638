# Sourced by the run and test scripts: a display, a private Wine prefix and one wineserver
# kept alive for the whole run.
#   dz_wine_start PREFIX_DIR   start Xvfb when DISPLAY is unset (or DZ_XVFB=1), then Wine
#   dz_wine_stop               end the wineserver and our Xvfb
# The display must exist before anything of Wine starts: a wineserver started without one
# leaves the prefix without a display driver and every window creation fails.

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

dz_xvfb_pid=""

dz_wine_start() {
  local prefix=$1
  mkdir -p "$prefix"
  export WINEPREFIX=$(cd "$prefix" && pwd)
  if [ -z "${DISPLAY:-}" ] || [ "${DZ_XVFB:-0}" = 1 ]; then
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    dz_xvfb_pid=$!
    local i
    for i in $(seq 1 100); do
      [ -s "$fdfile" ] && break
      sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
  fi
  # Without a window manager Wine waits 2 s for every window it leaves to the window manager
  # to go away; windows that Wine manages itself open and close at once.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w # the persistent server below cannot start while this one runs
  fi
  wineserver -p
  wine cmd /c exit 0 >/dev/null 2>&1 || true
}

dz_wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$dz_xvfb_pid" ]; then
    kill "$dz_xvfb_pid" 2>/dev/null || true
    wait "$dz_xvfb_pid" 2>/dev/null || true
    dz_xvfb_pid=""
  fi
}
