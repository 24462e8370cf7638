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
dz_own_server=1
dz_display_before=${DISPLAY-}

# Writes one value of the prefix's registry unless user.reg holds it already.
dz_wine_setting() { # KEY NAME VALUE
  grep -qF "\"$2\"=\"$3\"" "$WINEPREFIX/user.reg" 2>/dev/null && return 0
  wine reg add "$1" /v "$2" /d "$3" /f >/dev/null 2>&1 || true
}

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
  # The persistent server comes first, so that the set-up below runs in it and no short-lived
  # server is left to wait for. "wineserver -p" ends with 2 when a server already serves the
  # prefix (a caller's session, or one that another script kept alive): that one is used as it
  # is and left running at the end.
  local status=0
  wineserver -p || status=$?
  dz_own_server=1
  if [ $status = 2 ]; then
    dz_own_server=0
    echo "note: a wineserver already runs on $WINEPREFIX; using it (it must have been started" \
      "with a display, else no window can be made: end it with WINEPREFIX=$WINEPREFIX" \
      "wineserver -k)" >&2
  elif [ $status != 0 ]; then
    echo "error: wineserver could not start on $WINEPREFIX (exit $status)" >&2
    return $status
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
  fi
  # Wine's symbol font (fonts-wine) draws the close glyph of message boxes; without it the box
  # shows the letter "r". This Wine loads the TrueType fonts of its own data folder only from the
  # prefix's Fonts folder, so the font is put there.
  local marlett=/usr/share/wine/fonts/marlett.ttf fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f "$marlett" ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp "$marlett" "$fonts/"
  fi
  # Without a window manager Wine waits 2 s for every window it leaves to the window manager
  # to go away; windows that Wine manages itself open and close at once.
  dz_wine_setting 'HKCU\Software\Wine\X11 Driver' Managed N
  # The phone's list font is not on this machine, and Wine would fall back to a serif face for
  # it; the narrow sans of fonts-dejavu-extra stands in, as the phone's font is a narrow sans.
  dz_wine_setting 'HKCU\Software\Wine\Fonts\Replacements' 'Segoe Condensed' \
    'DejaVu Sans Condensed'
  wine cmd /c exit 0 >/dev/null 2>&1 || true
}

dz_wine_stop() {
  if [ "${dz_own_server:-1}" = 1 ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "$dz_xvfb_pid" ]; then
    kill "$dz_xvfb_pid" 2>/dev/null || true
    wait "$dz_xvfb_pid" 2>/dev/null || true
    dz_xvfb_pid=""
    # The display we made is gone: a later start in this shell must not find it in DISPLAY
    # (Wine would start without a display driver and make no window).
    if [ -n "$dz_display_before" ]; then export DISPLAY=$dz_display_before; else unset DISPLAY; fi
  fi
}
