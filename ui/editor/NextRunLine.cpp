// The editor's line below its last control: "Next:" with the weekday, date and time at which
// the entry as the controls show it would run next, or "Never runs" in a warning colour. It
// asks the rule that the engine fires by, on a scratch copy of the entry: the entry itself is
// written only on Done.
#include <windows.h>
#include <commctrl.h>

#include "ui/editor/StorageEditDialog.h"
#include "core/model/Firings.h"
#include "core/model/StorageItem.h"
#include "ui/resources/resource.h"
#include "platform/core/BoundedText.h"
#include "core/text/FiringText.h"
#include "core/text/TextTable.h"

namespace {

constexpr COLORREF kWarningColour = RGB(192, 0, 0);

} // namespace

void StorageEditDialog::StoreInto(StorageItem* target, bool withOwnFields) {
    CopySchedule(*entry, *target);
    StorageItem* const edited = entry;
    entry = target;
    if (withOwnFields)
        StoreValues();
    else
        StorageEditDialog::StoreValues();
    entry = edited;
}

// As wide as the dialog's content between its margins and two labels tall; LayoutControls puts
// it under the status row. The longest date with a 12-hour time ("Next: Tue 12/28/2027
// 10:30 PM") is about 225 pixels wide and the line 200: it wraps before the time, which keeps
// its AM/PM (FormatFiringInstant joins them).
void StorageEditDialog::CreateNextRunLine() {
    RECT client, label{};
    GetClientRect(dialogWindow, &client);
    if (HWND status = GetDlgItem(dialogWindow, IDC_STATUS_LABEL)) {
        GetWindowRect(status, &label);
        MapWindowPoints(nullptr, dialogWindow, reinterpret_cast<POINT*>(&label), 2);
    }
    const int left = label.left;
    const int height = 2 * (label.bottom > label.top ? label.bottom - label.top : 14);
    HWND line = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                left, 0, client.right - 2 * left, height, dialogWindow,
                                reinterpret_cast<HMENU>(IDC_NEXT_RUN_LABEL), nullptr, nullptr);
    if (line) SendMessageW(line, WM_SETFONT, SendMessageW(dialogWindow, WM_GETFONT, 0, 0), FALSE);
}

void StorageEditDialog::UpdateNextRun() {
    HWND line = GetDlgItem(dialogWindow, IDC_NEXT_RUN_LABEL);
    if (!line || !entry) return;
    StorageItem scratch(entry->kind, showSeconds);
    StoreInto(&scratch, false);
    const FILETIME next = NextFiring(scratch, LocalNow());
    wchar_t text[kEntryTextSize];
    BoundedText shown(text, kEntryTextSize);
    if (IsNever(next)) {
        shown.Add(Text(L"DLG_NEVER_RUNS"));
    } else {
        wchar_t when[kEntryTextSize];
        FormatFiringInstant(next, when, kEntryTextSize);
        shown.Add(Text(L"DLG_NEXT_RUN")).Add(L" ").Add(when);
    }
    wchar_t before[kEntryTextSize] = L"";
    GetWindowTextW(line, before, kEntryTextSize);
    // Set only on a change: the timer asks every second and the line would flicker.
    if (neverRuns == IsNever(next) && wcscmp(before, text) == 0) return;
    neverRuns = IsNever(next);
    SetWindowTextW(line, text);
    InvalidateRect(line, nullptr, TRUE);
}

INT_PTR StorageEditDialog::NextRunColours(HDC dc, HWND control) const {
    if (GetDlgCtrlID(control) != IDC_NEXT_RUN_LABEL || !neverRuns) return FALSE;
    SetTextColor(dc, kWarningColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}
