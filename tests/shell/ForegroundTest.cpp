#include "ShellTestWindows.h"
#include "platform/shell/SmartphoneShell.h"
#include <gtest/gtest.h>

// The phone's form of bringing a window forward (the handle with its lowest bit set) activates
// the window itself: the window system must not keep the marked handle as the active window,
// which would answer no message.
TEST(PhoneForeground, PlainAndMarkedHandlesActivateTheWindowItself) {
    for (ULONG_PTR mark : {ULONG_PTR(0), ULONG_PTR(1)}) {
        SCOPED_TRACE(mark);
        HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     100, 100, nullptr, nullptr, nullptr, nullptr);
        HWND window = CreateWindowExW(0, L"STATIC", L"window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                      0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(other && window);
        SetForegroundWindow(other);
        PumpMessages();
        ASSERT_TRUE(PhoneSetForegroundWindow(
            reinterpret_cast<HWND>(reinterpret_cast<ULONG_PTR>(window) | mark)));
        PumpMessages();
        EXPECT_EQ(GetForegroundWindow(), window);
        EXPECT_EQ(GetActiveWindow(), window);
        DestroyWindow(window);
        DestroyWindow(other);
    }
}
