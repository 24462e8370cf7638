#pragma once
// Windows for the shell tests: an owner that records the commands it receives, message
// pumping, and rendering a window into a bitmap to look at its pixels.
#include <windows.h>
#include <vector>

struct CommandRecorder {
    HWND window = nullptr;
    std::vector<UINT> commands;
};

// A top-level window made as the program makes its main window (default position and size,
// no parent) whose WM_CREATE builds a softkey bar from menu; null when that failed.
HWND CreateOwnerWithBar(UINT menu, CommandRecorder& recorder);
HWND BarOf(HWND owner);

// Runs the thread's messages until none are left.
void PumpMessages();
// Posts a key press as the keyboard would deliver it to window.
void PressKey(HWND window, UINT key);
// The thread's shown dialog or message box. It is looked for among the thread's windows: when
// another program is in front (tests run side by side), it is not the active window.
HWND ShownDialog();

// A 32-bit top-down copy of what the window paints (WM_PRINTCLIENT).
struct Rendering {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    int Count(COLORREF colour) const;
};
Rendering Render(HWND window);
