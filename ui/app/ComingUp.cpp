// The coming-up screen in the help screen's frame (full screen, title strip, one softkey):
// the next firings of all entries from now, each with its action bitmap, its weekday, date and
// time, and its action phrase. Up and Down scroll by a row, shown by the scroll bar; Done, the
// action key and Back close.
#include "ui/app/ComingUp.h"

#include <algorithm>
#include <vector>

#include "platform/shell/PaintThrough.h"
#include "platform/shell/SmartphoneShell.h"
#include "platform/shell/SoftkeyCaptions.h"
#include "ui/app/AppState.h"
#include "ui/app/Help.h"
#include "platform/shell/MakeFont.h"
#include "ui/app/ScheduleList.h"
#include "core/model/Firings.h"
#include "ui/resources/resource.h"
#include "core/text/FiringText.h"
#include "core/text/TextTable.h"

namespace {

constexpr size_t kFiringsShown = 10;
constexpr int kRowHeight = 36; // two lines beside a 28-pixel bitmap
constexpr wchar_t kListClass[] = L"DzComingUpList";
constexpr wchar_t kFontFace[] = L"Segoe Condensed";
constexpr LONG kFontHeight = 15; // pixels: two lines fill a row
constexpr size_t kTextSize = 260;

// The screen is modal, so there is at most one.
struct ComingUpScreen {
    std::vector<UpcomingFiring> firings; // taken when the screen opens
    int firstRow = 0;
    HWND menuBar = nullptr;
    HFONT fontBold = nullptr;
    HFONT fontRegular = nullptr;
} g_screen;

int VisibleRows(HWND list) {
    RECT client;
    GetClientRect(list, &client);
    return (client.bottom - client.top) / kRowHeight;
}

void DrawFiring(HDC dc, const RECT& row, const UpcomingFiring& firing) {
    const int x = row.left +
                  DrawActionIcon(dc, row.left, row.top, kRowHeight, firing.entry->ListBitmap()) + 4;
    wchar_t text[kTextSize];
    FormatFiringInstant(firing.instant, text, kTextSize);
    RECT upper{x, row.top + 1, row.right, row.top + kRowHeight / 2};
    SelectObject(dc, g_screen.fontBold);
    DrawTextW(dc, text, -1, &upper, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    firing.entry->FormatAction(text, kTextSize);
    RECT lower{x, row.top + kRowHeight / 2 + 1, row.right, row.bottom - 1};
    SelectObject(dc, g_screen.fontRegular);
    DrawTextW(dc, text, -1, &lower, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    MoveToEx(dc, row.left + 1, row.bottom - 1, nullptr);
    LineTo(dc, row.right, row.bottom - 1);
}

void PaintContent(HWND list, HDC dc) {
    RECT client;
    GetClientRect(list, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const HGDIOBJ oldFont = SelectObject(dc, g_screen.fontRegular);
    if (g_screen.firings.empty()) {
        DrawTextW(dc, Text(L"DLG_NOTHING_SCHEDULED"), -1, &client,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    RECT row{client.left, client.top, client.right, client.top + kRowHeight};
    for (size_t i = static_cast<size_t>(g_screen.firstRow);
         i < g_screen.firings.size() && row.top < client.bottom; ++i) {
        DrawFiring(dc, row, g_screen.firings[i]);
        OffsetRect(&row, 0, kRowHeight);
    }
    SelectObject(dc, oldFont);
}

// The scroll bar is the sign that more rows follow (7 of the 10 show at once) and where the
// shown ones lie; it stays in place, disabled while everything shows, so the rows keep their
// width.
void UpdateScrollBar(HWND list) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMax = std::max(0, static_cast<int>(g_screen.firings.size()) - 1);
    info.nPage = static_cast<UINT>(VisibleRows(list));
    info.nPos = g_screen.firstRow;
    SetScrollInfo(list, SB_VERT, &info, TRUE);
}

void ScrollBy(HWND list, int rows) {
    const int last = static_cast<int>(g_screen.firings.size()) - VisibleRows(list);
    const int first = std::max(0, std::min(g_screen.firstRow + rows, last));
    if (first == g_screen.firstRow) return;
    g_screen.firstRow = first;
    UpdateScrollBar(list);
    InvalidateRect(list, nullptr, FALSE);
}

LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (PaintThrough(list, message, wParam, PaintContent)) return 0;
    switch (message) {
    case WM_ERASEBKGND: return 1;
    // The arrows scroll and the action key closes, as Done does; Back stays with the dialog,
    // which closes too.
    case WM_GETDLGCODE: return DLGC_WANTARROWS | (wParam == VK_RETURN ? DLGC_WANTMESSAGE : 0);
    case WM_KEYDOWN:
        if (wParam == VK_UP || wParam == VK_DOWN) {
            ScrollBy(list, wParam == VK_UP ? -1 : 1);
            return 0;
        }
        if (wParam == VK_RETURN) {
            PostMessageW(GetParent(list), WM_COMMAND, IDOK, 0);
            return 0;
        }
        break;
    }
    return DefWindowProcW(list, message, wParam, lParam);
}

bool CreateList(HWND dialog) {
    WNDCLASSW existing;
    if (!GetClassInfoW(g_instance, kListClass, &existing)) {
        WNDCLASSW listClass{};
        listClass.lpfnWndProc = ListProc;
        listClass.hInstance = g_instance;
        listClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        listClass.lpszClassName = kListClass;
        if (!RegisterClassW(&listClass)) return false;
    }
    RECT client;
    GetClientRect(dialog, &client);
    HWND list =
        CreateWindowExW(0, kListClass, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL, 0,
                        0, client.right, client.bottom, dialog, nullptr, g_instance, nullptr);
    if (!list) return false;
    UpdateScrollBar(list);
    SetFocus(list);
    return true;
}

bool InitScreen(HWND dialog) {
    SHINITDLGINFO screen{SHIDIM_FLAGS, dialog, SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
    if (!SHInitDialog(&screen)) return false;
    g_screen.menuBar = CreateSoftkeyBar(dialog, IDR_HELP_MENU, g_instance);
    if (!g_screen.menuBar) return false;
    SendMessageW(dialog, WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(Text(L"DLG_COMING_UP_HEADERTEXT")));
    SetSoftkeyCaption(g_screen.menuBar, IDOK, Text(L"BTN_DONE"));

    g_screen.firings = UpcomingFirings(g_entryList, LocalNow(), kFiringsShown);
    g_screen.firstRow = 0;
    g_screen.fontBold = MakeFont(kFontFace, FW_BOLD, kFontHeight, false);
    g_screen.fontRegular = MakeFont(kFontFace, FW_NORMAL, kFontHeight, false);
    return CreateList(dialog);
}

void CloseScreen() {
    if (g_screen.menuBar) DestroyWindow(g_screen.menuBar);
    if (g_screen.fontBold) DeleteObject(g_screen.fontBold);
    if (g_screen.fontRegular) DeleteObject(g_screen.fontRegular);
    g_screen = ComingUpScreen();
}

INT_PTR CALLBACK ComingUpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        if (!InitScreen(dialog)) DestroyWindow(dialog);
        return FALSE; // the focus is on the list already
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case WM_DESTROY: CloseScreen(); return FALSE;
    }
    return FALSE;
}

} // namespace

INT_PTR ShowComingUp(HWND owner) {
    return RunInHelpFrame(owner, ComingUpDlgProc);
}
