// Start-up: the text file, the engine, and the list the program opens with.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "platform/shell/SmartphoneShell.h"
#include "tests/app/AppHarness.h"
#include "ui/app/AppState.h"
#include "ui/app/Main.h"
#include "contract/EngineContract.h"
#include "ui/resources/resource.h"
#include "core/text/TextTable.h"

namespace {

// Start-up that ends before any window: the program's own files, no engine made by the test.
class StartupFailureTest : public ::testing::Test {
  protected:
    void TearDown() override {
        PumpPending();
        UnregisterClassW(TEST_APP_NAME, GetModuleHandleW(nullptr));
        RemoveProgramFile(L"local.dat");
    }
    DialogAnswerer answerer;
};

bool EngineInstalled() {
    wchar_t path[MAX_PATH] = L"";
    SHGetSpecialFolderPath(nullptr, path, CSIDL_PROGRAM_FILES, FALSE);
    const std::wstring engine = std::wstring(path) + DZ_ENGINE_RELATIVE_PATH;
    return GetFileAttributesW(engine.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST_F(StartupFailureTest, MissingTextFileShowsTheFixedMessageAndLeavesTheEngineAlone) {
    RemoveProgramFile(L"local.dat");
    const DWORD start = GetTickCount();
    EXPECT_FALSE(InitInstance(GetModuleHandleW(nullptr), SW_SHOW));
    EXPECT_LT(GetTickCount() - start, 5000u) << "nothing was waited for";

    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_TRUE(answerer.seen[0].isMessageBox);
    EXPECT_EQ(answerer.seen[0].text, L"Can't find resource file!\nlocal.dat");
    EXPECT_EQ(answerer.seen[0].caption, L"Info");
    EXPECT_EQ(answerer.seen[0].owner, nullptr);
    EXPECT_EQ(answerer.seen[0].buttons, std::vector<int>{IDOK});
    // On the phone screen, though nothing of the shell was called before it.
    RECT onPhone;
    const RECT screen = PhoneScreenRect();
    EXPECT_TRUE(IntersectRect(&onPhone, &answerer.seen[0].bounds, &screen) &&
                EqualRect(&onPhone, &answerer.seen[0].bounds));
    // The engine's ready event was neither made nor left behind.
    HANDLE ready = OpenNamedEvent(DZ_ENGINE_READY_EVENT);
    EXPECT_EQ(ready, nullptr);
    if (ready) CloseHandle(ready);
    EXPECT_EQ(FindWindowW(TEST_APP_NAME, nullptr), nullptr);
}

TEST_F(StartupFailureTest, EngineNeitherRunningNorInstalledEndsWithTheNoEngineMessage) {
    if (EngineInstalled())
        GTEST_SKIP() << "an engine is installed in this Wine prefix; it would be launched";
    WriteTestTexts();
    const DWORD start = GetTickCount();
    EXPECT_FALSE(InitInstance(GetModuleHandleW(nullptr), SW_SHOW));
    EXPECT_LT(GetTickCount() - start, 8000u) << "a failed launch is not waited for";

    ASSERT_EQ(answerer.seen.size(), 1u) << "only our own message, no second one from the shell";
    EXPECT_EQ(answerer.seen[0].text, L"T-NO-ENGINE");
    EXPECT_EQ(answerer.seen[0].caption, TEST_APP_NAME);
    EXPECT_EQ(answerer.seen[0].owner, nullptr);
    HANDLE ready = OpenNamedEvent(DZ_ENGINE_READY_EVENT);
    EXPECT_EQ(ready, nullptr) << "the ready event made for the launch is closed again";
    if (ready) CloseHandle(ready);
    EXPECT_EQ(FindWindowW(TEST_APP_NAME, nullptr), nullptr);
}

using StartupTest = ProgramTest;

TEST_F(StartupTest, RunningEngineIsNeitherLaunchedNorWaitedFor) {
    // The ready event exists but is not set: any wait on it would last the full ten seconds,
    // and a launch would fail for want of an installed engine.
    const DWORD start = GetTickCount();
    ASSERT_TRUE(Start());
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_TRUE(answerer.seen.empty());
    EXPECT_FALSE(EventIsSet(ready));
    EXPECT_TRUE(IsWindowVisible(g_mainWindow));
    EXPECT_EQ(GetFocus(), ListWindow());
}

TEST_F(StartupTest, MissingStorageGivesAnEmptyListWithTheEntryCommandsGreyed) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(RowCount(), 0);
    EXPECT_EQ(SelectedRow(), -1);
    EXPECT_TRUE(MenuItemGrayed(IDM_DELETE));
    EXPECT_TRUE(MenuItemGrayed(IDM_TOGGLE_ACTIVE));
    EXPECT_FALSE(MenuItemGrayed(IDM_ABOUT));
    // Captions come from the text table, not from the menu resource.
    EXPECT_EQ(MenuCaption(IDM_DELETE), L"T-DELETE");
    EXPECT_EQ(MenuCaption(IDM_TOGGLE_ACTIVE), L"T-DISABLE");
    EXPECT_EQ(MenuCaption(IDM_EXIT), L"T-EXIT");
    EXPECT_FALSE(TakeRefresh()) << "start-up changes nothing";
}

TEST_F(StartupTest, StoredEntriesAreShownSortedWithTheFirstRowSelected) {
    // Deliberately out of order in the file.
    WriteStorage({{Weekly, PowerOff, 1, 3.0},
                  {Once, PhoneOn, 1, 2.0},
                  {Once, PhoneOff, 0, 0.5},
                  {Next24Hours, PhoneOff, 1, 0.25},
                  {Once, PhoneOn, 1, -1.0}});
    ASSERT_TRUE(Start());
    ASSERT_EQ(RowCount(), 5);
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_FALSE(MenuItemGrayed(IDM_DELETE));
    EXPECT_FALSE(MenuItemGrayed(IDM_TOGGLE_ACTIVE));
    for (int row = 0; row + 1 < RowCount(); ++row)
        EXPECT_LE(g_entryList.Compare(RowEntry(row), RowEntry(row + 1)), 0) << "row " << row;
    // Every stored entry has exactly one row.
    std::vector<const StorageItem*> rows;
    for (int row = 0; row < RowCount(); ++row)
        rows.push_back(RowEntry(row));
    for (const StorageItem* entry = g_entryList.head; entry; entry = entry->next)
        EXPECT_EQ(std::count(rows.begin(), rows.end(), entry), 1);
    // The caption follows the selected entry.
    EXPECT_EQ(MenuCaption(IDM_TOGGLE_ACTIVE), RowEntry(0)->active ? L"T-DISABLE" : L"T-ACTIVATE");
}

TEST_F(StartupTest, ExitClosesTheWindowAndFreesTheEntriesWithoutSaving) {
    WriteStorage({{Weekly, PhoneOff, 1, 1.0}, {Weekly, PhoneOn, 1, 1.5}});
    const std::string before = ReadFileBytes(ProgramFile(L"storage.dat"));
    ASSERT_TRUE(Start());
    SendMessageW(g_mainWindow, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_FALSE(IsWindow(g_mainWindow));
    EXPECT_EQ(g_entryList.head, nullptr);
    EXPECT_EQ(ListWindow(), nullptr);
    EXPECT_EQ(ReadFileBytes(ProgramFile(L"storage.dat")), before);
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_FALSE(TakeRefresh());
}

// A "storage.dat" that could not be read whole is told at start-up, with the name of the copy
// kept beside it; the file itself stays as it was until a change is saved.
TEST_F(StartupTest, UnreadEntriesAreToldWithTheCopyKeptAside) {
    WriteStorage(std::vector<EntrySpec>(1001, {Weekly, PhoneOff, 1, 1.0}));
    const std::string overLimit = ReadFileBytes(ProgramFile(L"storage.dat"));
    WriteStorage({{Weekly, PhoneOff, 1, 1.0}, {Weekly, PhoneOn, 1, 2.0}});
    const std::string whole = ReadFileBytes(ProgramFile(L"storage.dat"));
    const struct {
        const char* name;
        std::string bytes;
        const wchar_t* told; // the message's start; null: nothing told
        int rows;
    } files[] = {
        {"whole", whole, nullptr, 2},
        {"not a schedule file", "not a schedule file", L"T-REFUSED\nT-KEPT\nstorage.dat.", 0},
        {"a record cut short", whole + "\x01\x00", L"T-DAMAGED\nT-KEPT\nstorage.dat.", 2},
        // Past the entries the program takes (a hostile file of a million froze it for 51 s).
        {"1,001 entries", overLimit, L"T-TOO-MANY 1000\nT-KEPT\nstorage.dat.", 1000},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        FILE* file = _wfopen(ProgramFile(L"storage.dat").c_str(), L"wb");
        ASSERT_NE(file, nullptr);
        fwrite(f.bytes.data(), 1, f.bytes.size(), file);
        fclose(file);
        const size_t first = answerer.seen.size();
        ASSERT_TRUE(Start());
        EXPECT_EQ(RowCount(), f.rows);
        EXPECT_EQ(ReadFileBytes(ProgramFile(L"storage.dat")), f.bytes);
        ASSERT_EQ(answerer.seen.size(), first + (f.told ? 1 : 0));
        if (f.told) {
            const std::wstring text = answerer.seen[first].text;
            EXPECT_EQ(text.compare(0, wcslen(f.told), f.told), 0);
            const std::wstring kept = ProgramFile(text.substr(text.rfind(L'\n') + 1).c_str());
            EXPECT_EQ(ReadFileBytes(kept), f.bytes);
            DeleteFileW(kept.c_str());
        }
        EndProgram();
    }
}

// Texts longer than the window system takes: the class name is cut to the 255 characters it
// accepts (Wine refuses 256 and corrupts its heap on 300), the title and the message box
// caption keep the whole name, and the program starts (a value of 10 KB is read in pieces of
// at most 1999 characters, of which the first holds the key and the text).
class OverlongTextsTest : public ProgramTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(OverlongTextsTest, StartWithTheClassNameCutAndTheTitleWhole) {
    WriteTestTexts(GetParam());
    ASSERT_TRUE(Start());
    const std::wstring appName = g_textTable.AppName();
    ASSERT_GE(appName.size(), std::min<size_t>(GetParam(), 1989));
    wchar_t className[512] = L"";
    GetClassNameW(g_mainWindow, className, 512);
    EXPECT_EQ(className, appName.substr(0, 255));
    EXPECT_EQ(GetWindowTextLengthW(g_mainWindow), static_cast<int>(appName.size()));
    SendMessageW(g_mainWindow, WM_COMMAND, IDM_ABOUT, 0);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].caption, appName);
}

INSTANTIATE_TEST_SUITE_P(StartupTest, OverlongTextsTest, testing::Values(255, 256, 300, 10240));

// A second start of the program in its folder: the running window comes to the front and the
// second one ends without a word. A start from a folder so long that "storage.dat" would be cut
// is refused with a message. Both run in a child process, as a real second start does.
TEST_F(StartupTest, SecondStartAndTooLongFolderEndAtOnce) {
    ASSERT_TRUE(Start());
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    PumpPending();
    ASSERT_EQ(GetForegroundWindow(), other);
    EXPECT_EQ(StartAsChild(self, L"-"), 0);
    EXPECT_TRUE(PumpUntil([] { return GetForegroundWindow() == g_mainWindow; }));
    DestroyWindow(other);

    // The folder with its final backslash is 249 characters: the program (d.exe) and
    // local.dat fit in 260, storage.dat does not.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"dz-long";
    CreateDirectoryW(folder.c_str(), nullptr);
    while (folder.size() < 248) {
        folder += L"\\" + std::wstring(std::min<size_t>(100, 247 - folder.size()), L'f');
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    ASSERT_EQ(folder.size(), 248u);
    const std::wstring program = folder + L"\\d.exe";
    ASSERT_TRUE(CopyFileW(self, program.c_str(), FALSE));
    ASSERT_TRUE(
        CopyFileW(ProgramFile(L"local.dat").c_str(), (folder + L"\\local.dat").c_str(), FALSE));
    EXPECT_EQ(StartAsChild(program, L"T-PATH-TOO-LONG"), 0);
    EXPECT_EQ(GetFileAttributesW((folder + L"\\storage.d").c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileW(program.c_str());
    DeleteFileW((folder + L"\\local.dat").c_str());
}

} // namespace
