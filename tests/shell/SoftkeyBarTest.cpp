#include "ShellTestIds.h"
#include "ShellTestWindows.h"
#include "platform/shell/SmartphoneShell.h"
#include <gtest/gtest.h>

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class SoftkeyBarTest : public ::testing::Test {
  protected:
    void TearDown() override {
        if (IsWindow(recorder.window)) DestroyWindow(recorder.window);
        PumpMessages();
    }
    HWND Open(UINT menu) {
        HWND owner = CreateOwnerWithBar(menu, recorder);
        PumpMessages();
        return owner;
    }
    CommandRecorder recorder;
};

TEST_F(SoftkeyBarTest, OwnerCoversTheWorkAreaAndTheBarTheRowBelowIt) {
    HWND owner = Open(IDR_TEST_MAIN_MENU);
    ASSERT_NE(owner, nullptr);
    HWND bar = BarOf(owner);
    ASSERT_NE(bar, nullptr);
    RECT ownerRect, clientRect, barRect;
    GetWindowRect(owner, &ownerRect);
    GetClientRect(owner, &clientRect);
    GetWindowRect(bar, &barRect);
    RECT area = PhoneWorkArea();
    RECT screen = PhoneScreenRect();
    EXPECT_TRUE(SameRect(ownerRect, area));
    EXPECT_EQ(clientRect.bottom, area.bottom - area.top) << "the desktop frame is gone";
    EXPECT_EQ(barRect.top, area.bottom);
    EXPECT_EQ(barRect.bottom, screen.bottom);
    EXPECT_EQ(screen.right - screen.left, 240);
    EXPECT_EQ(screen.bottom - screen.top, 320);

    HWND strip = FindWindowW(L"DzPhoneStatus", nullptr);
    ASSERT_NE(strip, nullptr) << "the status strip comes with the first bar";
    RECT stripRect;
    GetWindowRect(strip, &stripRect);
    EXPECT_EQ(stripRect.top, screen.top);
    EXPECT_EQ(stripRect.bottom, area.top);
    EXPECT_EQ(stripRect.right - stripRect.left, 240);

    // Moving or maximizing the window does not take it off the phone screen.
    SetWindowPos(owner, nullptr, 300, 300, 500, 500, SWP_NOZORDER);
    ShowWindow(owner, SW_MAXIMIZE);
    GetWindowRect(owner, &ownerRect);
    EXPECT_TRUE(SameRect(ownerRect, area));
}

struct SoftkeyCase {
    const char* name;
    UINT menu;
    UINT key;
    std::vector<UINT> expected;
};

TEST_F(SoftkeyBarTest, KeysPressTheSoftkeysOfTheirMenu) {
    const SoftkeyCase cases[] = {
        {"left softkey of the main menu", IDR_TEST_MAIN_MENU, VK_F1, {IDM_TEST_NEW}},
        {"one-item menu, left", IDR_TEST_ONE_KEY_MENU, VK_F1, {IDOK}},
        {"one-item menu has no right softkey", IDR_TEST_ONE_KEY_MENU, VK_F2, {}},
        {"two plain items, left", IDR_TEST_TWO_KEY_MENU, VK_F1, {IDOK}},
        {"two plain items, right", IDR_TEST_TWO_KEY_MENU, VK_F2, {IDCANCEL}},
    };
    for (const SoftkeyCase& c : cases) {
        HWND owner = Open(c.menu);
        ASSERT_NE(owner, nullptr) << c.name;
        PressKey(owner, c.key);
        PumpMessages();
        EXPECT_EQ(recorder.commands, c.expected) << c.name;
        DestroyWindow(owner);
        recorder.commands.clear();
    }
}

TEST_F(SoftkeyBarTest, TappingTheLeftHalfPressesTheLeftSoftkey) {
    HWND owner = Open(IDR_TEST_TWO_KEY_MENU);
    HWND bar = BarOf(owner);
    SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(230, 10));
    EXPECT_EQ(recorder.commands, (std::vector<UINT>{IDOK, IDCANCEL}));
}

TEST_F(SoftkeyBarTest, KeysReachTheBarWhicheverChildHasTheFocus) {
    HWND owner = Open(IDR_TEST_MAIN_MENU);
    HWND child = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, owner,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SetFocus(child);
    PressKey(child, VK_F1);
    PumpMessages();
    EXPECT_EQ(recorder.commands, std::vector<UINT>{IDM_TEST_NEW});
}

// Chooses the popup item count steps down once the popup menu runs its own loop.
UINT stepsToChoose = 0;
void CALLBACK ChooseFromPopup(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND popup = FindWindowW(L"#32768", nullptr);
    for (UINT i = 0; i < stepsToChoose; ++i)
        PressKey(popup, VK_DOWN);
    PressKey(popup, VK_RETURN);
}

TEST_F(SoftkeyBarTest, RightSoftkeyOpensThePopupAndTheChosenItemSendsItsCommand) {
    HWND owner = Open(IDR_TEST_MAIN_MENU);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(BarOf(owner), SHCMBM_GETMENU, 0, 0));
    ASSERT_NE(menu, nullptr);

    // The menu handed out is the one the popup shows: a renamed item keeps its command.
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_TYPE;
    item.fType = MFT_STRING;
    wchar_t caption[] = L"Switch on";
    item.dwTypeData = caption;
    item.cch = ARRAYSIZE(caption) - 1;
    EXPECT_TRUE(SetMenuItemInfoW(menu, IDM_TEST_TOGGLE, FALSE, &item));
    EXPECT_NE(EnableMenuItem(menu, IDM_TEST_DELETE, MF_BYCOMMAND | MF_GRAYED), -1);
    wchar_t shown[32];
    GetMenuStringW(GetSubMenu(menu, 1), IDM_TEST_TOGGLE, shown, ARRAYSIZE(shown), MF_BYCOMMAND);
    EXPECT_STREQ(shown, L"Switch on");

    // Down passes over the greyed Delete and the separator, wrapping at the end.
    const struct {
        UINT downs;
        UINT command;
    } choices[] = {{1, IDM_TEST_TOGGLE}, {2, IDM_TEST_EXIT}, {3, IDM_TEST_TOGGLE}};
    for (const auto& choice : choices) {
        recorder.commands.clear();
        stepsToChoose = choice.downs;
        SetTimer(nullptr, 0, 200, ChooseFromPopup);
        PressKey(owner, VK_F2);
        PumpMessages();
        EXPECT_EQ(recorder.commands, std::vector<UINT>{choice.command}) << choice.downs;
    }
}

TEST_F(SoftkeyBarTest, CaptionsChangeByCommandIdAndZeroNamesThePopup) {
    HWND owner = Open(IDR_TEST_MAIN_MENU);
    HWND bar = BarOf(owner);
    Rendering before = Render(bar);

    wchar_t longer[] = L"Much longer caption";
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT;
    info.pszText = longer;
    EXPECT_TRUE(SendMessageW(bar, TB_SETBUTTONINFO, IDM_TEST_NEW, reinterpret_cast<LPARAM>(&info)));
    Rendering afterLeft = Render(bar);
    EXPECT_GT(afterLeft.Count(RGB(255, 255, 255)), before.Count(RGB(255, 255, 255)));

    EXPECT_TRUE(SendMessageW(bar, TB_SETBUTTONINFO, 0, reinterpret_cast<LPARAM>(&info)));
    Rendering afterRight = Render(bar);
    EXPECT_GT(afterRight.Count(RGB(255, 255, 255)), afterLeft.Count(RGB(255, 255, 255)));

    EXPECT_FALSE(SendMessageW(bar, TB_SETBUTTONINFO, 4242, reinterpret_cast<LPARAM>(&info)))
        << "no softkey has that command";
}

TEST_F(SoftkeyBarTest, BarGoesWithItsOwnerOrByItself) {
    HWND owner = Open(IDR_TEST_MAIN_MENU);
    HWND bar = BarOf(owner);
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(bar));

    owner = Open(IDR_TEST_MAIN_MENU);
    bar = BarOf(owner);
    EXPECT_TRUE(DestroyWindow(bar));
    PressKey(owner, VK_F1);
    PumpMessages();
    EXPECT_TRUE(recorder.commands.empty()) << "keys of a window without a bar stay its own";
}

TEST_F(SoftkeyBarTest, RefusesWhatItCannotBuild) {
    SHMENUBARINFO info{};
    info.cbSize = sizeof(info);
    info.dwFlags = SHCMBF_HMENU;
    info.nToolBarId = IDR_TEST_MAIN_MENU;
    info.hInstRes = GetModuleHandleW(nullptr);
    EXPECT_FALSE(SHCreateMenuBar(&info)) << "no owner";

    HWND owner = Open(IDR_TEST_ONE_KEY_MENU);
    info.hwndParent = owner;
    info.nToolBarId = 999;
    EXPECT_FALSE(SHCreateMenuBar(&info)) << "no such menu";
    EXPECT_EQ(info.hwndMB, nullptr);
}

} // namespace
