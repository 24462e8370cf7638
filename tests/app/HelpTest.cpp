// Help and About, opened from the main window's menu.
#include <gtest/gtest.h>

#include "platform/shell/SmartphoneShell.h"
#include "tests/app/AppHarness.h"
#include "ui/app/AppState.h"
#include "ui/app/Help.h"
#include "ui/resources/resource.h"
#include "platform/core/ProgramDirectory.h"

namespace {

class HelpTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(Start());
    }
    // What the open help dialog showed, read when it became active.
    struct HelpSeen {
        std::wstring title;
        HWND viewer = nullptr;
        bool viewerFillsDialog = false;
        bool ownerDisabled = false;
    };
    std::vector<HelpSeen> helps;

    // Opens help; once it is up, closes it with the given key or command.
    INT_PTR OpenAndClose(UINT closeKey, UINT closeCommand) {
        answerer.onDialog = [this, closeKey, closeCommand](HWND dialog) {
            HelpSeen seen;
            wchar_t title[128] = L"";
            GetWindowTextW(dialog, title, 128);
            seen.title = title;
            seen.viewer = FindWindowExW(dialog, nullptr, DISPLAYCLASS, nullptr);
            RECT client, viewer;
            GetClientRect(dialog, &client);
            if (seen.viewer) {
                GetWindowRect(seen.viewer, &viewer);
                MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&viewer), 2);
                seen.viewerFillsDialog = EqualRect(&client, &viewer);
            }
            seen.ownerDisabled = !IsWindowEnabled(g_mainWindow);
            helps.push_back(seen);
            if (closeKey)
                PostMessageW(GetFocus(), WM_KEYDOWN, closeKey, 1);
            else
                PostMessageW(dialog, WM_COMMAND, closeCommand, 0);
        };
        return ShowHelp(g_mainWindow);
    }
};

TEST_F(HelpTest, OpensTwiceAndClosesBySoftkeyAndByCancel) {
    wchar_t directory[MAX_PATH];
    ProgramDirectory(directory);
    const std::wstring url = std::wstring(L"file://") + directory + L"help.html";

    EXPECT_EQ(OpenAndClose(VK_F1, 0), IDOK) << "the left softkey is the Ok item";
    EXPECT_TRUE(IsWindowEnabled(g_mainWindow));
    EXPECT_EQ(OpenAndClose(0, IDCANCEL), IDCANCEL);
    EXPECT_TRUE(IsWindowEnabled(g_mainWindow));

    ASSERT_EQ(helps.size(), 2u);
    for (const HelpSeen& seen : helps) {
        EXPECT_EQ(seen.title, L"T-HELP-HEADER");
        EXPECT_NE(seen.viewer, nullptr);
        EXPECT_TRUE(seen.viewerFillsDialog);
        EXPECT_TRUE(seen.ownerDisabled);
    }
    // Each opening made its own viewer and loaded the page again.
    EXPECT_EQ(answerer.navigations, (std::vector<std::wstring>{url, url}));
    EXPECT_FALSE(IsWindow(helps[0].viewer));
    EXPECT_FALSE(TakeRefresh());
}

// The page of the user's language when there is one beside help.html, as the texts are chosen
// (the suite also runs under a German locale).
TEST_F(HelpTest, ThePageFollowsTheUsersLanguage) {
    const bool german = PRIMARYLANGID(GetUserDefaultLangID()) == LANG_GERMAN;
    const std::wstring germanPage = ProgramFile(L"help.German.html");
    const struct {
        bool germanPageThere;
        const wchar_t* shown;
    } cases[] = {{false, L"help.html"}, {true, german ? L"help.German.html" : L"help.html"}};
    for (const auto& c : cases) {
        if (c.germanPageThere) {
            FILE* file = _wfopen(germanPage.c_str(), L"wb");
            ASSERT_NE(file, nullptr);
            fclose(file);
        }
        answerer.navigations.clear();
        EXPECT_EQ(OpenAndClose(0, IDOK), IDOK);
        ASSERT_EQ(answerer.navigations.size(), 1u);
        EXPECT_EQ(answerer.navigations[0], L"file://" + ProgramFile(c.shown));
    }
    RemoveProgramFile(L"help.German.html");
}

TEST_F(HelpTest, HelpCommandFromTheMenuShowsThePage) {
    answerer.onDialog = [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); };
    SendMessageW(g_mainWindow, WM_COMMAND, IDM_HELP, 0);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_FALSE(answerer.seen[0].isMessageBox);
    EXPECT_EQ(answerer.seen[0].owner, g_mainWindow);
    EXPECT_EQ(answerer.navigations.size(), 1u);
}

TEST_F(HelpTest, AboutIsAnInformationBoxWithOneButton) {
    SendMessageW(g_mainWindow, WM_COMMAND, IDM_ABOUT, 0);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_TRUE(answerer.seen[0].isMessageBox);
    EXPECT_EQ(answerer.seen[0].text, L"T-ABOUT");
    EXPECT_EQ(answerer.seen[0].caption, TEST_APP_NAME);
    EXPECT_EQ(answerer.seen[0].owner, g_mainWindow);
    EXPECT_EQ(answerer.seen[0].buttons, std::vector<int>{IDOK});
}

} // namespace
