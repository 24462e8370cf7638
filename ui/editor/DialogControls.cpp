#include "ui/editor/DialogControls.h"

#include <commctrl.h>

#include "platform/shell/DialogScroller.h"
#include "core/text/LocalePictures.h"

namespace DialogControls {

namespace {

// The control's window rectangle in the dialog's client coordinates.
bool ClientRectOf(HWND dialog, int id, RECT* rect) {
    HWND control = GetDlgItem(dialog, id);
    if (!control || !GetWindowRect(control, rect)) return false;
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(rect), 2);
    return true;
}

LRESULT Send(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    HWND control = GetDlgItem(dialog, id);
    return control ? SendMessageW(control, message, wParam, lParam) : LB_ERR;
}

constexpr UINT kMoveFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;

} // namespace

int TopOf(HWND dialog, int id) {
    RECT rect;
    return ClientRectOf(dialog, id, &rect) ? rect.top + DialogScrollPosition(dialog) : 0;
}

int LeftOf(HWND dialog, int id) {
    RECT rect;
    return ClientRectOf(dialog, id, &rect) ? rect.left : 0;
}

void MoveTop(HWND dialog, int id, int y) {
    RECT rect;
    if (!ClientRectOf(dialog, id, &rect)) return;
    SetWindowPos(GetDlgItem(dialog, id), nullptr, rect.left, y - DialogScrollPosition(dialog), 0, 0,
                 kMoveFlags | SWP_NOSIZE);
}

void MoveTo(HWND dialog, int id, int x, int y) {
    HWND control = GetDlgItem(dialog, id);
    if (control)
        SetWindowPos(control, nullptr, x, y - DialogScrollPosition(dialog), 0, 0,
                     kMoveFlags | SWP_NOSIZE);
}

void MoveLike(HWND dialog, int id, int model, int x, int y) {
    RECT size;
    HWND control = GetDlgItem(dialog, id);
    if (!control || !ClientRectOf(dialog, model, &size)) return;
    SetWindowPos(control, nullptr, x, y - DialogScrollPosition(dialog), size.right - size.left,
                 size.bottom - size.top, kMoveFlags);
}

void Show(HWND dialog, int id, bool visible) {
    HWND control = GetDlgItem(dialog, id);
    if (control) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

void SetFont(HWND dialog, int id, HFONT font) {
    Send(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void SetText(HWND dialog, int id, const wchar_t* text) {
    HWND control = GetDlgItem(dialog, id);
    if (control) SetWindowTextW(control, text);
}

void AddItem(HWND dialog, int id, const wchar_t* text, LRESULT data) {
    LRESULT index = Send(dialog, id, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (index >= 0) Send(dialog, id, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
}

void SelectIndex(HWND dialog, int id, int index) {
    LRESULT count = Send(dialog, id, LB_GETCOUNT);
    bool inside = index >= 0 && index < count;
    Send(dialog, id, LB_SETCURSEL, static_cast<WPARAM>(inside ? index : -1));
}

void SelectData(HWND dialog, int id, LRESULT data) {
    LRESULT count = Send(dialog, id, LB_GETCOUNT);
    for (LRESULT index = 0; index < count; ++index) {
        if (Send(dialog, id, LB_GETITEMDATA, static_cast<WPARAM>(index)) == data) {
            Send(dialog, id, LB_SETCURSEL, static_cast<WPARAM>(index));
            return;
        }
    }
    Send(dialog, id, LB_SETCURSEL, static_cast<WPARAM>(-1));
}

bool SelectedIndex(HWND dialog, int id, int* index) {
    LRESULT selected = Send(dialog, id, LB_GETCURSEL);
    if (selected < 0) return false;
    *index = static_cast<int>(selected);
    return true;
}

bool SelectedData(HWND dialog, int id, LRESULT* data) {
    int index;
    if (!SelectedIndex(dialog, id, &index)) return false;
    *data = Send(dialog, id, LB_GETITEMDATA, static_cast<WPARAM>(index));
    return true;
}

void Check(HWND dialog, int id, bool checked) {
    Send(dialog, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND dialog, int id) {
    return Send(dialog, id, BM_GETCHECK) == BST_CHECKED;
}

void Enable(HWND dialog, int id, bool enabled) {
    HWND control = GetDlgItem(dialog, id);
    if (control) EnableWindow(control, enabled);
}

void SetPickerFormat(HWND dialog, int id, const wchar_t* picture) {
    wchar_t shown[2 * kPictureSize];
    PickerPicture(picture, shown, 2 * kPictureSize);
    Send(dialog, id, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(shown));
}

void SetPickerTime(HWND dialog, int id, const SYSTEMTIME& time) {
    Send(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

bool PickerTime(HWND dialog, int id, SYSTEMTIME* time) {
    if (!GetDlgItem(dialog, id)) return false;
    return Send(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(time)) == GDT_VALID;
}

} // namespace DialogControls
