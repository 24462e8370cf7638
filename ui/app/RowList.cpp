#include "ui/app/RowList.h"

#include <algorithm>

#include "platform/shell/PaintThrough.h"
#include "platform/shell/SmartphoneShell.h"
#include "platform/shell/SoftkeyCaptions.h"
#include "ui/app/AppState.h"
#include "ui/app/Help.h"
#include "ui/resources/resource.h"
#include "core/text/TextTable.h"

namespace {

constexpr wchar_t kListClass[] = L"DzRowList";

struct RowList {
    RowListView view;
    const wchar_t* title = L"";
    int firstRow = 0;
    HWND menuBar = nullptr;
} g_list;

int VisibleRows(HWND list) {
    RECT client;
    GetClientRect(list, &client);
    return (client.bottom - client.top) / g_list.view.rowHeight;
}

void PaintContent(HWND list, HDC dc) {
    RECT client;
    const HGDIOBJ oldFont = ClearForText(list, dc, g_list.view.font, &client);
    if (g_list.view.count == 0) {
        DrawTextW(dc, g_list.view.emptyText, -1, &client,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    RECT row{client.left, client.top, client.right, client.top + g_list.view.rowHeight};
    for (size_t i = static_cast<size_t>(g_list.firstRow);
         i < g_list.view.count && row.top < client.bottom; ++i) {
        g_list.view.drawRow(dc, row, i);
        OffsetRect(&row, 0, g_list.view.rowHeight);
    }
    SelectObject(dc, oldFont);
}

// The scroll bar is the sign that more rows follow (7 of Coming up's 10 show at once) and where
// the shown ones lie; it stays in place, disabled while everything shows, so the rows keep their
// width.
void UpdateScrollBar(HWND list) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMax = std::max(0, static_cast<int>(g_list.view.count) - 1);
    info.nPage = static_cast<UINT>(VisibleRows(list));
    info.nPos = g_list.firstRow;
    SetScrollInfo(list, SB_VERT, &info, TRUE);
}

void ScrollBy(HWND list, int rows) {
    const int last = static_cast<int>(g_list.view.count) - VisibleRows(list);
    const int first = std::max(0, std::min(g_list.firstRow + rows, last));
    if (first == g_list.firstRow) return;
    g_list.firstRow = first;
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
    g_list.menuBar = CreateSoftkeyBar(dialog, IDR_HELP_MENU, g_instance);
    if (!g_list.menuBar) return false;
    SendMessageW(dialog, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(g_list.title));
    SetSoftkeyCaption(g_list.menuBar, IDOK, Text(L"BTN_DONE"));
    return CreateList(dialog);
}

INT_PTR CALLBACK RowListDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        if (!InitScreen(dialog)) DestroyWindow(dialog);
        return FALSE; // the focus is on the list already
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        if (g_list.menuBar) DestroyWindow(g_list.menuBar);
        g_list.menuBar = nullptr;
        return FALSE;
    }
    return FALSE;
}

} // namespace

INT_PTR RunRowListScreen(HWND owner, const wchar_t* title, const RowListView& view) {
    g_list = RowList();
    g_list.view = view;
    g_list.title = title;
    return RunInHelpFrame(owner, RowListDlgProc);
}
