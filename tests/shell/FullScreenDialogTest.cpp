#include "ShellTestIds.h"
#include "ShellTestWindows.h"
#include "platform/shell/SmartphoneShell.h"
#include <gtest/gtest.h>

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

TEST(FullScreenDialogTest, RefusesAMissingDialog) {
    SHINITDLGINFO init{SHIDIM_FLAGS, nullptr, SHIDIF_SIZEDLGFULLSCREEN};
    EXPECT_FALSE(SHInitDialog(&init));
    EXPECT_FALSE(SHInitDialog(nullptr));
}

} // namespace
