#pragma once
// Geometry and look shared by the pieces of the phone screen: the status strip at the top,
// the softkey bar at the bottom and the work area between them.
#include <windows.h>

constexpr int kPhoneScreenWidth = 240;
constexpr int kPhoneScreenHeight = 320;
constexpr int kStatusStripHeight = 18;
constexpr int kSoftkeyBarHeight = 26;
constexpr int kDialogHeaderHeight = 22;

constexpr COLORREF kPhoneChromeColor = RGB(24, 44, 84);
constexpr COLORREF kPhoneChromeEdgeColor = RGB(70, 110, 170);
constexpr COLORREF kPhoneChromeTextColor = RGB(255, 255, 255);
constexpr COLORREF kHeaderTextColor = RGB(24, 44, 84);

RECT StatusStripRect();
RECT SoftkeyBarRect();

// The module whose window classes the shell layer registers (the running program).
HINSTANCE ShellModule();

// Whether window belongs to the window class name (compared without case, as the system does).
bool HasWindowClass(HWND window, const wchar_t* name);

// Fills area with a plain colour.
void FillColor(HDC dc, const RECT& area, COLORREF colour);

// A font of the phone's face at a pixel height; the caller deletes it.
HFONT MakeShellFont(int pixelHeight, bool bold, bool italic = false);

// The status strip exists once per process; the first softkey bar or dialog makes it.
void EnsureStatusStrip();

// Message boxes of the calling thread open on the phone screen from now on. The shell's
// entries that a program calls on its window thread (SHGetSpecialFolderPath, SHCreateMenuBar,
// SHInitDialog) call this; cheap when done already.
void PlaceMessageBoxesOnPhone();
