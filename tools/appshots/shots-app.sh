#!/usr/bin/env bash
# Dozara's screenshots: the list with entries of every action and state, the open menu, the
# help page, the coming-up screen, the last runs and the About box, as PNG files of the phone
# screen.
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
work=$(mktemp -d)
wine "$scenes" "$(winepath -w "$work")"
for scene in main menu help comingup lastruns about; do
  convert "$work/$scene.bmp" "$out/app-$scene.png"
  echo "shots-app: $out/app-$scene.png"
done
rm -rf "$work"
