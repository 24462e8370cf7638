// The coming-up screen reached, scrolled and closed with the phone's keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/common/PhoneKeys.h"
#include "tests/upcoming/StorageOf.h"
#include "ui/app/AppState.h"
#include "ui/resources/resource.h"

namespace {

TEST(ComingUpKeys, TheScreenScrollsWithTheArrowsAndEachClosingKeyClosesIt) {
    PhoneProgram program(StorageOf({{Weekly}, {Once, PhoneOff, 0, -1}}));
    program.Run([](PhoneKeys& keys) {
        for (const char* close : {"Return", "Escape", "F1"}) {
            SCOPED_TRACE(close);
            // The menu command, as the popup's item sends it.
            PostMessageW(g_mainWindow, WM_COMMAND, IDM_COMING_UP, 0);
            keys.WaitIdle();
            HWND screen = FindWindowW(nullptr, L"Coming up");
            ASSERT_NE(screen, nullptr);
            // The scroll bar tells that rows follow below the screen, and where they lie.
            const HWND rows = FindWindowExW(screen, nullptr, L"DzComingUpList", nullptr);
            SCROLLINFO bar{sizeof bar, SIF_ALL};
            ASSERT_TRUE(GetScrollInfo(rows, SB_VERT, &bar));
            EXPECT_EQ(bar.nMax, 9); // ten firings
            ASSERT_LT(bar.nPage, 10u);
            EXPECT_EQ(bar.nPos, 0);
            keys.Press("Down Down Down Up");
            EXPECT_TRUE(IsWindowVisible(screen));
            GetScrollInfo(rows, SB_VERT, &bar);
            EXPECT_EQ(bar.nPos, std::min(3, 10 - static_cast<int>(bar.nPage)) - 1);
            keys.Press(close);
            EXPECT_FALSE(IsWindow(screen));
        }
    });
    EXPECT_FALSE(program.TakeRefresh());
}

} // namespace
