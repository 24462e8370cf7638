// The coming-up screen reached, scrolled and closed with the phone's keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "contract/EngineContract.h"
#include "tests/common/Canvas.h"
#include "tests/common/FileBytes.h"
#include "tests/common/PhoneKeys.h"
#include "tests/common/StartTimes.h"
#include "tests/upcoming/StorageOf.h"
#include "ui/app/AppState.h"
#include "core/model/RunHistory.h"
#include "ui/resources/resource.h"
#include "platform/core/ProgramDirectory.h"

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
            const HWND rows = FindWindowExW(screen, nullptr, L"DzRowList", nullptr);
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

// Last runs from the menu: the history beside the program, newest first; the failed run's
// outcome is written in red, and every closing key closes the screen.
TEST(LastRunsKeys, TheMenuOpensTheRunsAndEachClosingKeyClosesIt) {
    wchar_t folder[MAX_PATH];
    ProgramDirectory(folder);
    const std::wstring history = std::wstring(folder) + DZ_HISTORY_FILE;
    std::string bytes(kHistoryHeaderSize + 2 * kHistorySlotSize, '\0');
    auto* at = reinterpret_cast<unsigned char*>(&bytes[0]);
    EncodeHistoryHeader(at);
    for (uint32_t sequence = 1; sequence <= 2; ++sequence) {
        RunRecord run;
        run.sequence = sequence;
        run.instant = LocalTimeFromNow(-0.5 / sequence);
        run.action = sequence == 1 ? PhoneOn : PhoneOff;
        run.finished = true;
        run.states[StepBluetooth] = run.states[StepTelephony] = StepMade;
        run.states[StepFindLine] = sequence == 1 ? StepFailed : StepMade;
        EncodeRunRecord(run, at + HistorySlotOffset(sequence));
    }
    ASSERT_TRUE(WriteFileBytes(history, bytes));
    PhoneProgram program(StorageOf({{Weekly}}));
    program.Run([](PhoneKeys& keys) {
        for (const char* close : {"Return", "Escape", "F1"}) {
            SCOPED_TRACE(close);
            keys.Press("F2 Down Down Down Down Down Return"); // past the separator
            const HWND screen = FindWindowW(nullptr, L"Last runs");
            ASSERT_NE(screen, nullptr);
            ASSERT_EQ(g_runHistory.size(), 2u);
            EXPECT_EQ(g_runHistory[0].action, PhoneOff); // newest first
            const HWND list = FindWindowExW(screen, nullptr, L"DzRowList", nullptr);
            ASSERT_NE(list, nullptr);
            RECT client;
            GetClientRect(list, &client);
            Canvas canvas(client.right, client.bottom);
            SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
            GdiFlush();
            int red = 0;
            for (int y = 0; y < canvas.height; ++y)
                for (int x = 0; x < canvas.width; ++x)
                    red += canvas.At(x, y) == RGB(192, 0, 0);
            EXPECT_GT(red, 20) << "the radio that was not found";
            keys.Press("Down Up");
            keys.Press(close);
            EXPECT_FALSE(IsWindow(screen));
        }
    });
    DeleteFileW(history.c_str());
}

} // namespace
