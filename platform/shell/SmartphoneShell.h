#pragma once
// What the phone's shell and system libraries give a program and desktop Win32 lacks, with
// the phone's names and contracts: the softkey menu bar, full-screen dialogs, the HTML viewer,
// EventModify, TransparentImage. Under Wine the program's windows live in a phone screen area
// of 240 x 320 pixels with a status strip at the top and the softkey bar at the bottom. Once a
// thread has called SHGetSpecialFolderPath, SHCreateMenuBar or SHInitDialog, its message boxes
// open on the phone screen, as on the device.
#include <windows.h>
#include <commctrl.h>

// Softkey menu bar
typedef struct tagSHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;
    COLORREF clrBk;
} SHMENUBARINFO, *PSHMENUBARINFO;

#define SHCMBF_EMPTYBAR 0x0001
#define SHCMBF_HIDDEN 0x0002
#define SHCMBF_HIDESIPBUTTON 0x0004
#define SHCMBF_COLORBK 0x0008
#define SHCMBF_HMENU 0x0010
#define SHCMBM_GETMENU (WM_USER + 402)

// The first top-level item of the menu resource is the left softkey and sends its command to
// the owner; a popup item is the right softkey and opens the popup. The bar answers
// SHCMBM_GETMENU and TB_SETBUTTONINFO (TBIF_TEXT, by command id; 0 names the popup). F1 and
// F2 press the left and right softkeys.
BOOL SHCreateMenuBar(SHMENUBARINFO* info);

// Full-screen dialogs
typedef struct tagSHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
} SHINITDLGINFO, *PSHINITDLGINFO;

#define SHIDIM_FLAGS 0x0001
#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010

BOOL SHInitDialog(SHINITDLGINFO* info);

// The phone screen area in screen coordinates, and the part of it that a program's main
// window or a full-screen dialog covers (between the status strip and the softkey bar).
RECT PhoneScreenRect();
RECT PhoneWorkArea();

// Shell folders and launching, with the phone's names. The folder ids are the phone's; the
// desktop's shlobj.h is not included, since its names would shadow the phone's shell calls.
#ifndef CSIDL_PROGRAM_FILES
#define CSIDL_PROGRAM_FILES 0x0026
#endif
BOOL SHGetSpecialFolderPath(HWND owner, LPWSTR path, int folder, BOOL create);

// List views: the phone's gradient background, which desktop lists ignore.
#ifndef LVS_EX_GRADIENT
#define LVS_EX_GRADIENT 0x20000000
#endif

// Bringing a window forward: the phone's SetForegroundWindow takes a handle whose lowest bit is
// set as "this window together with the windows it owns". Desktop Win32 takes that altered
// handle for another window (Wine keeps it as the active window, which then answers nothing),
// so programs call this form, which takes both the plain and the marked handle.
BOOL PhoneSetForegroundWindow(HWND handle);

// Events
#define EVENT_PULSE 1
#define EVENT_RESET 2
#define EVENT_SET 3
BOOL EventModify(HANDLE event, DWORD function);

// Drawing
BOOL TransparentImage(HDC destination, int dx, int dy, int dw, int dh, HANDLE source, int sx,
                      int sy, int sw, int sh, COLORREF transparent);

// HTML viewer: InitHTMLControl registers the window class "DISPLAYCLASS"; the viewer answers
// DTM_NAVIGATE with a "file://" URL in lParam by loading and showing that page. Up and Down
// scroll it by a line, Left and Right by a screen; the action key sends IDOK to the parent.
#define DISPLAYCLASS L"DISPLAYCLASS"
#define DTM_NAVIGATE (WM_USER + 120)
BOOL InitHTMLControl(HINSTANCE instance);
// The largest page the viewer shows; a larger one gets its notice instead. Laying out a page
// this size takes well under a second under Wine (bench/help).
constexpr DWORD kLargestHtmlPage = 512 * 1024;
