// The list, its menu and the questions it asks, used with the phone's keys alone; and the list
// as it shows after those keys, pixel for pixel as a full repaint of it shows.
#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

#include "platform/shell/SmartphoneShell.h"
#include "platform/shell/SoftkeyBar.h"
#include "tests/common/PhoneKeys.h"
#include "tests/common/StartTimes.h"
#include "ui/app/AppState.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"
#include "core/text/TextTable.h"
#include "platform/core/ProgramDirectory.h"

namespace {

// Weekly entries one hour apart, so the rows keep the order of the file.
void WriteEntries(int count) {
    DZList list;
    for (int i = 0; i < count; ++i) {
        auto* entry = new DZItem();
        entry->kind = Weekly;
        entry->action = static_cast<ActionCode>(i % 3);
        entry->startTime = LocalTimeFromNow(i / 24.0);
        list.Append(entry);
    }
    ASSERT_TRUE(list.Save());
}

int StoredEntries() {
    DZList list;
    list.Load();
    int n = 0;
    for (const StorageItem* entry = list.head; entry; entry = entry->next)
        ++n;
    return n;
}

enum class Screen { List, Menu, Editor, MessageBox, Help, ComingUp };

// The dialogs are told by their class, the full-screen pages by the control that fills them.
Screen ScreenOf(const PhoneKeys& keys) {
    if (SoftkeyMenuOpen(g_menuBar)) return Screen::Menu;
    HWND active = keys.Active();
    wchar_t className[16] = L"";
    GetClassNameW(active, className, 16);
    if (wcscmp(className, L"#32770") != 0) return Screen::List;
    if (FindWindowExW(active, nullptr, DISPLAYCLASS, nullptr)) return Screen::Help;
    // Coming up (the only row list these keys reach; Last runs draws in the same control).
    if (FindWindowExW(active, nullptr, L"DzRowList", nullptr)) return Screen::ComingUp;
    return GetDlgItem(active, 0xFFFF) ? Screen::MessageBox : Screen::Editor;
}

// The installed program started again from the same folder: it brings the running one forward
// and ends.
void StartAgain() {
    wchar_t program[MAX_PATH + 16];
    ProgramDirectory(program);
    wcscat(program, L"Dozara.exe");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(program, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// Back out of whatever is open, then close the program.
void CloseProgram(PhoneKeys& keys) {
    for (int tries = 0; tries < 3 && ScreenOf(keys) != Screen::List; ++tries)
        keys.Press("Escape");
    PostMessageW(g_mainWindow, WM_CLOSE, 0, 0);
}

TEST(ListKeys, TheListTheMenuAndQuestionsAnswerThePhoneKeys) {
    const struct {
        const char* name;
        const char* keys;
        Screen screen; // what shows after the keys
        int selected;
        int entries;                      // in the list and in the file
        int stored = 3;                   // in the file at the start
        const char* afterSecondStart = 0; // the program is started again, then these keys
    } cases[] = {
        {"Up and Down select", "Down Down Up", Screen::List, 1, 3},
        {"the action key opens the editor", "Down Return", Screen::Editor, 1, 3},
        {"F2 opens the menu", "F2", Screen::Menu, 0, 3},
        {"Back closes the menu", "F2 Escape", Screen::List, 0, 3},
        {"Delete asks", "F2 Down Return", Screen::MessageBox, 0, 3},
        {"Yes deletes", "Down F2 Down Return Return", Screen::List, 1, 2},
        {"Right moves to No", "F2 Down Return Right Return", Screen::List, 0, 3},
        {"Down moves to No", "F2 Down Return Down Return", Screen::List, 0, 3},
        {"Left back on Yes", "F2 Down Return Right Left Return", Screen::List, 0, 2},
        {"Up back on Yes", "F2 Down Return Down Up Return", Screen::List, 0, 2},
        {"Back answers No", "F2 Down Return Escape", Screen::List, 0, 3},
        {"About past the separator", "F2 Down Down Down Down Down Down Return", Screen::MessageBox,
         0, 3},
        {"About closed by the action key", "F2 Down Down Down Down Down Down Return Return",
         Screen::List, 0, 3},
        // Without a row Delete, Disable and Run now are greyed: the highlight passes over them.
        {"Down skips the greyed items", "F2 Down Return", Screen::ComingUp, -1, 0, 0},
        {"Down wraps past the greyed items", "F2 Up Down Down Down Return", Screen::MessageBox, -1,
         0, 0},
        {"Up skips them too", "F2 Up Up Up Up Up Up Up Return", Screen::Help, -1, 0, 0},
        // Run now on the power-off entry: the action key pressed again answers No.
        {"Run now's question defaults to No", "Down Down F2 Down Down Down Return Return",
         Screen::List, 2, 3},
        {"Help from the menu's end", "F2 Up Up Return", Screen::Help, 0, 3},
        {"the action key closes Help", "F2 Up Up Return Return", Screen::List, 0, 3},
        {"Back closes Help", "F2 Up Up Return Escape", Screen::List, 0, 3},
        // A second start brings the program forward as it stands: what is open keeps the keys.
        {"a second start over About", "F2 Down Down Down Down Down Down Return", Screen::List, 0, 3,
         3, "Return"},
        {"a second start over the editor", "Down Return", Screen::List, 1, 3, 3, "F2"},
        {"a second start over a question", "Down F2 Down Return", Screen::List, 1, 2, 3, "Return"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PhoneProgram program;
        WriteEntries(c.stored);
        program.Run([&c](PhoneKeys& keys) {
            keys.Press(c.keys);
            if (c.afterSecondStart) {
                const HWND open = keys.Active();
                StartAgain();
                keys.WaitIdle();
                EXPECT_EQ(keys.Active(), open) << c.name;
                EXPECT_EQ(GetForegroundWindow(), open) << c.name;
                keys.Press(c.afterSecondStart);
            }
            EXPECT_EQ(ScreenOf(keys), c.screen);
            EXPECT_EQ(g_scheduleList.GetSelectedRow(), c.selected);
            EXPECT_EQ(g_scheduleList.GetRowCount(), c.entries);
            CloseProgram(keys);
        });
        EXPECT_EQ(StoredEntries(), c.entries);
    }
}

// What the list shows now, and what it shows once painted afresh.
std::vector<DWORD> ShownPixels(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HDC shown = GetDC(window);
    BitBlt(memory, 0, 0, client.right, client.bottom, shown, 0, 0, SRCCOPY);
    ReleaseDC(window, shown);
    GdiFlush();
    const auto* first = static_cast<const DWORD*>(bits);
    std::vector<DWORD> pixels(first, first + client.right * client.bottom);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

bool HasStyle(HWND window, LONG_PTR style) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & style) != 0;
}

void ExpectShownAsRepainted(PhoneKeys& keys, const char* when) {
    HWND list = g_scheduleList.ListWindow();
    const std::vector<DWORD> shown = ShownPixels(list);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    keys.WaitIdle();
    EXPECT_TRUE(shown == ShownPixels(list)) << when;
    RECT client;
    GetClientRect(list, &client);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), client.right) << when;
    EXPECT_FALSE(HasStyle(list, WS_HSCROLL)) << when;
}

TEST(ListKeys, TwelveEntriesAndDeletesDownToNoScrollBarShowAsARepaintShows) {
    PhoneProgram program;
    WriteEntries(12);
    program.Run([](PhoneKeys& keys) {
        HWND list = g_scheduleList.ListWindow();
        EXPECT_TRUE(HasStyle(list, WS_VSCROLL));
        ExpectShownAsRepainted(keys, "at start with 12 entries");
        // Down to the last row, which scrolls the list; then delete from the bottom.
        keys.Press("Down Down Down Down Down Down Down Down Down Down Down");
        EXPECT_EQ(g_scheduleList.GetSelectedRow(), 11);
        // Disable a row up from there: the rows in view stay where they were.
        keys.Press("Up Up Up Up Up");
        const LRESULT top = SendMessageW(list, LVM_GETTOPINDEX, 0, 0);
        ASSERT_GT(top, 0);
        keys.Press("F2 Down Down Return");
        EXPECT_EQ(g_scheduleList.GetRowEntry(6)->active, 0);
        EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), top);
        ExpectShownAsRepainted(keys, "after Disable");
        keys.Press("Down Down Down Down Down");
        while (HasStyle(list, WS_VSCROLL) && g_scheduleList.GetRowCount() > 0) {
            keys.Press("F2 Down Return Return");
            ExpectShownAsRepainted(keys, "after a delete");
        }
        RECT window;
        GetWindowRect(list, &window);
        EXPECT_EQ(g_scheduleList.GetRowCount(),
                  (window.bottom - window.top) / g_scheduleList.RowHeight());
        CloseProgram(keys);
    });
}

// The pixels that differ from the background (the top left corner's colour): text, smoothed.
int InkPixels(const std::vector<DWORD>& pixels) {
    int ink = 0;
    for (DWORD p : pixels)
        ink += p != pixels.front();
    return ink;
}

// The empty list tells how to make the first entry; the first entry takes its place whole, and
// Back leaves for the home screen with the program still running.
TEST(ListKeys, AnEmptyListSaysHowToAddTheFirstEntryAndBackLeavesIt) {
    PhoneProgram program;
    program.Run([](PhoneKeys& keys) {
        EXPECT_STREQ(Text(L"DLG_EMPTY_LIST"),
                     L"No entries yet. Press New (the left softkey) to add the first one.");
        HWND list = g_scheduleList.ListWindow();
        keys.WaitIdle();
        EXPECT_GT(InkPixels(ShownPixels(list)), 500) << "the hint is drawn";
        keys.Press("F1 F1"); // New, Done
        ASSERT_EQ(g_scheduleList.GetRowCount(), 1);
        ExpectShownAsRepainted(keys, "after the first entry");
        keys.Press("Escape");
        EXPECT_TRUE(IsIconic(g_mainWindow));
        EXPECT_TRUE(IsWindow(g_mainWindow));
        CloseProgram(keys);
    });
    EXPECT_NE(program.StorageBytes(), "");
}

SCROLLINFO ScrollOf(HWND window) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window, SB_VERT, &info);
    return info;
}

// The shipped help page read with the phone's keys: Right pages down a screen at a time (less
// the line kept in view) to the end, Left pages back, Up and Down step a line.
TEST(ListKeys, HelpPagesWithLeftAndRightAndStepsWithUpAndDown) {
    PhoneProgram program;
    program.Run([](PhoneKeys& keys) {
        keys.Press("F2 Up Up Return");
        ASSERT_EQ(keys.FocusClass(), DISPLAYCLASS);
        const HWND viewer = keys.Focus();
        const SCROLLINFO top = ScrollOf(viewer);
        const int lowest = top.nMax + 1 - static_cast<int>(top.nPage);
        const int step = static_cast<int>(top.nPage) - 16;
        ASSERT_GT(lowest, 2 * step) << "the page is longer than two screens";
        keys.Press("Down");
        EXPECT_EQ(ScrollOf(viewer).nPos, 16);
        keys.Press("Up Right");
        EXPECT_EQ(ScrollOf(viewer).nPos, step);
        int presses = 1;
        while (ScrollOf(viewer).nPos < lowest && presses < 100) {
            keys.Press("Right");
            ++presses;
        }
        EXPECT_EQ(presses, (lowest + step - 1) / step);
        EXPECT_EQ(ScrollOf(viewer).nPos, lowest);
        keys.Press("Left");
        EXPECT_EQ(ScrollOf(viewer).nPos, lowest - step);
        keys.Press("Return");
        EXPECT_EQ(ScreenOf(keys), Screen::List);
        CloseProgram(keys);
    });
}

} // namespace
