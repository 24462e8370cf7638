// The action editor's layout, in pixels against the template's own units: the option rows of
// the chosen action and the rows of the chosen recurrence, stacked without gaps or overlaps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorHarness.h"
#include "core/model/DZItem.h"
#include "ui/resources/resource.h"

namespace {

struct Row {
    int id;
    int units; // top in template units; -1 for a hidden control
};

struct LayoutCase {
    const char* name;
    int32_t kind;
    uint16_t action;
    std::vector<Row> rows;
};

std::vector<Row> WeekdayBoxes(int firstTop) {
    std::vector<Row> boxes;
    for (int day = 0; day < 7; ++day)
        boxes.push_back({IDC_WEEKDAY_FIRST + day, firstTop + 12 * day});
    return boxes;
}

std::vector<Row> Hidden(std::vector<int> ids) {
    std::vector<Row> rows;
    for (int id : ids)
        rows.push_back({id, -1});
    return rows;
}

std::vector<Row> Join(std::vector<std::vector<Row>> parts) {
    std::vector<Row> all;
    for (auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<int> kWeekdayIds = {IDC_WEEKDAYS_LABEL, 2501, 2502, 2503, 2504, 2505, 2506, 2507};

std::vector<LayoutCase> Cases() {
    return {
        {"WeeklyPhoneOff", Weekly, PhoneOff,
         Join({{{IDC_ACTION_LABEL, 6},
                {IDC_OPTIONS_LABEL, 30},
                {IDC_BT_OFF_CHECK, 39},
                {IDC_OCCURS_LABEL, 54},
                {IDC_OCCURS_LIST, 63},
                {IDC_TIME_LABEL, 78},
                {IDC_TIME_PICKER, 87},
                {IDC_WEEKDAYS_LABEL, 102}},
               WeekdayBoxes(111),
               {{IDC_STATUS_LABEL, 198}, {IDC_STATUS_LIST, 207}},
               Hidden({IDC_DATE_LABEL, IDC_DATE_PICKER, IDC_BT_ON_CHECK,
                       IDC_BT_DISCOVERABLE_CHECK})})},
        {"OncePhoneOn", Once, PhoneOn,
         Join({{{IDC_OPTIONS_LABEL, 30},
                {IDC_BT_ON_CHECK, 39},
                {IDC_BT_DISCOVERABLE_CHECK, 51},
                {IDC_OCCURS_LABEL, 63},
                {IDC_OCCURS_LIST, 72},
                {IDC_DATE_LABEL, 87},
                {IDC_DATE_PICKER, 96},
                {IDC_TIME_LABEL, 111},
                {IDC_TIME_PICKER, 120},
                {IDC_STATUS_LABEL, 135},
                {IDC_STATUS_LIST, 144}},
               Hidden(kWeekdayIds),
               Hidden({IDC_BT_OFF_CHECK})})},
        {"Next24HoursPowerOff", Next24Hours, PowerOff,
         Join({{{IDC_OCCURS_LABEL, 30},
                {IDC_OCCURS_LIST, 39},
                {IDC_TIME_LABEL, 54},
                {IDC_TIME_PICKER, 63},
                {IDC_STATUS_LABEL, 78},
                {IDC_STATUS_LIST, 87}},
               Hidden(kWeekdayIds),
               Hidden({IDC_DATE_LABEL, IDC_DATE_PICKER, IDC_OPTIONS_LABEL, IDC_BT_ON_CHECK,
                       IDC_BT_OFF_CHECK, IDC_BT_DISCOVERABLE_CHECK})})},
    };
}

void ExpectRows(HWND dialog, const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        if (row.units < 0) {
            EXPECT_FALSE(Visible(dialog, row.id)) << "control " << row.id;
            continue;
        }
        EXPECT_TRUE(Visible(dialog, row.id)) << "control " << row.id;
        EXPECT_NEAR(ClientTop(dialog, row.id), TopInUnits(dialog, row.units), 1)
            << "control " << row.id << " should stand at " << row.units << " units";
    }
}

} // namespace

TEST(ActionEditorLayout, OpensWithTheRowsOfItsActionAndKind) {
    for (const LayoutCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        DZItem entry;
        entry.kind = c.kind;
        entry.action = c.action;
        EXPECT_EQ(EditEntry(entry,
                            [&](HWND dialog) {
                                ExpectRows(dialog, c.rows);
                                PressCancel(dialog);
                            }),
                  kEditCanceled);
    }
}

// Every layout is reached again from any other by the user's choices in the two lists.
TEST(ActionEditorLayout, FollowsTheUsersChoiceOfActionAndKind) {
    const std::vector<LayoutCase> cases = Cases();
    DZItem entry;
    EXPECT_EQ(EditEntry(entry,
                        [&](HWND dialog) {
                            for (int round = 0; round < 2; ++round) {
                                for (const LayoutCase& c : cases) {
                                    SCOPED_TRACE(c.name);
                                    SelectItem(dialog, IDC_ACTION_LIST, c.action);
                                    SelectKind(dialog, c.kind);
                                    ExpectRows(dialog, c.rows);
                                }
                            }
                            PressCancel(dialog);
                        }),
              kEditCanceled);
}

// The action list's left and right keys step through the actions and wrap around, and each
// step lays the option rows out anew.
TEST(ActionEditorLayout, SpinnerKeysStepThroughTheActionsAndWrap) {
    DZItem entry;
    EXPECT_EQ(
        EditEntry(entry,
                  [&](HWND dialog) {
                      const int expected[] = {PowerOff, PhoneOff, PhoneOn, PhoneOff};
                      const WPARAM keys[] = {VK_LEFT, VK_RIGHT, VK_RIGHT, VK_LEFT};
                      for (int step = 0; step < 4; ++step) {
                          PressKey(dialog, IDC_ACTION_LIST, keys[step]);
                          EXPECT_EQ(Selection(dialog, IDC_ACTION_LIST), expected[step]);
                          EXPECT_EQ(Visible(dialog, IDC_OPTIONS_LABEL), expected[step] != PowerOff);
                          EXPECT_EQ(Visible(dialog, IDC_BT_ON_CHECK), expected[step] == PhoneOn);
                      }
                      PressCancel(dialog);
                  }),
        kEditCanceled);
}

// The weekly rows reach below the phone screen: focusing a box down there scrolls it into
// view, and a layout made while scrolled is the same once scrolled back.
TEST(ActionEditorLayout, ScrollsToTheFocusedControlAndLaysOutTheSameWhenScrolled) {
    const std::vector<LayoutCase> cases = Cases();
    DZItem entry;
    EXPECT_EQ(EditEntry(entry,
                        [&](HWND dialog) {
                            RECT client;
                            GetClientRect(dialog, &client);
                            const int sunday = IDC_WEEKDAY_FIRST + 6;
                            ASSERT_GT(ClientTop(dialog, IDC_STATUS_LIST), client.bottom)
                                << "the weekly rows fit the screen; nothing to scroll";
                            PressKey(dialog, IDC_STATUS_LIST, VK_LEFT);
                            RECT status;
                            GetWindowRect(GetDlgItem(dialog, IDC_STATUS_LIST), &status);
                            MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&status),
                                            2);
                            EXPECT_GE(status.top, 0);
                            EXPECT_LE(status.bottom, client.bottom);
                            EXPECT_EQ(Selection(dialog, IDC_STATUS_LIST), 0);
                            EXPECT_LT(ClientTop(dialog, sunday), client.bottom);

                            SelectItem(dialog, IDC_ACTION_LIST, PhoneOn);
                            SelectKind(dialog, Once);
                            SendMessageW(dialog, WM_VSCROLL, SB_TOP, 0);
                            SCOPED_TRACE(cases[1].name);
                            ExpectRows(dialog, cases[1].rows);
                            PressCancel(dialog);
                        }),
              kEditCanceled);
}
