// The list, its menu and the questions it asks, used with the phone's keys alone; and the list
// as it shows after those keys, pixel for pixel as a full repaint of it shows.
#include <gtest/gtest.h>

#include <cwchar>
#include <vector>

#include "platform/shell/SoftkeyBar.h"
#include "tests/common/PhoneKeys.h"
#include "tests/common/StartTimes.h"
#include "ui/app/AppState.h"
#include "ui/model/DZItem.h"
#include "ui/model/DZList.h"

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

enum class Screen { List, Menu, Editor, MessageBox };

// The dialogs are told by their class.
Screen ScreenOf(const PhoneKeys& keys) {
    if (SoftkeyMenuOpen(g_menuBar)) return Screen::Menu;
    HWND active = keys.Active();
    wchar_t className[16] = L"";
    GetClassNameW(active, className, 16);
    if (wcscmp(className, L"#32770") != 0) return Screen::List;
    return GetDlgItem(active, 0xFFFF) ? Screen::MessageBox : Screen::Editor;
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
        int entries; // in the list and in the file
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PhoneProgram program;
        WriteEntries(3);
        program.Run([&c](PhoneKeys& keys) {
            keys.Press(c.keys);
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

} // namespace
