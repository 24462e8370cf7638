#!/usr/bin/env bash
# Under Wine: a save that runs out of disk keeps the previous "storage.dat". The disk runs
# out in two ways: a file size limit on the saving process (writes fail at the chosen byte)
# and a small file system filled up (needs root; skipped where mounting is not allowed).
# The executor's history runs out of disk in the same two ways: the run still does its action
# and returns its code.
#   WineDisk.sh <faults_tests.exe> <DozaraUtil.exe> <dzdevice.exe>
#                                       (WINEPREFIX and DISPLAY as tools/test.sh sets them)
set -uo pipefail
exe=$1
executor=$2
device=$3
work=$(mktemp -d)
mounted=""
cleanup() {
  [ -n "$mounted" ] && umount "$mounted"
  rm -rf "$work"
}
trap cleanup EXIT
trap '' XFSZ # a write beyond the limit fails instead of ending the process
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

save() { # folder version [room]
  local limit=()
  [ -n "${3:-}" ] && limit=(prlimit --fsize="$3")
  "${limit[@]}" wine "$exe" --save "Z:$1/storage.dat" "$2" >/dev/null 2>&1
}

run_executor() { # folder room what
  local limit=()
  [ -n "$2" ] && limit=(prlimit --fsize="$2")
  wine "$device" reset >/dev/null 2>&1
  "${limit[@]}" wine "$1/DozaraUtil.exe" 1 3 >/dev/null 2>&1
  local rc=$?
  [ $rc -eq 0 ] || fail "$3: the executor gave exit code $rc, not 0"
  wine "$device" journal 2>/dev/null | grep -q '^lineRegister(.*-> 0' ||
    fail "$3: the executor did not register the radio"
}
mkdir -p "$work/history"
cp "$executor" "$work/history/"
for room in 0 16 60 100; do
  rm -f "$work/history/history.dat"
  run_executor "$work/history" "$room" "history with room for $room bytes"
done
echo "history file size limit: checked"

# Save number 4 holds five entries (two of them monthly): 8 + 3 * 20 + 2 * 38 bytes.
new_size=144
mkdir -p "$work/limit"
save "$work/limit" 3 || fail "first save"
cp "$work/limit/storage.dat" "$work/previous"
for room in 0 1 7 8 9 27 28 29 63 64 100 143; do
  save "$work/limit" 4 "$room"
  rc=$?
  [ $rc -eq 1 ] || fail "room $room: save gave exit code $rc, not 1 (false)"
  cmp -s "$work/limit/storage.dat" "$work/previous" || fail "room $room: previous file changed"
  [ -e "$work/limit/storage.dat.new" ] && fail "room $room: temporary file left behind"
done
save "$work/limit" 4 "$new_size" || fail "save with exactly enough room"
[ "$(stat -c %s "$work/limit/storage.dat")" = "$new_size" ] || fail "saved file has the wrong size"
echo "file size limit: 12 failing rooms checked"

# A "storage.dat" that is a symbolic link: the save writes the file the link names, beside it,
# and the link stays a link.
mkdir -p "$work/link/elsewhere"
save "$work/link" 3 || fail "link: first save"
mv "$work/link/storage.dat" "$work/link/elsewhere/entries.dat"
ln -s elsewhere/entries.dat "$work/link/storage.dat"
save "$work/link" 4 || fail "link: save through the link"
[ -L "$work/link/storage.dat" ] || fail "link: the link was replaced"
[ "$(stat -c %s "$work/link/elsewhere/entries.dat")" = "$new_size" ] ||
  fail "link: the file the link names was not written"
found=$(cd "$work/link" && find . | sort | tr '\n' ' ')
[ "$found" = ". ./elsewhere ./elsewhere/entries.dat ./storage.dat " ] ||
  fail "link: other files than the link and the file it names: $found"
echo "link: checked"

mkdir -p "$work/full"
if mount -t tmpfs -o size=64k dz-faults "$work/full" 2>/dev/null; then
  mounted=$work/full
  save "$work/full" 3 || fail "first save on the small disk"
  cp "$work/full/storage.dat" "$work/previous"
  dd if=/dev/zero of="$work/full/filler" bs=4k 2>/dev/null
  save "$work/full" 4
  rc=$?
  [ $rc -eq 1 ] || fail "full disk: save gave exit code $rc, not 1 (false)"
  cmp -s "$work/full/storage.dat" "$work/previous" || fail "full disk: previous file changed"
  # A refused file is kept aside before it is replaced; a copy the full disk cut short is
  # removed, and the save fails.
  printf 'not an entry file' >"$work/full/storage.dat"
  cp "$work/full/storage.dat" "$work/previous"
  save "$work/full" 4
  rc=$?
  [ $rc -eq 1 ] || fail "full disk, refused file: save gave exit code $rc, not 1 (false)"
  cmp -s "$work/full/storage.dat" "$work/previous" || fail "full disk: refused file changed"
  ls "$work/full" | grep -q '\.refused$' && fail "full disk: a copy cut short was left behind"
  rm -f "$work/full/filler"
  save "$work/full" 4 || fail "save after room was made"
  dd if=/dev/zero of="$work/full/filler" bs=4k 2>/dev/null
  # A link takes no room: the executor runs from the full disk and keeps its history there.
  ln -s "$executor" "$work/full/DozaraUtil.exe"
  run_executor "$work/full" "" "full disk"
  echo "full disk: checked"
else
  echo "full disk: skipped (cannot mount a small file system here)"
fi

[ $failures -eq 0 ] && echo "disk faults under Wine: all passed" || exit 1
