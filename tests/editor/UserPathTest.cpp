// The whole path of a user through the running program: New opens the action editor over the
// schedule list, Done adds the row in its sorted place, saves "storage.dat" and tells the
// engine; Cancel changes nothing.
#include <gtest/gtest.h>

#include <string>

#include "EditorHarness.h"
#include "platform/shell/SoftkeyBar.h"
#include "ui/app/AppState.h"
#include "ui/app/Main.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"
#include "contract/EngineContract.h"
#include "ui/resources/resource.h"
#include "core/text/TextTable.h"

namespace {

FILETIME DaysFromNow(int days) {
    FILETIME now = LocalNow();
    return FromTicks(ToTicks(now) + static_cast<uint64_t>(days) * kTicksPerDay);
}

std::string FileBytes(const wchar_t* path) {
    std::string bytes;
    FILE* file = _wfopen(path, L"rb");
    if (!file) return bytes;
    for (int c; (c = fgetc(file)) != EOF;)
        bytes.push_back(static_cast<char>(c));
    fclose(file);
    return bytes;
}

class UserPath : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteFileW(g_entryList.path);
        // The engine runs: its ready event exists and it made the refresh event.
        ready = CreateEventW(nullptr, TRUE, FALSE, DZ_ENGINE_READY_EVENT);
        refresh = CreateEventW(nullptr, TRUE, FALSE, DZ_ENGINE_REFRESH_EVENT);
        ASSERT_NE(ready, nullptr);
        ASSERT_NE(refresh, nullptr);
    }

    void TearDown() override {
        if (g_mainWindow && IsWindow(g_mainWindow)) DestroyWindow(g_mainWindow);
        g_mainWindow = nullptr;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        UnregisterClassW(g_textTable.AppName(), GetModuleHandleW(nullptr));
        CloseHandle(ready);
        CloseHandle(refresh);
        DeleteFileW(g_entryList.path);
    }

    // The stored list: a weekly entry and a once entry nine days ahead.
    void WriteTwoEntries() {
        DZList list;
        auto* weekly = new DZItem();
        weekly->startTime = DaysFromNow(1);
        list.Append(weekly);
        auto* later = new DZItem();
        later->kind = Once;
        later->startTime = DaysFromNow(9);
        list.Append(later);
        ASSERT_TRUE(list.Save());
    }

    int PressNew(const EditorScript& script) {
        return RunWithScript(script, [] {
            SendMessageW(SoftkeyBarOf(g_mainWindow), WM_PRESS_SOFTKEY, LeftSoftkey, 0);
            return 0;
        });
    }

    bool TakeRefresh() {
        bool set = WaitForSingleObject(refresh, 0) == WAIT_OBJECT_0;
        ResetEvent(refresh);
        return set;
    }

    HANDLE ready = nullptr;
    HANDLE refresh = nullptr;
};

} // namespace

TEST_F(UserPath, NewThenDoneAddsTheRowSortedAndSelectedSavesAndSignals) {
    WriteTwoEntries();
    ASSERT_TRUE(InitInstance(GetModuleHandleW(nullptr), SW_SHOW));
    ASSERT_EQ(g_scheduleList.GetRowCount(), 2);
    TakeRefresh();

    SYSTEMTIME tomorrow = AsSystemTime(DaysFromNow(1));
    EXPECT_NE(PressNew([&](HWND dialog) {
                  EXPECT_EQ(GetWindow(dialog, GW_OWNER),
                            GetAncestor(g_scheduleList.ListWindow(), GA_ROOT));
                  SelectItem(dialog, IDC_ACTION_LIST, PhoneOn);
                  Click(dialog, IDC_BT_ON_CHECK);
                  SelectKind(dialog, Once);
                  SetPicker(dialog, IDC_DATE_PICKER, tomorrow);
                  SetPicker(dialog, IDC_TIME_PICKER, SystemTimeOf(2000, 1, 1, 6, 30));
                  PressDone(dialog);
              }),
              kLeftOpen);

    ASSERT_EQ(g_scheduleList.GetRowCount(), 3);
    const auto* added =
        static_cast<const DZItem*>(g_scheduleList.GetRowEntry(g_scheduleList.GetSelectedRow()));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->kind, Once);
    EXPECT_EQ(added->action, PhoneOn);
    EXPECT_EQ(added->options, kOptionBluetooth);
    const SYSTEMTIME start = AsSystemTime(added->startTime);
    EXPECT_EQ(start.wDay, tomorrow.wDay);
    EXPECT_EQ(start.wHour, 6);
    EXPECT_EQ(start.wMinute, 30);
    for (int row = 0; row + 1 < 3; ++row)
        EXPECT_LE(g_entryList.Compare(g_scheduleList.GetRowEntry(row),
                                      g_scheduleList.GetRowEntry(row + 1)),
                  0);

    DZList stored;
    ASSERT_TRUE(stored.Load());
    const StorageItem* last = stored.head;
    int count = 1;
    for (; last && last->next; last = last->next)
        ++count;
    EXPECT_EQ(count, 3);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(SavedRecord(*last), SavedRecord(*added)) << "appended at the end of the file";
    EXPECT_TRUE(TakeRefresh());

    // New again, changed and cancelled: no row, no save, no signal.
    const std::string before = FileBytes(g_entryList.path);
    PressNew([](HWND dialog) {
        SelectItem(dialog, IDC_ACTION_LIST, PowerOff);
        PressCancel(dialog);
    });
    EXPECT_EQ(g_scheduleList.GetRowCount(), 3);
    EXPECT_EQ(FileBytes(g_entryList.path), before);
    EXPECT_FALSE(TakeRefresh());
}
