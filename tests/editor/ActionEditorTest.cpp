// The action editor driven as the user drives it: what a new or stored entry opens with, the
// Bluetooth boxes, and what Done and Cancel leave in the entry.
#include <gtest/gtest.h>

#include <functional>

#include "EditorHarness.h"
#include "core/model/DZItem.h"
#include "core/model/ScheduleTypes.h"
#include "ui/resources/resource.h"

namespace {

uint64_t Ticks(const SYSTEMTIME& t) {
    return ToTicks(AsFileTime(t));
}

SYSTEMTIME NowToTheMinute() {
    SYSTEMTIME now = LocalNowFields();
    now.wSecond = 0;
    now.wMilliseconds = 0;
    return now;
}

} // namespace

TEST(ActionEditor, NewEntryOpensAsPhoneOffWeeklyOnEveryDayAndActive) {
    DZItem entry;
    const SYSTEMTIME created = AsSystemTime(entry.startTime);
    EXPECT_EQ(EditEntry(entry,
                        [&](HWND dialog) {
                            EXPECT_EQ(Selection(dialog, IDC_ACTION_LIST), PhoneOff);
                            EXPECT_EQ(ItemCount(dialog, IDC_ACTION_LIST), 3);
                            EXPECT_EQ(ItemData(dialog, IDC_OCCURS_LIST),
                                      (std::vector<LRESULT>{Next24Hours, Once, Weekly}));
                            EXPECT_EQ(SelectedData(dialog, IDC_OCCURS_LIST), Weekly);
                            EXPECT_TRUE(Visible(dialog, IDC_BT_OFF_CHECK));
                            EXPECT_FALSE(Checked(dialog, IDC_BT_OFF_CHECK));
                            EXPECT_FALSE(Visible(dialog, IDC_BT_DISCOVERABLE_CHECK));
                            EXPECT_FALSE(Enabled(dialog, IDC_BT_DISCOVERABLE_CHECK));
                            for (int day = 0; day < 7; ++day)
                                EXPECT_TRUE(Checked(dialog, IDC_WEEKDAY_FIRST + day)) << day;
                            SYSTEMTIME shown = PickerValue(dialog, IDC_TIME_PICKER);
                            EXPECT_EQ(shown.wHour, created.wHour);
                            EXPECT_EQ(shown.wMinute, created.wMinute);
                            EXPECT_EQ(Selection(dialog, IDC_STATUS_LIST), 1);
                            PressCancel(dialog);
                        }),
              kEditCanceled);
}

TEST(ActionEditor, BluetoothOffAndOnAreSeparateBoxes) {
    DZItem entry;
    EditEntry(entry, [&](HWND dialog) {
        Click(dialog, IDC_BT_OFF_CHECK);
        SelectItem(dialog, IDC_ACTION_LIST, PhoneOn);
        EXPECT_FALSE(Checked(dialog, IDC_BT_ON_CHECK));
        EXPECT_FALSE(Enabled(dialog, IDC_BT_DISCOVERABLE_CHECK));
        Click(dialog, IDC_BT_ON_CHECK);
        SelectItem(dialog, IDC_ACTION_LIST, PhoneOff);
        EXPECT_TRUE(Checked(dialog, IDC_BT_OFF_CHECK));
        SelectItem(dialog, IDC_ACTION_LIST, PhoneOn);
        EXPECT_TRUE(Checked(dialog, IDC_BT_ON_CHECK));
        PressCancel(dialog);
    });
}

TEST(ActionEditor, DiscoverableFollowsBluetoothOn) {
    DZItem entry;
    entry.action = PhoneOn;
    entry.options = kOptionBluetooth | kOptionDiscoverable;
    EditEntry(entry, [&](HWND dialog) {
        EXPECT_TRUE(Checked(dialog, IDC_BT_ON_CHECK));
        EXPECT_TRUE(Checked(dialog, IDC_BT_DISCOVERABLE_CHECK));
        EXPECT_TRUE(Enabled(dialog, IDC_BT_DISCOVERABLE_CHECK));
        Click(dialog, IDC_BT_ON_CHECK);
        EXPECT_FALSE(Checked(dialog, IDC_BT_DISCOVERABLE_CHECK));
        EXPECT_FALSE(Enabled(dialog, IDC_BT_DISCOVERABLE_CHECK));
        Click(dialog, IDC_BT_ON_CHECK);
        EXPECT_TRUE(Enabled(dialog, IDC_BT_DISCOVERABLE_CHECK));
        EXPECT_FALSE(Checked(dialog, IDC_BT_DISCOVERABLE_CHECK));
        PressCancel(dialog);
    });
}

// What Done stores in action and options after the user's switch-over; hidden boxes count,
// and what the editor cannot show stays as it was.
TEST(ActionEditor, StoresTheOptionsOfTheChosenAction) {
    struct Case {
        const char* name;
        uint16_t action, options;
        std::function<void(HWND)> user;
        uint16_t storedAction, storedOptions;
    };
    const Case cases[] = {
        {"discoverable without Bluetooth on opens unchecked", PhoneOn, kOptionDiscoverable,
         [](HWND d) {
             EXPECT_FALSE(Checked(d, IDC_BT_ON_CHECK));
             EXPECT_FALSE(Checked(d, IDC_BT_DISCOVERABLE_CHECK));
             EXPECT_FALSE(Enabled(d, IDC_BT_DISCOVERABLE_CHECK));
         },
         PhoneOn, 0},
        {"phone on with Bluetooth to power off keeps the hidden box", PhoneOn, kOptionBluetooth,
         [](HWND d) { SelectItem(d, IDC_ACTION_LIST, PowerOff); }, PowerOff, 1},
        {"phone on with both boxes to phone off", PhoneOn, kOptionBluetooth | kOptionDiscoverable,
         [](HWND d) { SelectItem(d, IDC_ACTION_LIST, PhoneOff); }, PhoneOff, 2},
        {"phone off with Bluetooth off", PhoneOff, 0, [](HWND d) { Click(d, IDC_BT_OFF_CHECK); },
         PhoneOff, 1},
        {"phone off to phone on with both boxes", PhoneOff, kOptionBluetooth,
         [](HWND d) {
             SelectItem(d, IDC_ACTION_LIST, PhoneOn);
             Click(d, IDC_BT_ON_CHECK);
             Click(d, IDC_BT_DISCOVERABLE_CHECK);
         },
         PhoneOn, 3},
        {"an unknown action shows an empty choice and keeps its options", 7, 0x8003,
         [](HWND d) {
             EXPECT_EQ(ItemData(d, IDC_ACTION_LIST), (std::vector<LRESULT>{0, 1, 2, 7}));
             EXPECT_EQ(SelectedData(d, IDC_ACTION_LIST), 7);
             EXPECT_EQ(SelectedText(d, IDC_ACTION_LIST), L"");
             EXPECT_FALSE(Visible(d, IDC_BT_ON_CHECK));
             EXPECT_FALSE(Visible(d, IDC_BT_OFF_CHECK));
         },
         7, 0x8003},
        {"option bits the editor does not show stay", PhoneOn, 0x8001,
         [](HWND d) { Click(d, IDC_BT_ON_CHECK); }, PhoneOn, 0x8000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DZItem entry;
        entry.action = c.action;
        entry.options = c.options;
        entry.active = 2; // active, as no status item shows it
        EXPECT_EQ(EditEntry(entry,
                            [&](HWND dialog) {
                                c.user(dialog);
                                PressDone(dialog);
                            }),
                  kEditDone);
        EXPECT_EQ(entry.action, c.storedAction);
        EXPECT_EQ(entry.options, c.storedOptions);
        EXPECT_EQ(entry.active, 2);
    }
}

// Next 24 hours: a time of day later than now is today, the current minute is tomorrow. The
// check is repeated when the clock's minute turned during a run.
TEST(ActionEditor, NextTwentyFourHoursLiesWithinTheComingDay) {
    struct Case {
        const char* name;
        int minutesAhead;
        uint64_t expectedAhead;
    };
    const Case cases[] = {{"one minute ahead", 1, 60 * kTicksPerSecond},
                          {"the current minute", 0, kTicksPerDay}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int attempt = 0; attempt < 3; ++attempt) {
            const SYSTEMTIME before = NowToTheMinute();
            const SYSTEMTIME chosen =
                AsSystemTime(FromTicks(Ticks(before) + c.minutesAhead * 60 * kTicksPerSecond));
            DZItem entry;
            EXPECT_EQ(EditEntry(entry,
                                [&](HWND dialog) {
                                    SelectKind(dialog, Next24Hours);
                                    SetPicker(dialog, IDC_TIME_PICKER, chosen);
                                    PressDone(dialog);
                                }),
                      kEditDone);
            if (Ticks(NowToTheMinute()) != Ticks(before)) continue;
            EXPECT_EQ(entry.kind, Next24Hours);
            EXPECT_EQ(ToTicks(entry.startTime), Ticks(before) + c.expectedAhead);
            EXPECT_EQ(entry.weekdayMask, 0);
            EXPECT_EQ(entry.monthMask, 0);
            break;
        }
    }
}

TEST(ActionEditor, OnceStoresTheChosenInstantEvenInThePast) {
    DZItem entry;
    EXPECT_EQ(EditEntry(entry,
                        [&](HWND dialog) {
                            SelectKind(dialog, Once);
                            SetPicker(dialog, IDC_DATE_PICKER, SystemTimeOf(2020, 3, 4, 22, 0));
                            SetPicker(dialog, IDC_TIME_PICKER, SystemTimeOf(2031, 1, 1, 5, 6, 42));
                            SelectItem(dialog, IDC_STATUS_LIST, 0);
                            PressDone(dialog);
                        }),
              kEditDone);
    EXPECT_EQ(entry.kind, Once);
    // Without seconds in this entry's times the picker's seconds are dropped.
    EXPECT_EQ(ToTicks(entry.startTime), Ticks(SystemTimeOf(2020, 3, 4, 5, 6, 0)));
    EXPECT_EQ(entry.active, 0);
    EXPECT_EQ(entry.weekdayMask, 0);
    EXPECT_EQ(entry.monthMask, 0);
}

TEST(ActionEditor, EntryWithSecondsKeepsThem) {
    DZItem entry;
    entry.showSeconds = 1;
    EXPECT_EQ(EditEntry(entry,
                        [&](HWND dialog) {
                            SetPicker(dialog, IDC_TIME_PICKER, SystemTimeOf(2031, 1, 1, 5, 6, 42));
                            PressDone(dialog);
                        }),
              kEditDone);
    SYSTEMTIME stored = AsSystemTime(entry.startTime);
    EXPECT_EQ(stored.wHour, 5);
    EXPECT_EQ(stored.wMinute, 6);
    EXPECT_EQ(stored.wSecond, 42);
}

TEST(ActionEditor, WeeklyStoresTheCheckedDaysAndChoosingWeeklyChecksAllAgain) {
    DZItem entry;
    entry.kind = Once;
    EXPECT_EQ(EditEntry(entry,
                        [&](HWND dialog) {
                            SelectKind(dialog, Weekly);
                            Click(dialog, IDC_WEEKDAY_FIRST + 1); // Tuesday
                            SelectKind(dialog, Once);
                            SelectKind(dialog, Weekly);
                            EXPECT_TRUE(Checked(dialog, IDC_WEEKDAY_FIRST + 1));
                            Click(dialog, IDC_WEEKDAY_FIRST + 5); // Saturday
                            Click(dialog, IDC_WEEKDAY_FIRST + 6); // Sunday
                            PressDone(dialog);
                        }),
              kEditDone);
    EXPECT_EQ(entry.kind, Weekly);
    EXPECT_EQ(entry.weekdayMask, 0x1F);
}

TEST(ActionEditor, CancelAfterChangesLeavesTheEntryAsItWas) {
    DZItem entry;
    entry.kind = Once;
    entry.action = PhoneOn;
    entry.options = kOptionBluetooth;
    entry.startTime = AsFileTime(SystemTimeOf(2030, 7, 8, 9, 10));
    const std::vector<uint8_t> before = SavedRecord(entry);
    EXPECT_EQ(EditEntry(entry,
                        [&](HWND dialog) {
                            SelectItem(dialog, IDC_ACTION_LIST, PhoneOff);
                            Click(dialog, IDC_BT_OFF_CHECK);
                            SelectKind(dialog, Weekly);
                            Click(dialog, IDC_WEEKDAY_FIRST);
                            SetPicker(dialog, IDC_TIME_PICKER, SystemTimeOf(2030, 1, 1, 1, 2));
                            SelectItem(dialog, IDC_STATUS_LIST, 0);
                            PressCancel(dialog);
                        }),
              kEditCanceled);
    EXPECT_EQ(SavedRecord(entry), before);
}

// A monthly entry from the file: the action editor does not offer its kind, so Done keeps the
// schedule and stores the action.
TEST(ActionEditor, KindNotOfferedKeepsItsScheduleAndStoresTheAction) {
    const auto monthlyFromTheFile = [](DZItem& e) {
        e.kind = Monthly;
        e.startTime = AsFileTime(SystemTimeOf(2029, 2, 3, 4, 5));
        e.active = 0;
        e.monthMask = 0x0F0;
        e.monthlyMode = 1;
        e.dayOfMonth = -2;
        e.weekIndex = 2;
        e.monthlyWeekday = 4;
        e.weekdayMask = 5;
    };
    DZItem entry;
    monthlyFromTheFile(entry);
    entry.action = PhoneOff;
    DZItem expected;
    monthlyFromTheFile(expected);
    expected.action = PhoneOn;
    expected.options = kOptionBluetooth;
    EXPECT_EQ(EditEntry(entry,
                        [&](HWND dialog) {
                            EXPECT_EQ(Selection(dialog, IDC_OCCURS_LIST), -1);
                            EXPECT_TRUE(Visible(dialog, IDC_TIME_PICKER));
                            EXPECT_TRUE(Visible(dialog, IDC_STATUS_LIST));
                            EXPECT_FALSE(Visible(dialog, IDC_DATE_PICKER));
                            EXPECT_FALSE(Visible(dialog, IDC_WEEKDAYS_LABEL));
                            SetPicker(dialog, IDC_TIME_PICKER, SystemTimeOf(2029, 1, 1, 23, 59));
                            SelectItem(dialog, IDC_STATUS_LIST, 1);
                            SelectItem(dialog, IDC_ACTION_LIST, PhoneOn);
                            Click(dialog, IDC_BT_ON_CHECK);
                            PressDone(dialog);
                        }),
              kEditDone);
    EXPECT_EQ(SavedRecord(entry), SavedRecord(expected));
}
