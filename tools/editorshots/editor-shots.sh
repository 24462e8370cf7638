# Sourced by tools/screenshots/shots.sh after its shoot function: the entry editor's screens.
# Each action with each kind the action editor offers, the weekly rows scrolled to their end,
# and the general editor's monthly and yearly rows on a template that holds them.
cmake --build "$win" --target editorshots >/dev/null
editor="$win/tools/editorshots/editorshots.exe"
for action in phoneoff phoneon poweroff; do
  for kind in next24h once weekly; do
    shoot "editor-$action-$kind" wine "$editor" "$action" "$kind"
  done
done
shoot editor-phoneon-weekly-end wine "$editor" phoneon weekly end
for kind in monthly-byday monthly-byweekday yearly; do
  shoot "editor-framework-$kind" wine "$editor" framework "$kind"
done
shoot editor-framework-monthly-byweekday-end wine "$editor" framework monthly-byweekday end
# Where the focus is, by the phone's keys: on a spinner list, a check box, the date picker and
# the time picker in adjust mode (its minutes), and on a weekday box far down the page.
shoot editor-focus-spinner --keys "Down Down" wine "$editor" phoneoff weekly
shoot editor-focus-check --keys "Down" wine "$editor" phoneoff weekly
shoot editor-focus-date --keys "Down Down Down" wine "$editor" phoneoff once
shoot editor-focus-time-adjust --keys "Down Down Down Right Return" wine "$editor" phoneoff weekly
shoot editor-focus-weekday --keys "Down Down Down Down Down Down Down Down" wine "$editor" phoneoff weekly
# The next-run line under the status row: a weekly entry's next run, and a one-time entry set
# to the current minute, which has begun already: it never runs.
shoot editor-next-run wine "$editor" phoneoff weekly end
shoot editor-never-runs wine "$editor" phoneoff once end
# The next-run line at 10:30 PM on the longest date (a next-24-hours entry made at that minute
# runs the next day): it wraps before the time, which keeps its PM.
shoot editor-next-run-longest env DZ_CLOCK="2027-12-27 22:30:00" wine "$editor" phoneoff next24h end
