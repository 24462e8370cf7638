#include "ShellTestIds.h"
#include "ShellTestWindows.h"
#include "platform/shell/SmartphoneShell.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cwchar>
#include <string>

// Message boxes of a thread that uses the shell open on the phone screen; the program's own
// dialogs stay where they put themselves.
namespace {

RECT shownAt{};

// Runs inside the modal loop of the box or dialog: notes where it is shown, then closes it.
void CALLBACK NoteAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND shown = ShownDialog();
    GetWindowRect(shown, &shownAt);
    PostMessageW(shown, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

RECT ShowMessageBox(const wchar_t* text) {
    shownAt = RECT{};
    SetTimer(nullptr, 0, 100, NoteAndClose);
    EXPECT_EQ(MessageBoxW(nullptr, text, L"Caption", MB_OK | MB_ICONINFORMATION), IDOK);
    return shownAt;
}

INT_PTR CALLBACK LabelDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

class MessageBoxPlacement : public testing::Test {
  protected:
    void SetUp() override {
        wchar_t folder[MAX_PATH];
        ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, folder, 0x0026, FALSE));
    }
};

TEST_F(MessageBoxPlacement, BoxesOpenOnThePhoneScreen) {
    const RECT screen = PhoneScreenRect();
    const RECT area = PhoneWorkArea();
    const struct {
        const wchar_t* name;
        std::wstring text;
        bool widerThanPhone;
    } cases[] = {
        {L"short", L"Delete the selected entry?", false},
        {L"lines", L"Dozara 1.0\nTurns the phone radio,\nBluetooth and the power", false},
        {L"one long word", std::wstring(120, L'W'), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
        RECT box = ShowMessageBox(c.text.c_str());
        const int width = box.right - box.left;
        ASSERT_GT(width, 0);
        EXPECT_EQ(width > screen.right - screen.left, c.widerThanPhone);
        EXPECT_GE(box.top, screen.top);
        EXPECT_LE(box.bottom, screen.bottom);
        if (c.widerThanPhone) {
            EXPECT_EQ(box.left, screen.left);
        } else {
            EXPECT_GE(box.left, screen.left);
            EXPECT_LE(box.right, screen.right);
            EXPECT_LE(abs((box.left + box.right) - (area.left + area.right)), 1);
            EXPECT_LE(abs((box.top + box.bottom) - (area.top + area.bottom)), 1);
        }
    }
}

// Its unnamed label has the id of a message box's text, yet the dialog is the program's.
TEST_F(MessageBoxPlacement, ProgramDialogsStayWhereTheyAre) {
    shownAt = RECT{};
    SetTimer(nullptr, 0, 100, NoteAndClose);
    ASSERT_EQ(DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEST_LABEL_DIALOG),
                              nullptr, LabelDialogProc, 0),
              IDOK);
    // Centred on the desktop, which is far wider than the phone.
    const int desktopCentre = GetSystemMetrics(SM_CXSCREEN) / 2;
    EXPECT_LE(abs((shownAt.left + shownAt.right) / 2 - desktopCentre), 2);
    EXPECT_GE(shownAt.left, PhoneScreenRect().right);
}

} // namespace
