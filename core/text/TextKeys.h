#pragma once
// The keys that the program looks up in "local.dat", one table per family. The code indexes
// the family tables; the shipped-texts test and the descriptions fuzz target walk them all.
#include <cstddef>

// Monday first, as the bits of weekdayMask and monthlyWeekday.
inline constexpr const wchar_t* kWeekdayKeys[] = {L"MONDAY", L"TUESDAY",  L"WEDNESDAY", L"THURSDAY",
                                                  L"FRIDAY", L"SATURDAY", L"SUNDAY"};
inline constexpr const wchar_t* kShortWeekdayKeys[] = {
    L"SHORT_MONDAY", L"SHORT_TUESDAY",  L"SHORT_WEDNESDAY", L"SHORT_THURSDAY",
    L"SHORT_FRIDAY", L"SHORT_SATURDAY", L"SHORT_SUNDAY"};
// Sunday first, as the calendar's day of week.
inline constexpr const wchar_t* kMiddleWeekdayKeys[] = {
    L"MIDDLE_SUNDAY",   L"MIDDLE_MONDAY", L"MIDDLE_TUESDAY", L"MIDDLE_WEDNESDAY",
    L"MIDDLE_THURSDAY", L"MIDDLE_FRIDAY", L"MIDDLE_SATURDAY"};

// January first, as the bits of monthMask.
inline constexpr const wchar_t* kShortMonthKeys[] = {
    L"SHORT_MONTH_1", L"SHORT_MONTH_2",  L"SHORT_MONTH_3",  L"SHORT_MONTH_4",
    L"SHORT_MONTH_5", L"SHORT_MONTH_6",  L"SHORT_MONTH_7",  L"SHORT_MONTH_8",
    L"SHORT_MONTH_9", L"SHORT_MONTH_10", L"SHORT_MONTH_11", L"SHORT_MONTH_12"};
inline constexpr const wchar_t* kMiddleMonthKeys[] = {
    L"MIDDLE_MONTH_1", L"MIDDLE_MONTH_2",  L"MIDDLE_MONTH_3",  L"MIDDLE_MONTH_4",
    L"MIDDLE_MONTH_5", L"MIDDLE_MONTH_6",  L"MIDDLE_MONTH_7",  L"MIDDLE_MONTH_8",
    L"MIDDLE_MONTH_9", L"MIDDLE_MONTH_10", L"MIDDLE_MONTH_11", L"MIDDLE_MONTH_12"};

// The week of a monthly entry by weekday, by weekIndex: 0-3 the first to fourth, and the last.
inline constexpr const wchar_t* kWeekOrdinalKeys[] = {
    L"DLG_MONTHLY_WEEK_FIRST", L"DLG_MONTHLY_WEEK_SECOND", L"DLG_MONTHLY_WEEK_THIRD",
    L"DLG_MONTHLY_WEEK_FOURTH", L"DLG_MONTHLY_WEEK_LAST"};
constexpr int kLastWeekOrdinal = 4; // where every weekIndex outside 0-3 shows
// The day of a monthly entry by day counted from the month's end: dayOfMonth 0 to -3.
inline constexpr const wchar_t* kLastDayKeys[] = {L"DLG_MONTHLY_LASTDAY", L"DLG_MONTHLY_LASTDAY-1",
                                                  L"DLG_MONTHLY_LASTDAY-2",
                                                  L"DLG_MONTHLY_LASTDAY-3"};

// Every other key, each looked up by name where it is used.
inline constexpr const wchar_t* kSingleKeys[] = {L"APP_NAME",
                                                 L"MSG_NO_ENGINE",
                                                 L"BTN_NEW",
                                                 L"BTN_MENU",
                                                 L"MENU_DELETE",
                                                 L"MENU_DISABLE",
                                                 L"MENU_ACTIVATE",
                                                 L"MENU_ABOUT",
                                                 L"MENU_HELP",
                                                 L"MENU_EXIT",
                                                 L"MSG_CONFIRM_DELETE",
                                                 L"MSG_ABOUT",
                                                 L"PREFIX_OFF",
                                                 L"PREFIX_OUTDATED",
                                                 L"PREFIX_NEVER",
                                                 L"DLG_EMPTY_LIST",
                                                 L"DLG_HELP_HEADERTEXT",
                                                 L"BTN_OK",
                                                 L"BTN_DONE",
                                                 L"BTN_CANCEL",
                                                 L"DLG_HEADERTEXT",
                                                 L"DLG_OCCURS",
                                                 L"DLG_OCCURS_ONCE",
                                                 L"DLG_OCCURS_NEXT24H",
                                                 L"DLG_OCCURS_WEEKLY",
                                                 L"DLG_OCCURS_MONTHLY",
                                                 L"DLG_OCCURS_YEARLY",
                                                 L"DLG_DATE",
                                                 L"DLG_TIME",
                                                 L"DLG_DAYS_OF_WEEK",
                                                 L"DLG_STATUS",
                                                 L"DLG_STATUS_ON",
                                                 L"DLG_STATUS_OFF",
                                                 L"DLG_YEARLYDATE",
                                                 L"DLG_MONTHS",
                                                 L"DLG_MONTHLY_TYPE",
                                                 L"DLG_MONTHLY_TYPE_BYDAY",
                                                 L"DLG_MONTHLY_TYPE_BYWEEKDAY",
                                                 L"DLG_MONTH_DAY",
                                                 L"DLG_ACTION",
                                                 L"DLG_OPTIONS",
                                                 L"DLG_PHONE_OFF",
                                                 L"DLG_PHONE_ON",
                                                 L"DLG_POWER_OFF",
                                                 L"DLG_BT_OFF",
                                                 L"DLG_BT_ON",
                                                 L"DLG_BT_DISC",
                                                 L"DAY_STRING",
                                                 L"WEEKLY_TEXT",
                                                 L"NEXT24H_TEXT",
                                                 L"MONTHLY_SHORT_TEXT",
                                                 L"YEARLY_TEXT",
                                                 L"DLG_BT_SHORT",
                                                 L"DLG_BT_OFF_SHORT",
                                                 L"DLG_BT_ON_SHORT",
                                                 L"DLG_BT_DISC_SHORT"};

// What comes next: the coming-up screen, the editor's next-run line, the clash question and
// Run now's question.
inline constexpr const wchar_t* kComingNextKeys[] = {
    L"MENU_COMING_UP",        L"MENU_RUN_NOW",        L"DLG_COMING_UP_HEADERTEXT",
    L"DLG_NOTHING_SCHEDULED", L"DLG_NEXT_RUN",        L"DLG_NEVER_RUNS",
    L"MSG_CLASH_SAME_MINUTE", L"MSG_CLASH_KEEP_BOTH", L"MSG_RUN_NOW_ASK",
    L"MSG_RUN_NOW_POWER_OFF", L"MSG_RUN_NO_LIBRARY",  L"MSG_RUN_OTHER"};
// What Run now tells for the results of TarvikEngineFunc: done, not started (-1), the
// executor's exception (-3), unknown action (-9), too few arguments (-10).
inline constexpr const wchar_t* kRunResultKeys[] = {L"MSG_RUN_DONE", L"MSG_RUN_NOT_STARTED",
                                                    L"MSG_RUN_EXCEPTION", L"MSG_RUN_UNKNOWN_ACTION",
                                                    L"MSG_RUN_TOO_FEW_ARGUMENTS"};

// What the program tells of its files: a save that failed, at a change and at Exit, a folder
// too long, and a "storage.dat" that could not be read whole at start-up.
inline constexpr const wchar_t* kFileKeys[] = {
    L"MSG_NOT_SAVED",        L"MSG_EXIT_NOT_SAVED",   L"MSG_PATH_TOO_LONG",
    L"MSG_STORAGE_REFUSED",  L"MSG_STORAGE_DAMAGED",  L"MSG_STORAGE_KEPT",
    L"MSG_STORAGE_NOT_KEPT", L"MSG_STORAGE_TOO_MANY", L"MSG_SAVE_BLOCKED"};

// The executor's power-off notice: its countdown and its right softkey (the left is Cancel).
inline constexpr const wchar_t* kPowerOffNoticeKeys[] = {L"MSG_POWER_OFF_NOTICE", L"BTN_NOW"};

// The Last runs screen: its menu item, its title, the empty list and the mark of a Run now.
inline constexpr const wchar_t* kLastRunsKeys[] = {L"MENU_LAST_RUNS", L"DLG_LAST_RUNS_HEADERTEXT",
                                                   L"DLG_NO_RUNS", L"DLG_RUN_BY_RUN_NOW"};
// What became of a run: done, cancelled by the user, never finished, a command line the
// executor did not take (-9, -10), an exception (-3).
inline constexpr const wchar_t* kRunOutcomeKeys[] = {
    L"DLG_RUN_DONE", L"DLG_RUN_CANCELLED", L"DLG_RUN_UNFINISHED", L"DLG_RUN_NOT_UNDERSTOOD",
    L"DLG_RUN_EXCEPTION"};
// The step of a run that failed, in the order the executor makes them: Bluetooth, telephony,
// finding the cellular line, opening it, its extension, the radio, registering, power off.
inline constexpr const wchar_t* kStepFailedKeys[] = {
    L"DLG_FAILED_BLUETOOTH", L"DLG_FAILED_TELEPHONY", L"DLG_FAILED_FIND_LINE",
    L"DLG_FAILED_OPEN_LINE", L"DLG_FAILED_EXTENSION", L"DLG_FAILED_EQUIPMENT",
    L"DLG_FAILED_REGISTER",  L"DLG_FAILED_POWER_OFF"};

struct KeyTable {
    const wchar_t* const* keys;
    size_t count;
};

template <size_t N> constexpr KeyTable TableOf(const wchar_t* const (&keys)[N]) {
    return {keys, N};
}

// Every key the program looks up, family by family.
inline constexpr KeyTable kAllKeyTables[] = {
    TableOf(kWeekdayKeys),    TableOf(kShortWeekdayKeys), TableOf(kMiddleWeekdayKeys),
    TableOf(kShortMonthKeys), TableOf(kMiddleMonthKeys),  TableOf(kWeekOrdinalKeys),
    TableOf(kLastDayKeys),    TableOf(kSingleKeys),       TableOf(kComingNextKeys),
    TableOf(kRunResultKeys),  TableOf(kFileKeys),         TableOf(kPowerOffNoticeKeys),
    TableOf(kLastRunsKeys),   TableOf(kRunOutcomeKeys),   TableOf(kStepFailedKeys)};
