// The coming-up screen in the help screen's frame (full screen, title strip, one softkey):
// the next firings of all entries from now, each with its action bitmap, its weekday, date and
// time, and its action phrase. Up and Down scroll by a row; Done, the action key and Back close.
#include "ui/app/ComingUp.h"

#include <vector>

#include "ui/app/AppState.h"
#include "platform/shell/MakeFont.h"
#include "ui/app/RowList.h"
#include "ui/app/ScheduleList.h"
#include "core/model/Firings.h"
#include "core/text/FiringText.h"
#include "core/text/TextTable.h"

namespace {

constexpr size_t kFiringsShown = 10;
constexpr int kRowHeight = 36; // two lines beside a 28-pixel bitmap
constexpr wchar_t kFontFace[] = L"Segoe Condensed";
constexpr LONG kFontHeight = 15; // pixels: two lines fill a row
constexpr size_t kTextSize = 260;

// The screen is modal, so there is at most one.
struct ComingUpScreen {
    std::vector<UpcomingFiring> firings; // taken when the screen opens
    HFONT fontBold = nullptr;
    HFONT fontRegular = nullptr;
} g_screen;

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

void DrawRow(HDC dc, const RECT& row, size_t index) {
    DrawFiring(dc, row, g_screen.firings[index]);
}

void CloseScreen() {
    if (g_screen.fontBold) DeleteObject(g_screen.fontBold);
    if (g_screen.fontRegular) DeleteObject(g_screen.fontRegular);
    g_screen = ComingUpScreen();
}

} // namespace

INT_PTR ShowComingUp(HWND owner) {
    g_screen.firings = UpcomingFirings(g_entryList, LocalNow(), kFiringsShown);
    g_screen.fontBold = MakeFont(kFontFace, FW_BOLD, kFontHeight, false);
    g_screen.fontRegular = MakeFont(kFontFace, FW_NORMAL, kFontHeight, false);
    RowListView view;
    view.count = g_screen.firings.size();
    view.rowHeight = kRowHeight;
    view.font = g_screen.fontRegular;
    view.emptyText = Text(L"DLG_NOTHING_SCHEDULED");
    view.drawRow = DrawRow;
    const INT_PTR code = RunRowListScreen(owner, Text(L"DLG_COMING_UP_HEADERTEXT"), view);
    CloseScreen();
    return code;
}
