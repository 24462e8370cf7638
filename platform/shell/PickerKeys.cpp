#include "platform/shell/PickerKeys.h"

#include <commctrl.h>

#include <cwchar>
#include <string>

namespace {

constexpr UINT_PTR kPickerSubclassId = 0x504B;
constexpr int kAdjustFrameWidth = 2;
constexpr WORD kHalfDayHours = 12;

thread_local HWND t_adjusting = nullptr; // one focus per thread, so one picker in adjust mode

// The picker tells nobody which field is current, so it is followed here: one letter per
// field of the format (literal text is no field), and the index of the current one.
struct PickerState {
    std::wstring fields;
    int current = 0;
};

// The fields of a format picture: a run of one format letter is a field; quoted text and
// other characters are literals, which the picker's Left and Right pass over.
std::wstring FieldLetters(const wchar_t* picture) {
    std::wstring fields;
    for (const wchar_t* c = picture; c && *c;) {
        if (*c == L'\'') {
            for (++c; *c && *c != L'\''; ++c) {
            }
            if (*c) ++c;
        } else if (wcschr(L"dMyhHmstg", *c)) {
            const wchar_t letter = *c;
            fields += letter;
            while (*c == letter)
                ++c;
        } else {
            ++c;
        }
    }
    return fields;
}

void Step(PickerState& state, int delta) {
    const int count = static_cast<int>(state.fields.size());
    if (count > 0) state.current = (state.current + delta + count) % count;
}

// The picker's own step on an AM/PM field clamps at the ends of the day (11 PM becomes
// 12 AM, 5 AM becomes 11 PM); the phone moves the time by twelve hours either way.
void ToggleHalfDay(HWND picker) {
    SYSTEMTIME time{};
    if (SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID)
        return;
    time.wHour = static_cast<WORD>((time.wHour + kHalfDayHours) % (2 * kHalfDayHours));
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    NMDATETIMECHANGE change{};
    change.nmhdr.hwndFrom = picker;
    change.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(picker));
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = GDT_VALID;
    change.st = time;
    SendMessageW(GetParent(picker), WM_NOTIFY, change.nmhdr.idFrom,
                 reinterpret_cast<LPARAM>(&change));
}

void PaintAdjustFrame(HWND picker) {
    HDC dc = GetDC(picker);
    RECT frame;
    GetClientRect(picker, &frame);
    HBRUSH brush = GetSysColorBrush(COLOR_HIGHLIGHT);
    for (int ring = 0; ring < kAdjustFrameWidth; ++ring) {
        FrameRect(dc, &frame, brush);
        InflateRect(&frame, -1, -1);
    }
    ReleaseDC(picker, dc);
}

LRESULT OnKeyDown(HWND picker, PickerState& state, WPARAM key, LPARAM lParam) {
    if (key == VK_LEFT || key == VK_RIGHT) Step(state, key == VK_RIGHT ? 1 : -1);
    const bool halfDay = state.current < static_cast<int>(state.fields.size()) &&
                         state.fields[static_cast<size_t>(state.current)] == L't';
    if ((key == VK_UP || key == VK_DOWN) && halfDay) {
        ToggleHalfDay(picker);
        return 0;
    }
    return DefSubclassProc(picker, WM_KEYDOWN, key, lParam);
}

LRESULT CALLBACK PickerProc(HWND picker, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                            DWORD_PTR data) {
    auto& state = *reinterpret_cast<PickerState*>(data);
    switch (message) {
    case DTM_SETFORMATW:
        state.fields = FieldLetters(reinterpret_cast<const wchar_t*>(lParam));
        state.current = 0;
        break;
    case WM_KEYDOWN: return OnKeyDown(picker, state, wParam, lParam);
    case WM_SETFOCUS: {
        // The picker comes to the focus with no current field (and under Wine a step left from
        // there reads outside its fields): its first field becomes the current one, so digits
        // typed at once go into it.
        const LRESULT result = DefSubclassProc(picker, message, wParam, lParam);
        DefSubclassProc(picker, WM_KEYDOWN, VK_RIGHT, 0);
        state.current = 0;
        return result;
    }
    case WM_PAINT: {
        const LRESULT result = DefSubclassProc(picker, message, wParam, lParam);
        if (picker == t_adjusting) PaintAdjustFrame(picker);
        return result;
    }
    case WM_KILLFOCUS:
        if (picker == t_adjusting) SetPickerAdjusting(picker, false);
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(picker, PickerProc, id);
        delete &state;
        break;
    }
    return DefSubclassProc(picker, message, wParam, lParam);
}

} // namespace

void AttachPickerKeys(HWND picker) {
    SetWindowSubclass(picker, PickerProc, kPickerSubclassId,
                      reinterpret_cast<DWORD_PTR>(new PickerState));
}

bool PickerAdjusting(HWND picker) {
    return picker && picker == t_adjusting;
}

void SetPickerAdjusting(HWND picker, bool adjusting) {
    if (t_adjusting) InvalidateRect(t_adjusting, nullptr, TRUE);
    t_adjusting = adjusting ? picker : nullptr;
    if (t_adjusting) InvalidateRect(t_adjusting, nullptr, TRUE);
}
