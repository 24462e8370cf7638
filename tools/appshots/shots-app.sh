#!/usr/bin/env bash
# Dozara's screenshots as PNG files of the phone screen: the list with entries of every action
# and state (and in German), the open menu, the help page at its start and end, the coming-up
# screen at its start and scrolled, Run now's power-off question, the last runs, the About box,
# and the empty
# list with its hint and its menu (AppScenes.cpp names them).
#   tools/appshots/shots-app.sh BUILD_DIR OUTPUT_FOLDER
# Needs a running display and Wine (tools/wine-env.sh: dz_wine_start), as shots.sh provides.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
scenes="$build/win/tools/appshots/appscenes.exe"
if [ ! -f "$scenes" ]; then
  echo "shots-app: $scenes is not built" >&2
  exit 1
fi
# The program reads its texts and help page from its own folder.
folder=$(dirname "$scenes")
cp "$root/ui/resources/local.dat" "$root/ui/resources"/help*.html "$folder/"
# Each set in a folder of its own; the German list is the list set under a German locale.
shoot_set() { # PREFIX SET [environment...]
  local prefix=$1 set=$2
  shift 2
  local work
  work=$(mktemp -d)
  env "$@" wine "$scenes" "$(winepath -w "$work")" "$set"
  for bmp in "$work"/*.bmp; do
    local png="$out/$prefix$(basename "$bmp" .bmp).png"
    convert "$bmp" "$png"
    echo "shots-app: $png"
  done
  rm -rf "$work"
}
shoot_set app- all
shoot_set app- empty
shoot_set app-de- list LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8
