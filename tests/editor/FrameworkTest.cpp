// The editor framework on a template of the tests' own that holds the monthly and yearly
// controls, which the action editor's template leaves out.
#include <gtest/gtest.h>

#include "EditorHarness.h"
#include "EditorTestResources.h"
#include "ui/editor/StorageEditDialog.h"
#include "core/model/ScheduleTypes.h"
#include "core/model/StorageItem.h"
#include "ui/resources/resource.h"

namespace {

constexpr uint32_t kEveryKind = Weekly | Once | Next24Hours | Monthly | Yearly;

int RunFramework(StorageItem& entry, const EditorScript& script) {
    StorageEditDialog editor(IDD_FRAMEWORK_TEST, kEveryKind, entry.showSeconds);
    return RunEditor(editor, entry, script);
}

struct Row {
    int id;
    int units;
};

void ExpectTops(HWND dialog, std::initializer_list<Row> rows) {
    for (const Row& row : rows) {
        EXPECT_TRUE(Visible(dialog, row.id)) << "control " << row.id;
        EXPECT_NEAR(ClientTop(dialog, row.id), TopInUnits(dialog, row.units), 1)
            << "control " << row.id << " should stand at " << row.units << " units";
    }
}

void ExpectHidden(HWND dialog, std::initializer_list<int> ids) {
    for (int id : ids)
        EXPECT_FALSE(Visible(dialog, id)) << "control " << id;
}

void MakeMonthly(StorageItem& entry) {
    entry.kind = Monthly;
    entry.monthMask = 0x0A5;
    entry.monthlyMode = 0;
    entry.dayOfMonth = -2;
    entry.weekIndex = 3;
    entry.monthlyWeekday = 0;
}

} // namespace

TEST(EditorFramework, OccursOffersEveryKindInItsOrder) {
    StorageItem entry(Weekly, 0);
    RunFramework(entry, [](HWND dialog) {
        EXPECT_EQ(ItemData(dialog, IDC_OCCURS_LIST),
                  (std::vector<LRESULT>{Next24Hours, Once, Weekly, Monthly, Yearly}));
        PressCancel(dialog);
    });
}

// A monthly entry by day whose day has no item (two before the last) shows none, is laid out
// with the monthly rows, and keeps its day when the user picks none.
TEST(EditorFramework, MonthlyByDayOpensWithItsRowsAndKeepsAnUnlistedDay) {
    StorageItem entry(Monthly, 0);
    MakeMonthly(entry);
    EXPECT_EQ(RunFramework(entry,
                           [](HWND dialog) {
                               EXPECT_EQ(SelectedData(dialog, IDC_OCCURS_LIST), Monthly);
                               EXPECT_EQ(Selection(dialog, IDC_MONTHLY_TYPE_LIST), 0);
                               EXPECT_EQ(Selection(dialog, IDC_MONTH_DAY_LIST), -1);
                               EXPECT_EQ(ItemCount(dialog, IDC_MONTH_DAY_LIST), 32);
                               for (int month = 0; month < 12; ++month)
                                   EXPECT_EQ(Checked(dialog, IDC_MONTH_CHECK_FIRST + month),
                                             ((0x0A5 >> month) & 1) != 0)
                                       << month;
                               ExpectTops(dialog, {{IDC_TIME_LABEL, 30},
                                                   {IDC_TIME_PICKER, 39},
                                                   {IDC_MONTHLY_TYPE_LABEL, 54},
                                                   {IDC_MONTHLY_TYPE_LIST, 66},
                                                   {IDC_MONTH_DAY_LABEL, 81},
                                                   {IDC_MONTH_DAY_LIST, 93},
                                                   {IDC_MONTHS_LABEL, 108},
                                                   {IDC_MONTH_NAME_FIRST, 117},
                                                   {IDC_MONTH_CHECK_FIRST, 126},
                                                   {IDC_MONTH_NAME_FIRST + 6, 138},
                                                   {IDC_MONTH_CHECK_FIRST + 11, 147},
                                                   {IDC_STATUS_LABEL, 162},
                                                   {IDC_STATUS_LIST, 171}});
                               ExpectHidden(dialog, {IDC_DATE_LABEL, IDC_YEARLY_DATE_PICKER,
                                                     IDC_WEEKDAYS_LABEL, IDC_MONTH_WEEK_LIST,
                                                     IDC_MONTH_WEEKDAY_LIST});
                               Click(dialog, IDC_MONTH_CHECK_FIRST + 1);
                               PressDone(dialog);
                           }),
              kEditDone);
    EXPECT_EQ(entry.kind, Monthly);
    EXPECT_EQ(entry.monthMask, 0x0A7);
    EXPECT_EQ(entry.monthlyMode, 0);
    EXPECT_EQ(entry.dayOfMonth, -2);
}

TEST(EditorFramework, MonthlyByWeekdayShowsWeekAndWeekdayAndStoresThem) {
    StorageItem entry(Monthly, 0);
    MakeMonthly(entry);
    EXPECT_EQ(RunFramework(entry,
                           [](HWND dialog) {
                               SelectItem(dialog, IDC_MONTHLY_TYPE_LIST, 1);
                               EXPECT_EQ(Selection(dialog, IDC_MONTH_WEEK_LIST), 3);
                               EXPECT_EQ(SelectedData(dialog, IDC_MONTH_WEEKDAY_LIST),
                                         1); // Monday for 0
                               ExpectTops(dialog, {{IDC_MONTH_DAY_LABEL, 81},
                                                   {IDC_MONTH_WEEK_LIST, 93},
                                                   {IDC_MONTH_WEEKDAY_LIST, 108},
                                                   {IDC_MONTHS_LABEL, 123},
                                                   {IDC_STATUS_LABEL, 177}});
                               ExpectHidden(dialog, {IDC_MONTH_DAY_LIST});
                               SelectItem(dialog, IDC_MONTH_WEEK_LIST, 4);
                               SelectItem(dialog, IDC_MONTH_WEEKDAY_LIST, 4);
                               PressDone(dialog);
                           }),
              kEditDone);
    EXPECT_EQ(entry.monthlyMode, 1);
    EXPECT_EQ(entry.weekIndex, 4);
    EXPECT_EQ(entry.monthlyWeekday, 16);
    EXPECT_EQ(entry.dayOfMonth, -2);
}

TEST(EditorFramework, ChoosingMonthlyChecksEveryMonthAndSelectsTheEntrysDay) {
    StorageItem entry(Weekly, 0);
    entry.monthMask = 1;
    entry.dayOfMonth = 0;
    EXPECT_EQ(RunFramework(entry,
                           [](HWND dialog) {
                               SelectKind(dialog, Monthly);
                               for (int month = 0; month < 12; ++month)
                                   EXPECT_TRUE(Checked(dialog, IDC_MONTH_CHECK_FIRST + month))
                                       << month;
                               EXPECT_EQ(Selection(dialog, IDC_MONTHLY_TYPE_LIST), 0);
                               EXPECT_EQ(Selection(dialog, IDC_MONTH_DAY_LIST), 31); // the last day
                               SelectItem(dialog, IDC_MONTH_DAY_LIST, 14);
                               PressDone(dialog);
                           }),
              kEditDone);
    EXPECT_EQ(entry.kind, Monthly);
    EXPECT_EQ(entry.monthMask, 0xFFF);
    EXPECT_EQ(entry.dayOfMonth, 15);
    EXPECT_EQ(entry.weekdayMask, 0);
}

TEST(EditorFramework, YearlyTakesTheDateRowsPlaceAndStoresItsDate) {
    StorageItem entry(Weekly, 0);
    EXPECT_EQ(RunFramework(
                  entry,
                  [](HWND dialog) {
                      SelectKind(dialog, Yearly);
                      ExpectTops(dialog, {{IDC_YEARLY_DATE_LABEL, 30},
                                          {IDC_YEARLY_DATE_PICKER, 39},
                                          {IDC_TIME_LABEL, 54},
                                          {IDC_STATUS_LABEL, 78}});
                      ExpectHidden(dialog, {IDC_DATE_PICKER, IDC_MONTHS_LABEL, IDC_WEEKDAYS_LABEL});
                      SetPicker(dialog, IDC_YEARLY_DATE_PICKER, SystemTimeOf(2031, 12, 25, 0, 0));
                      SetPicker(dialog, IDC_TIME_PICKER, SystemTimeOf(2000, 1, 1, 7, 30));
                      PressDone(dialog);
                  }),
              kEditDone);
    EXPECT_EQ(entry.kind, Yearly);
    EXPECT_EQ(ToTicks(entry.startTime), ToTicks(AsFileTime(SystemTimeOf(2031, 12, 25, 7, 30))));
}

// Left and right on a check box neither move the focus nor change a box.
TEST(EditorFramework, SideKeysOnACheckBoxDoNothing) {
    StorageItem entry(Monthly, 0);
    MakeMonthly(entry);
    RunFramework(entry, [](HWND dialog) {
        for (WPARAM key : {VK_RIGHT, VK_LEFT}) {
            PressKey(dialog, IDC_MONTH_CHECK_FIRST + 3, key);
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_MONTH_CHECK_FIRST + 3)) << key;
        }
        for (int month = 0; month < 12; ++month)
            EXPECT_EQ(Checked(dialog, IDC_MONTH_CHECK_FIRST + month), ((0x0A5 >> month) & 1) != 0);
        // Nor on a weekday box: Up and Down move between the boxes, the side keys do not.
        SelectKind(dialog, Weekly);
        PressKey(dialog, IDC_WEEKDAY_FIRST, VK_RIGHT);
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_WEEKDAY_FIRST));
        PressCancel(dialog);
    });
}

TEST(EditorFramework, MissingTemplateCannotOpenAndLeavesTheEntry) {
    StorageItem entry(Weekly, 0);
    const std::vector<uint8_t> before = SavedRecord(entry);
    StorageEditDialog editor(0, 15, 0);
    EXPECT_EQ(editor.RunModal(nullptr, &entry), -1);
    entry.owner = &EditorScreenList();
    EXPECT_EQ(entry.Edit(nullptr), -1); // the general editor's template 0 does not exist
    EXPECT_EQ(SavedRecord(entry), before);
}
