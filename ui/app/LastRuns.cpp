// The Last runs screen in the help screen's frame: one row of three lines per run, newest
// first: when (in the user's date and time forms, and whether Run now asked), the action's
// phrase beside its bitmap, and the outcome, in red when the run failed.
#include "ui/app/LastRuns.h"

#include "contract/EngineContract.h"
#include "ui/app/AppState.h"
#include "platform/shell/MakeFont.h"
#include "ui/app/RowList.h"
#include "ui/app/ScheduleList.h"
#include "core/model/DZItem.h"
#include "platform/core/BoundedText.h"
#include "core/text/FiringText.h"
#include "platform/core/ProgramDirectory.h"
#include "core/text/RunOutcome.h"
#include "core/text/TextTable.h"

namespace {

constexpr int kRowHeight = 52; // three lines of the font beside a 28-pixel bitmap
constexpr int kLineHeight = kRowHeight / 3;
constexpr wchar_t kFontFace[] = L"Segoe Condensed";
constexpr LONG kFontHeight = 15; // pixels
constexpr COLORREF kFailedColour = RGB(192, 0, 0);

// The screen is modal, so there is at most one.
struct LastRunsScreen {
    HFONT fontBold = nullptr;
    HFONT fontRegular = nullptr;
} g_screen;

void DrawLine(HDC dc, const RECT& row, int x, int line, HFONT font, const wchar_t* text) {
    RECT area{x, row.top + 1 + line * kLineHeight, row.right, row.top + (line + 1) * kLineHeight};
    SelectObject(dc, font);
    DrawTextW(dc, text, -1, &area, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void DrawRun(HDC dc, const RECT& row, size_t index) {
    const RunRecord& run = g_runHistory[index];
    // The run's action block as an entry, for its bitmap and phrase; the option token is the
    // entry's option bits whenever the executor knows them.
    DZItem action;
    action.action = run.action;
    action.options = static_cast<uint16_t>(run.option);
    const bool known = run.action < kActionCodeCount;
    const int x =
        row.left +
        (known ? DrawActionIcon(dc, row.left, row.top, kRowHeight, action.ListBitmap()) : 0) + 4;
    wchar_t text[kEntryTextSize];
    FormatFiringInstant(run.instant, text, kEntryTextSize);
    if (run.requester == RequestedByRunNow)
        BoundedText(text + wcslen(text), kEntryTextSize - wcslen(text))
            .Add(L", ")
            .Add(Text(L"DLG_RUN_BY_RUN_NOW"));
    DrawLine(dc, row, x, 0, g_screen.fontBold, text);
    text[0] = L'\0';
    if (known) action.FormatAction(text, kEntryTextSize);
    DrawLine(dc, row, x, 1, g_screen.fontRegular, text);
    const COLORREF oldColour = SetTextColor(dc, RunFailed(run) ? kFailedColour : GetTextColor(dc));
    DrawLine(dc, row, x, 2, g_screen.fontRegular, Text(RunOutcomeKey(run)));
    SetTextColor(dc, oldColour);
    MoveToEx(dc, row.left + 1, row.bottom - 1, nullptr);
    LineTo(dc, row.right, row.bottom - 1);
}

} // namespace

void ReloadRunHistory() {
    wchar_t path[MAX_PATH];
    ProgramDirectory(path);
    if (BoundedText(path + wcslen(path), MAX_PATH - wcslen(path)).Add(DZ_HISTORY_FILE).Cut())
        return;
    g_runHistory = LoadRunHistory(path);
    if (g_scheduleList.ListWindow()) InvalidateRect(g_scheduleList.ListWindow(), nullptr, FALSE);
}

INT_PTR ShowLastRuns(HWND owner) {
    ReloadRunHistory();
    g_screen.fontBold = MakeFont(kFontFace, FW_BOLD, kFontHeight, false);
    g_screen.fontRegular = MakeFont(kFontFace, FW_NORMAL, kFontHeight, false);
    RowListView view;
    view.count = g_runHistory.size();
    view.rowHeight = kRowHeight;
    view.font = g_screen.fontRegular;
    view.emptyText = Text(L"DLG_NO_RUNS");
    view.drawRow = DrawRun;
    const INT_PTR code = RunRowListScreen(owner, Text(L"DLG_LAST_RUNS_HEADERTEXT"), view);
    DeleteObject(g_screen.fontBold);
    DeleteObject(g_screen.fontRegular);
    g_screen = LastRunsScreen();
    return code;
}
