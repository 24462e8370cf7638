#include "ShellTestIds.h"
#include "ShellTestWindows.h"
#include "platform/shell/PhoneScreen.h"
#include "platform/shell/PhoneWindow.h"
#include "platform/shell/SmartphoneShell.h"
#include <gtest/gtest.h>
#include <cwchar>

namespace {

struct DialogSeen {
    BOOL initialised = FALSE;
    RECT window{};
    RECT client{};
    HWND bar = nullptr;
};
DialogSeen seen;
UINT keyToPress = 0;

void CALLBACK PressSoftkeyOfDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PressKey(ShownDialog(), keyToPress);
}

// Prepares the dialog as the program's full-screen dialogs do.
INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        SHINITDLGINFO init{SHIDIM_FLAGS, dialog, SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
        seen.initialised = SHInitDialog(&init);
        SHMENUBARINFO bar{};
        bar.cbSize = sizeof(bar);
        bar.hwndParent = dialog;
        bar.dwFlags = SHCMBF_HMENU;
        bar.nToolBarId = IDR_TEST_TWO_KEY_MENU;
        bar.hInstRes = GetModuleHandleW(nullptr);
        if (SHCreateMenuBar(&bar)) seen.bar = bar.hwndMB;
        SetWindowTextW(dialog, L"Header text");
        GetWindowRect(dialog, &seen.window);
        GetClientRect(dialog, &seen.client);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    case WM_DESTROY:
        if (seen.bar) DestroyWindow(seen.bar);
        break;
    }
    return FALSE;
}

INT_PTR RunDialogAndPress(UINT key) {
    seen = DialogSeen{};
    keyToPress = key;
    SetTimer(nullptr, 0, 200, PressSoftkeyOfDialog);
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEST_DIALOG), nullptr,
                           TestDialogProc, 0);
}

TEST(FullScreenDialogTest, CoversTheWorkAreaBelowItsHeaderAndClosesBySoftkey) {
    const struct {
        UINT key;
        INT_PTR endCode;
    } cases[] = {{VK_F1, IDOK}, {VK_F2, IDCANCEL}};
    for (const auto& c : cases) {
        EXPECT_EQ(RunDialogAndPress(c.key), c.endCode);
        EXPECT_TRUE(seen.initialised);
        ASSERT_NE(seen.bar, nullptr);
        RECT area = PhoneWorkArea();
        EXPECT_EQ(seen.window.left, area.left);
        EXPECT_EQ(seen.window.top, area.top);
        EXPECT_EQ(seen.window.right, area.right);
        EXPECT_EQ(seen.window.bottom, area.bottom);
        EXPECT_EQ(seen.client.right, area.right - area.left);
        EXPECT_GT(seen.client.bottom, (area.bottom - area.top) * 3 / 4) << "a slim header";
        EXPECT_LT(seen.client.bottom, area.bottom - area.top) << "room for the title";
        EXPECT_FALSE(IsWindow(seen.bar));
    }
}

// The header strip as the dialog shows it: its pixels read back from the window's frame.
struct HeaderSeen {
    int white = 0;
    int dark = 0; // the title's letters
    int total = 0;
};
HeaderSeen headerSeen;
bool askFirst = false;

HeaderSeen ReadHeader(HWND dialog) {
    RECT bounds;
    GetWindowRect(dialog, &bounds);
    const int width = bounds.right - bounds.left;
    HDC frame = GetWindowDC(dialog);
    HDC memory = CreateCompatibleDC(frame);
    HBITMAP bitmap = CreateCompatibleBitmap(frame, width, kDialogHeaderHeight);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, kDialogHeaderHeight, frame, 0, 0, SRCCOPY);
    HeaderSeen seen;
    for (int y = 0; y < kDialogHeaderHeight - 2; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = GetPixel(memory, x, y);
            seen.white += c == RGB(255, 255, 255);
            seen.dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128;
            ++seen.total;
        }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(dialog, frame);
    return seen;
}

HWND askingDialog = nullptr;

// The message box is the thread's dialog window that the dialog owns.
BOOL CALLBACK AnswerIfOwnedBox(HWND window, LPARAM) {
    wchar_t className[16] = L"";
    GetClassNameW(window, className, ARRAYSIZE(className));
    if (GetWindow(window, GW_OWNER) != askingDialog || wcscmp(className, L"#32770") != 0)
        return TRUE;
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return FALSE;
}

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    EnumThreadWindows(GetCurrentThreadId(), AnswerIfOwnedBox, 0);
}

void CALLBACK AskThenReadHeader(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND dialog = askingDialog = ShownDialog();
    if (askFirst) {
        SetTimer(nullptr, 0, 100, AnswerBox);
        MessageBoxW(dialog, L"A question", L"Caption", MB_OK);
    }
    RedrawWindow(dialog, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    headerSeen = ReadHeader(dialog);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

// The header is painted by the shell's procedure of the dialog, which stays in place whatever
// comes and goes over it (every dialog, a message box too, is watched until it is first
// shown); the shell forgets the dialog with its window.
TEST(FullScreenDialogTest, HeaderIsPaintedAfterAMessageBoxAndForgottenWithTheDialog) {
    for (bool ask : {false, true}) {
        SCOPED_TRACE(ask ? "after a message box" : "alone");
        askFirst = ask;
        headerSeen = HeaderSeen{};
        const size_t servedBefore = ShellWindowCount();
        SetTimer(nullptr, 0, 200, AskThenReadHeader);
        EXPECT_EQ(DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEST_DIALOG),
                                  nullptr, TestDialogProc, 0),
                  IDOK);
        ASSERT_GT(headerSeen.total, 0);
        EXPECT_GT(headerSeen.white, headerSeen.total / 2) << "the strip's white ground";
        EXPECT_GT(headerSeen.dark, 20) << "the title's letters";
        EXPECT_LT(headerSeen.dark, headerSeen.total / 3);
        EXPECT_EQ(ShellWindowCount(), servedBefore);
    }
}

TEST(FullScreenDialogTest, RefusesAMissingDialog) {
    SHINITDLGINFO init{SHIDIM_FLAGS, nullptr, SHIDIF_SIZEDLGFULLSCREEN};
    EXPECT_FALSE(SHInitDialog(&init));
    EXPECT_FALSE(SHInitDialog(nullptr));
}

} // namespace
