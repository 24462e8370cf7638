// The commands that change the entries, driven as the user's keys and softkeys would: each
// change shows on screen, is saved, and only a save that succeeded tells the engine.
#include <gtest/gtest.h>

#include <memory>

#include "tests/app/AppHarness.h"
#include "tests/common/FileHolder.h"
#include "ui/app/AppState.h"
#include "core/model/EntryEditor.h"
#include "ui/resources/resource.h"

namespace {

// The editor as the test's user: what it does on Done, which end code it gives, which
// parent it was shown over.
struct EditorScript {
    int result = kEditDone;
    ActionCode action = PowerOff;
    double daysFromNow = 5.0;
    std::vector<HWND> parents;
};
EditorScript g_script;

class ScriptedEditor : public EntryEditor {
  public:
    int RunModal(HWND parent, StorageItem* entry) override {
        g_script.parents.push_back(parent);
        if (g_script.result == kEditDone) {
            static_cast<DZItem*>(entry)->action = g_script.action;
            entry->kind = Weekly;
            entry->startTime = LocalTimeFromNow(g_script.daysFromNow);
        }
        return g_script.result;
    }
};

EntryEditor* MakeScriptedEditor(uint16_t, uint32_t, int32_t) {
    return new ScriptedEditor;
}

class CommandsTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        g_script = EditorScript{};
    }
    void StartWith(const std::vector<EntrySpec>& entries) {
        WriteStorage(entries);
        ASSERT_TRUE(Start());
        ASSERT_EQ(RowCount(), static_cast<int>(entries.size()));
    }
    void UseScriptedEditor() { g_entryScreen.actionEditor = MakeScriptedEditor; }
    void Command(UINT command) {
        SendMessageW(g_mainWindow, WM_COMMAND, command, 0);
        PumpPending();
    }
    void PressKey(UINT key) {
        PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        PumpPending();
    }
    std::string StoredBytes() { return ReadFileBytes(ProgramFile(L"storage.dat")); }
};

const std::vector<EntrySpec> kThreeEntries = {
    {Weekly, PhoneOff, 1, 1.0}, {Weekly, PhoneOn, 1, 2.0}, {Weekly, PowerOff, 1, 3.0}};

TEST_F(CommandsTest, DeleteAnsweredNoChangesNothing) {
    StartWith(kThreeEntries);
    const std::string before = StoredBytes();
    answerer.answers = {IDNO};
    Command(IDM_DELETE);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].text, L"T-CONFIRM");
    EXPECT_EQ(answerer.seen[0].caption, TEST_APP_NAME);
    EXPECT_EQ(answerer.seen[0].owner, g_mainWindow) << "owned through the list window";
    EXPECT_EQ(answerer.seen[0].buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(RowCount(), 3);
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(GetFocus(), ListWindow());
    EXPECT_EQ(StoredBytes(), before);
    EXPECT_FALSE(TakeRefresh());
}

TEST_F(CommandsTest, DeleteMovesTheSelectionAsTheRowsCloseUp) {
    StartWith(kThreeEntries);
    struct Step {
        int selectRow;
        int selectedAfter; // -1: none
    };
    // A middle row: the next row moves into its place. The last row: the new last row.
    // The only row: no selection, and both entry commands grey.
    const Step steps[] = {{1, 1}, {1, 0}, {0, -1}};
    int rows = 3;
    for (const Step& step : steps) {
        ASSERT_TRUE(g_scheduleList.SelectRow(step.selectRow, true));
        PumpPending();
        const StorageItem* doomed = RowEntry(step.selectRow);
        const StorageItem* follower =
            step.selectedAfter >= 0
                ? RowEntry(step.selectRow + 1 < rows ? step.selectRow + 1 : step.selectRow - 1)
                : nullptr;
        answerer.answers = {IDYES};
        Command(IDM_DELETE);
        --rows;
        ASSERT_EQ(RowCount(), rows);
        EXPECT_EQ(SelectedRow(), step.selectedAfter);
        if (follower) {
            EXPECT_EQ(RowEntry(SelectedRow()), follower);
        }
        for (int row = 0; row < rows; ++row)
            EXPECT_NE(RowEntry(row), doomed);
        EXPECT_EQ(ReadStorage().size(), static_cast<size_t>(rows));
        EXPECT_TRUE(TakeRefresh()) << "after deleting down to " << rows;
    }
    EXPECT_TRUE(MenuItemGrayed(IDM_DELETE));
    EXPECT_TRUE(MenuItemGrayed(IDM_TOGGLE_ACTIVE));
    EXPECT_EQ(g_entryList.head, nullptr);
    // With no row left the commands do nothing, and ask nothing.
    const size_t boxes = answerer.seen.size();
    Command(IDM_DELETE);
    Command(IDM_TOGGLE_ACTIVE);
    EXPECT_EQ(answerer.seen.size(), boxes);
    EXPECT_FALSE(TakeRefresh());
}

TEST_F(CommandsTest, ToggleFlipsTheEntryAndTheCaption) {
    StartWith({{Weekly, PhoneOff, 1, 1.0}});
    EXPECT_EQ(MenuCaption(IDM_TOGGLE_ACTIVE), L"T-DISABLE");
    Command(IDM_TOGGLE_ACTIVE);
    EXPECT_EQ(RowEntry(0)->active, 0);
    EXPECT_EQ(MenuCaption(IDM_TOGGLE_ACTIVE), L"T-ACTIVATE");
    ASSERT_EQ(ReadStorage().size(), 1u);
    EXPECT_EQ(ReadStorage()[0].active, 0);
    EXPECT_TRUE(TakeRefresh());

    Command(IDM_TOGGLE_ACTIVE);
    EXPECT_EQ(RowEntry(0)->active, 1);
    EXPECT_EQ(MenuCaption(IDM_TOGGLE_ACTIVE), L"T-DISABLE");
    EXPECT_EQ(ReadStorage()[0].active, 1);
    EXPECT_TRUE(TakeRefresh());
}

TEST_F(CommandsTest, FailedSaveKeepsTheChangeOnScreenAndTellsTheUser) {
    StartWith({{Weekly, PhoneOff, 1, 1.0}, {Weekly, PhoneOn, 1, 2.0}});
    const std::string before = StoredBytes();
    // The list now saves into a folder that does not exist.
    wcscpy(g_entryList.path, ProgramFile(L"no-such-folder\\storage.dat").c_str());

    Command(IDM_TOGGLE_ACTIVE);
    EXPECT_EQ(RowEntry(0)->active, 0);
    EXPECT_EQ(MenuCaption(IDM_TOGGLE_ACTIVE), L"T-ACTIVATE");
    EXPECT_FALSE(TakeRefresh());

    answerer.answers = {IDYES};
    Command(IDM_DELETE);
    EXPECT_EQ(RowCount(), 1);
    EXPECT_FALSE(TakeRefresh());
    ASSERT_EQ(answerer.seen.size(), 3u) << "told, asked, told";
    for (int told : {0, 2}) {
        EXPECT_EQ(answerer.seen[told].text, L"T-NOT-SAVED");
        EXPECT_EQ(answerer.seen[told].owner, g_mainWindow);
    }
    EXPECT_EQ(StoredBytes(), before);
    EXPECT_EQ(GetFocus(), ListWindow());
}

// Another program holds "storage.dat", it is read-only, or a folder stands where the save
// writes its copy. A save that cannot be made is told and leaves the file as it was; the
// change stays on screen and goes with the next save.
TEST_F(CommandsTest, SaveOverAFileThatIsHeldOrReadOnly) {
    struct Case {
        const char* name;
        DWORD share;           // a reader holds the file with this sharing...
        bool readOnly;         // ...or the file is read-only...
        const wchar_t* folder; // ...or a folder of this name stands beside it
        const wchar_t* told;   // null: saved
    };
    const Case cases[] = {
        {"a reader sharing read and write", FILE_SHARE_READ | FILE_SHARE_WRITE, false, nullptr,
         nullptr},
        {"a reader sharing read only", FILE_SHARE_READ, false, nullptr, L"T-NOT-SAVED"},
        {"a read-only file", 0, true, nullptr, L"T-NOT-SAVED"},
        {"a folder named as the save's copy", 0, false, L"storage.dat.new",
         L"T-BLOCKED\n\nstorage.dat.new"},
    };
    StartWith(kThreeEntries);
    const std::wstring path = ProgramFile(L"storage.dat");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = StoredBytes();
        answerer.seen.clear();
        const bool saved = c.told == nullptr;
        {
            std::unique_ptr<FileHolder> reader;
            if (c.readOnly)
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
            else if (c.folder)
                CreateDirectoryW(ProgramFile(c.folder).c_str(), nullptr);
            else
                reader = std::make_unique<FileHolder>(path, c.share);
            Command(IDM_TOGGLE_ACTIVE);
        }
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (c.folder) RemoveDirectoryW(ProgramFile(c.folder).c_str());
        EXPECT_EQ(TakeRefresh(), saved);
        ASSERT_EQ(answerer.seen.size(), saved ? 0u : 1u);
        if (!saved) {
            EXPECT_EQ(answerer.seen[0].text, c.told);
        }
        EXPECT_EQ(StoredBytes() != file, saved);
        if (!saved) {
            // The change stays on screen, and the next save takes it along.
            answerer.answers = {IDYES};
            Command(IDM_DELETE);
            EXPECT_TRUE(TakeRefresh());
            EXPECT_NE(StoredBytes(), file);
            EXPECT_EQ(ReadStorage().size(), static_cast<size_t>(RowCount()));
        }
    }
}

// Exit keeps a change that could not be saved: it saves it when the reader has let go, else
// asks; Yes tries again, No ends without it. What a restart finds is the file's bytes.
TEST_F(CommandsTest, ExitAfterAFailedSaveTriesAgainThenAsks) {
    const struct {
        const char* name;
        bool letGoBeforeExit;
        std::vector<int> answers; // to the question at Exit
        bool kept;                // the change is in the file afterwards
    } cases[] = {
        {"the reader let go: saved at Exit", true, {}, true},
        {"still held: Exit anyway", false, {IDNO}, false},
        {"still held: Try again, then Exit anyway", false, {IDYES, IDNO}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartWith({{Weekly, PhoneOff, 1, 1.0}});
        const std::string before = StoredBytes();
        const size_t first = answerer.seen.size();
        {
            FileHolder reader(ProgramFile(L"storage.dat"), FILE_SHARE_READ);
            ASSERT_TRUE(reader.Held());
            Command(IDM_TOGGLE_ACTIVE);
            ASSERT_EQ(answerer.seen.size(), first + 1);
            EXPECT_EQ(answerer.seen[first].text, L"T-NOT-SAVED");
            if (c.letGoBeforeExit) reader.Release();
            answerer.answers = c.answers;
            Command(IDM_EXIT);
        }
        EXPECT_FALSE(IsWindow(g_mainWindow));
        ASSERT_EQ(answerer.seen.size(), first + 1 + c.answers.size());
        for (size_t i = first + 1; i < answerer.seen.size(); ++i) {
            EXPECT_EQ(answerer.seen[i].text, L"T-EXIT-NOT-SAVED");
            EXPECT_EQ(answerer.seen[i].buttons, (std::vector<int>{IDYES, IDNO}));
        }
        EXPECT_EQ(StoredBytes() == before, !c.kept);
        ASSERT_EQ(ReadStorage().size(), 1u);
        EXPECT_EQ(ReadStorage()[0].active, c.kept ? 0 : 1);
        EXPECT_EQ(TakeRefresh(), c.kept);
        EndProgram();
    }
}

// A file that exists but cannot be read at start-up is never replaced: the list starts empty,
// a new entry cannot be saved and is told, and once the file can be read its entries come back
// and are saved together with the new one.
TEST_F(CommandsTest, FileHeldWithoutSharingAtStartIsReadAgainNotReplaced) {
    WriteStorage({{Weekly, PhoneOff, 1, 1.0},
                  {Weekly, PhoneOn, 1, 2.0},
                  {Weekly, PowerOff, 1, 3.0},
                  {Once, PhoneOn, 1, 4.0},
                  {Once, PhoneOff, 1, 5.0}});
    const std::string before = StoredBytes();
    UseScriptedEditor();
    {
        FileHolder holder(ProgramFile(L"storage.dat"), 0);
        ASSERT_TRUE(holder.Held());
        ASSERT_TRUE(Start());
        EXPECT_EQ(RowCount(), 0);
        Command(IDM_NEW);
        EXPECT_EQ(RowCount(), 1);
        ASSERT_EQ(answerer.seen.size(), 1u);
        EXPECT_EQ(answerer.seen[0].text, L"T-NOT-SAVED");
        EXPECT_FALSE(TakeRefresh());
    }
    EXPECT_EQ(StoredBytes(), before);
    ASSERT_TRUE(PumpUntil([] { return RowCount() == 6; }, 10000));
    EXPECT_TRUE(TakeRefresh());
    const auto stored = ReadStorage();
    ASSERT_EQ(stored.size(), 6u);
    EXPECT_EQ(stored[5].action, PowerOff) << "the new entry follows the file's own";
}

TEST_F(CommandsTest, NewFromTheLeftSoftkeyAddsSelectsSavesAndSignals) {
    StartWith({{Weekly, PhoneOff, 1, 1.0}, {Weekly, PhoneOn, 1, 9.0}});
    UseScriptedEditor();
    g_script.daysFromNow = 4.0;
    PressKey(VK_F1);
    ASSERT_TRUE(PumpUntil([] { return RowCount() == 3; }));
    ASSERT_EQ(g_script.parents.size(), 1u);
    EXPECT_EQ(g_script.parents[0], ListWindow());
    const auto* added = static_cast<const DZItem*>(RowEntry(SelectedRow()));
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->action, PowerOff);
    for (int row = 0; row + 1 < RowCount(); ++row)
        EXPECT_LE(g_entryList.Compare(RowEntry(row), RowEntry(row + 1)), 0);
    const auto stored = ReadStorage();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[2].action, PowerOff) << "appended at the end of the file";
    EXPECT_TRUE(TakeRefresh());
}

TEST_F(CommandsTest, CancelledOrMissingEditorChangesNothing) {
    StartWith({{Weekly, PhoneOff, 1, 1.0}});
    const std::string before = StoredBytes();
    // No editor installed: New and Edit end as cancelled.
    g_entryScreen.storageEditor = g_entryScreen.actionEditor = nullptr;
    Command(IDM_NEW);
    Command(IDM_EDIT);
    UseScriptedEditor();
    g_script.result = kEditCanceled;
    Command(IDM_NEW);
    PressKey(VK_RETURN); // activating the row edits it
    EXPECT_EQ(g_script.parents.size(), 2u);
    EXPECT_EQ(RowCount(), 1);
    EXPECT_EQ(static_cast<const DZItem*>(RowEntry(0))->action, PhoneOff);
    EXPECT_EQ(StoredBytes(), before);
    EXPECT_FALSE(TakeRefresh());
}

TEST_F(CommandsTest, EditByActivatingTheRowSavesSignalsAndKeepsTheEntrySelected) {
    StartWith(kThreeEntries);
    UseScriptedEditor();
    const StorageItem* edited = RowEntry(0);
    g_script.action = PhoneOn;
    g_script.daysFromNow = 6.0; // moves behind the others
    PressKey(VK_RETURN);
    ASSERT_EQ(g_script.parents.size(), 1u) << "Enter on the list activates the row";
    EXPECT_EQ(RowEntry(SelectedRow()), edited);
    for (int row = 0; row + 1 < RowCount(); ++row)
        EXPECT_LE(g_entryList.Compare(RowEntry(row), RowEntry(row + 1)), 0);
    const auto stored = ReadStorage();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].action, PhoneOn);
    EXPECT_TRUE(TakeRefresh());
}

// Whatever the command, afterwards the rows are the entry list's entries in display order, the
// entry it worked on is selected and in view, and a change that moves no row leaves the rows in
// view where they were.
TEST_F(CommandsTest, RowsFollowTheEntriesAfterEveryCommand) {
    std::vector<EntrySpec> many;
    for (int hour = 0; hour < 20; ++hour)
        many.push_back({Weekly, PhoneOff, 1, 1.0 + hour / 24.0});
    StartWith(many);
    UseScriptedEditor();
    const struct {
        const char* name;
        UINT command;
        bool keepsTop;
    } steps[] = {
        {"Activate/Disable", IDM_TOGGLE_ACTIVE, true},
        {"Edit, the entry moving", IDM_EDIT, false},
        {"Delete: the next row takes its place", IDM_DELETE, true},
        {"New: the new entry", IDM_NEW, false},
    };
    auto topRow = [] {
        return static_cast<int>(SendMessageW(ListWindow(), LVM_GETTOPINDEX, 0, 0));
    };
    const int deep = 15;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        ASSERT_TRUE(g_scheduleList.SelectRow(deep, true));
        PumpPending();
        const int top = topRow();
        ASSERT_GT(top, 0) << "the selected row lies below the first screen";
        const StorageItem* next = RowEntry(deep + 1);
        StorageItem* worked = const_cast<StorageItem*>(RowEntry(deep));
        answerer.answers = {IDYES};
        Command(step.command);

        int entries = 0;
        const StorageItem* last = nullptr;
        for (const StorageItem* entry = g_entryList.head; entry; entry = entry->next, ++entries)
            last = entry;
        ASSERT_EQ(RowCount(), entries);
        for (int row = 0; row < RowCount(); ++row) {
            EXPECT_TRUE(g_entryList.CheckEntry(RowEntry(row)));
            if (row > 0) {
                EXPECT_LE(g_entryList.Compare(RowEntry(row - 1), RowEntry(row)), 0);
            }
        }
        const StorageItem* expected = step.command == IDM_DELETE ? next
                                      : step.command == IDM_NEW  ? last
                                                                 : worked;
        EXPECT_EQ(RowEntry(SelectedRow()), expected);
        const int visible = static_cast<int>(SendMessageW(ListWindow(), LVM_GETCOUNTPERPAGE, 0, 0));
        EXPECT_GE(SelectedRow(), topRow());
        EXPECT_LT(SelectedRow(), topRow() + visible);
        if (step.keepsTop) {
            EXPECT_EQ(topRow(), top);
        }
        EXPECT_TRUE(TakeRefresh());
    }
}

TEST_F(CommandsTest, TheColumnGivesWayToTheScrollBarAndTakesItsPlaceBack) {
    StartWith({{Weekly, PhoneOff, 1, 1.0}});
    RECT client;
    GetClientRect(ListWindow(), &client);
    const int fullWidth = client.right;
    auto columnWidth = [] {
        return static_cast<int>(SendMessageW(ListWindow(), LVM_GETCOLUMNWIDTH, 0, 0));
    };
    EXPECT_EQ(columnWidth(), fullWidth);
    const int fitting = client.bottom / g_scheduleList.RowHeight();
    while (RowCount() <= fitting) {
        StorageItem* entry = g_entryList.DZList::CreateEntry();
        g_entryList.Append(entry);
        ASSERT_TRUE(g_scheduleList.InsertEntryRow(RowCount(), entry, false, true));
    }
    GetClientRect(ListWindow(), &client);
    EXPECT_LT(client.right, fullWidth) << "the rows overflow: a scroll bar appeared";
    EXPECT_EQ(columnWidth(), client.right);
    while (RowCount() > fitting)
        ASSERT_TRUE(g_scheduleList.DeleteRow(RowCount() - 1));
    EXPECT_EQ(columnWidth(), fullWidth);
}

} // namespace
