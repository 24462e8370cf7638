# Sourced by tools/screenshots/shots.sh after its shoot function: the executor's power-off
# notice, as a scheduled power-off shows it over whatever the phone shows, with the program's
# texts beside the executor.
cmake --build "$win" --target DozaraUtil DozaraNotice >/dev/null
notice_folder=$(mktemp -d)
cp "$win/executor/DozaraUtil.exe" "$win/executor/DozaraNotice.dll" "$root/ui/resources/local.dat" \
  "$notice_folder/"
# The first window of a fresh Wine session waits for the desktop (up to about 10 s).
wait_up=$((wait_up + 10)) shoot executor-poweroff-notice wine "$notice_folder/DozaraUtil.exe" 2 0
shoot executor-poweroff-notice-german env LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 \
  wine "$notice_folder/DozaraUtil.exe" 2 0
rm -rf "$notice_folder"
