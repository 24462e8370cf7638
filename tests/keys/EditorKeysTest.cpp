// The editor used with the phone's keys alone (F1, F2, arrows, Return, Escape, digits),
// pressed through the window system into the running program (en_US: 12-hour times).
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/FileBytes.h"
#include "tests/common/PhoneKeys.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"
#include "ui/resources/resource.h"
#include "platform/core/ProgramDirectory.h"

namespace {

constexpr int kMonday = IDC_WEEKDAY_FIRST;

std::vector<int> WithWeekdays(std::vector<int> ids, int status) {
    for (int day = 0; day < 7; ++day)
        ids.push_back(kMonday + day);
    ids.push_back(status);
    return ids;
}

// The bytes of a storage.dat that holds just entry, as the program writes it.
std::string FileOf(DZItem* entry) {
    DZList list;
    ProgramDirectory(list.path);
    wcscat(list.path, L"expected.dat");
    list.Append(entry);
    EXPECT_TRUE(list.Save());
    const std::string bytes = ReadFileBytes(list.path);
    DeleteFileW(list.path);
    return bytes;
}

SYSTEMTIME Today() {
    SYSTEMTIME now = LocalNowFields();
    return now;
}

SYSTEMTIME PickerTime(HWND picker) {
    SYSTEMTIME time{};
    SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    return time;
}

// Whether the control lies wholly inside its dialog's visible area.
bool FullyShown(HWND control) {
    RECT rect, client;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    GetClientRect(GetParent(control), &client);
    return rect.top >= client.top && rect.bottom <= client.bottom;
}

// From the minute field, the user looks at the time picker and sets its AM/PM field (the next
// one) to PM if it shows AM.
void SetPm(PhoneKeys& keys) {
    keys.Press("Right");
    if (PickerTime(keys.Focus()).wHour < 12) keys.Press("Return Up Return");
}

} // namespace

// The road example from an empty list: phone radio off with Bluetooth off, Monday to Friday at
// 11 PM, active; Done saves it and tells the engine.
TEST(EditorKeys, RoadExampleFromAnEmptyListByKeysAlone) {
    PhoneProgram program;
    const SYSTEMTIME opened = Today();
    program.Run([](PhoneKeys& keys) {
        keys.Press("F1");
        ASSERT_EQ(keys.FocusId(), IDC_ACTION_LIST);
        EXPECT_EQ(PhoneKeys::Shown(keys.Focus()), L"Phone off");
        keys.Press("Down Return"); // Bluetooth off
        EXPECT_EQ(PhoneKeys::Shown(keys.Focus()), L"[x] Bluetooth off (always)");
        keys.Press("Down"); // Occurs: weekly already
        EXPECT_EQ(PhoneKeys::Shown(keys.Focus()), L"Weekly");
        keys.Press("Down 11 Right 00");
        ASSERT_EQ(keys.FocusId(), IDC_TIME_PICKER);
        SetPm(keys);
        keys.Press("Down Down Down Down Down Down Return Down Return"); // not Saturday, Sunday
        EXPECT_EQ(PhoneKeys::Shown(keys.Focus()), L"[ ] Sunday");
        keys.Press("Down");
        EXPECT_EQ(PhoneKeys::Shown(keys.Focus()), L"Active");
        keys.Press("F1");
        EXPECT_EQ(keys.FocusId(), IDC_SCHEDULE_LIST);
    });
    auto* road = new DZItem();
    road->action = PhoneOff;
    road->options = kOptionBluetooth;
    road->weekdayMask = 0x1F;
    road->active = 1;
    SYSTEMTIME start = opened;
    start.wHour = 23;
    start.wMinute = start.wSecond = start.wMilliseconds = 0;
    SystemTimeToFileTime(&start, &road->startTime);
    EXPECT_EQ(program.StorageBytes(), FileOf(road));
    EXPECT_TRUE(program.TakeRefresh());
}

// For every form of the editor, Down from the first control visits each input control once
// and comes back to the first; Up walks the same way back; the page scrolls so that the
// focused control is wholly shown.
TEST(EditorKeys, DownAndUpVisitEveryInputControlOncePerCycle) {
    const struct {
        const char* form;
        const char* keys; // from the action list of a new entry (phone off, weekly)
        std::vector<int> cycle;
    } forms[] = {
        {"phone off weekly", "",
         WithWeekdays({IDC_ACTION_LIST, IDC_BT_OFF_CHECK, IDC_OCCURS_LIST, IDC_TIME_PICKER},
                      IDC_STATUS_LIST)},
        {"phone off once",
         "Down Down Left",
         {IDC_ACTION_LIST, IDC_BT_OFF_CHECK, IDC_OCCURS_LIST, IDC_DATE_PICKER, IDC_TIME_PICKER,
          IDC_STATUS_LIST}},
        {"phone on, Bluetooth on, next 24 hours",
         "Right Down Return Down Down Right",
         {IDC_ACTION_LIST, IDC_BT_ON_CHECK, IDC_BT_DISCOVERABLE_CHECK, IDC_OCCURS_LIST,
          IDC_TIME_PICKER, IDC_STATUS_LIST}},
        {"phone on once",
         "Right Down Down Left",
         {IDC_ACTION_LIST, IDC_BT_ON_CHECK, IDC_OCCURS_LIST, IDC_DATE_PICKER, IDC_TIME_PICKER,
          IDC_STATUS_LIST}},
        {"power off weekly", "Left",
         WithWeekdays({IDC_ACTION_LIST, IDC_OCCURS_LIST, IDC_TIME_PICKER}, IDC_STATUS_LIST)},
    };
    PhoneProgram program;
    program.Run([&forms](PhoneKeys& keys) {
        for (const auto& form : forms) {
            SCOPED_TRACE(form.form);
            keys.Press("F1");
            keys.Press(form.keys);
            for (int up = 0; up < 20 && keys.FocusId() != IDC_ACTION_LIST; ++up)
                keys.Press("Up");
            std::vector<int> down, up;
            for (size_t step = 0; step < form.cycle.size(); ++step) {
                keys.Press("Down");
                down.push_back(keys.FocusId());
                EXPECT_TRUE(FullyShown(keys.Focus())) << keys.FocusId();
            }
            for (size_t step = 0; step < form.cycle.size(); ++step) {
                keys.Press("Up");
                up.push_back(keys.FocusId());
                EXPECT_TRUE(FullyShown(keys.Focus())) << keys.FocusId();
            }
            std::vector<int> expectedDown(form.cycle.begin() + 1, form.cycle.end());
            expectedDown.push_back(form.cycle.front());
            EXPECT_EQ(down, expectedDown);
            EXPECT_EQ(up, std::vector<int>(form.cycle.rbegin(), form.cycle.rend()));
            keys.Press("Escape");
        }
    });
}

// The action key toggles the box that has the focus and never ends the editor, wherever the
// focus is.
TEST(EditorKeys, ActionKeyTogglesBoxesAndNeverEndsTheEditor) {
    const struct {
        const char* to; // from the action list of a new entry (phone off, weekly)
        const wchar_t* once;
        const wchar_t* twice;
    } boxes[] = {
        {"Down", L"[x] Bluetooth off (always)", L"[ ] Bluetooth off (always)"},
        {"Down Down Down Down", L"[ ] Monday", L"[x] Monday"},
        {"Up", L"Active", L"Active"}, // a spinner list keeps its value
        {"", L"Phone off", L"Phone off"},
    };
    PhoneProgram program;
    program.Run([&boxes](PhoneKeys& keys) {
        for (const auto& box : boxes) {
            SCOPED_TRACE(box.to);
            keys.Press("F1");
            HWND editor = keys.Active();
            keys.Press(box.to);
            keys.Press("Return");
            EXPECT_EQ(PhoneKeys::Shown(keys.Focus()), box.once);
            keys.Press("Return");
            EXPECT_EQ(PhoneKeys::Shown(keys.Focus()), box.twice);
            EXPECT_EQ(keys.Active(), editor);
            keys.Press("Escape");
        }
    });
    EXPECT_EQ(program.StorageBytes(), "");
}

// Back and the right softkey (Cancel) leave the file as it was, whatever was changed.
TEST(EditorKeys, BackAndCancelLeaveTheFileUnchanged) {
    auto* entry = new DZItem();
    entry->kind = Once;
    const std::string stored = FileOf(entry);
    for (const char* leave : {"Escape", "F2"}) {
        SCOPED_TRACE(leave);
        PhoneProgram program(stored);
        program.Run([leave](PhoneKeys& keys) {
            keys.Press("Return"); // the action key opens the selected entry
            ASSERT_EQ(keys.FocusId(), IDC_ACTION_LIST);
            keys.Press("Right Down Return Down Right Down Up Right Return 5");
            keys.Press(leave);
            EXPECT_EQ(keys.FocusId(), IDC_SCHEDULE_LIST);
        });
        EXPECT_EQ(program.StorageBytes(), stored);
        EXPECT_FALSE(program.TakeRefresh());
    }
}

// A date and a time set field by field: digits into the current field, Left and Right between
// fields, and in adjust mode (the action key) Up and Down change the current field, AM/PM too.
TEST(EditorKeys, PickersAreSetByDigitsAndInAdjustMode) {
    PhoneProgram program;
    program.Run([](PhoneKeys& keys) {
        keys.Press("F1 Down Down Left Down"); // once: the date picker
        ASSERT_EQ(keys.FocusId(), IDC_DATE_PICKER);
        keys.Press("12 Right 25 Right 2030");
        EXPECT_EQ(PhoneKeys::Shown(keys.Focus()).substr(0, 10), L"2030-12-25");
        keys.Press("Return Left Up Up Return"); // the day, two up
        EXPECT_EQ(PhoneKeys::Shown(keys.Focus()).substr(0, 10), L"2030-12-27");

        keys.Press("Down"); // out of adjust mode, Down moves on
        ASSERT_EQ(keys.FocusId(), IDC_TIME_PICKER);
        keys.Press("7 Right 45");
        const WORD hour = PickerTime(keys.Focus()).wHour;
        EXPECT_EQ(hour % 12, 7);
        keys.Press("Right Return Down"); // AM/PM
        EXPECT_EQ(PickerTime(keys.Focus()).wHour, (hour + 12) % 24);
        keys.Press("Left Up Escape"); // the minutes, one up; Back leaves adjust mode only
        EXPECT_EQ(PickerTime(keys.Focus()).wMinute, 46);
        EXPECT_EQ(keys.FocusId(), IDC_TIME_PICKER);
        keys.Press("Up");
        EXPECT_EQ(keys.FocusId(), IDC_DATE_PICKER);
    });
}
