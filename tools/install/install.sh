#!/usr/bin/env bash
# Installs the built system into a Wine prefix as on the device: Dozara.exe, DozaraDLL.dll,
# DozaraUtil.exe with its DozaraNotice.dll, local.dat and the help pages in "<program files>\Dozara", the engine in
# "<program files>\Velmorix\TarvikEngine" with its registration. Files this build has not made
# are skipped with a note.
#   tools/install/install.sh BUILD_DIR [WINEPREFIX] [PROGRAM_FILES_FOLDER]
# BUILD_DIR is the folder given to tools/test.sh as DZ_BUILD_DIR (its Windows build is
# BUILD_DIR/win); WINEPREFIX defaults to BUILD_DIR/wineprefix; the program files folder to the
# prefix's own.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [ $# -lt 1 ]; then
  sed -n '2,9p' "$0" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
installer="$build/win/tools/install/dzinstall.exe"
if [ ! -f "$installer" ]; then
  echo "install: $installer is not built; build first (tools/test.sh, or cmake --build $build/win)" >&2
  exit 1
fi

source "$root/tools/wine-env.sh"
# Keep a display and wineserver that the caller already runs; otherwise start them for this
# step only.
own_display=0
[ -z "${DISPLAY:-}" ] && own_display=1
dz_wine_start "${2:-$build/wineprefix}"
[ "$own_display" = 1 ] && trap dz_wine_stop EXIT

wine "$installer" ${3:+"$3"}
