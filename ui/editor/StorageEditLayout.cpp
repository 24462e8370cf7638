// The layout of the editor: the rows of the chosen kind are shown and stacked one below the
// other from the date row down, each a label with its field FieldOffset below it.
//
// A row is two half rows high and a check box line one. The running position is kept in half
// pixels, so a row pitch of an odd number of pixels (45 with the template's font here) does not
// lose half a pixel at every half row: with a truncated half row the status line would end up
// five pixels above the place the template's units give it. With an even pitch the positions
// are the same either way.
#include "ui/editor/StorageEditDialog.h"

#include "ui/editor/DialogControls.h"
#include "platform/shell/DialogScroller.h"
#include "ui/editor/EditorConstants.h"
#include "core/model/ScheduleTypes.h"
#include "ui/resources/resource.h"

using namespace DialogControls;

namespace {

const int kSectionLabels[] = {IDC_OCCURS_LABEL,    IDC_DATE_LABEL,     IDC_YEARLY_DATE_LABEL,
                              IDC_TIME_LABEL,      IDC_WEEKDAYS_LABEL, IDC_MONTHLY_TYPE_LABEL,
                              IDC_MONTH_DAY_LABEL, IDC_MONTHS_LABEL,   IDC_STATUS_LABEL};

// Measured once per layout, before anything moves; vertical values in half pixels.
struct Metrics {
    int fieldOffset; // from a section label to its field
    int halfRow;     // a label-and-field row is two of these, a check box line one
    int columnX;     // left edge of the months grid, in pixels
    int columnStep;  // distance between two month columns, in pixels
};

// Places a control's top at a position given in half pixels.
void PlaceTop(HWND dialog, int id, int halfPixels) {
    MoveTop(dialog, id, halfPixels / 2);
}

// A spinner list and its up-down buddy share one top.
void PlaceSpinnerList(HWND dialog, int list, int spin, int halfPixels) {
    PlaceTop(dialog, list, halfPixels);
    PlaceTop(dialog, spin, halfPixels);
}

void ShowRange(HWND dialog, int first, int last, bool visible) {
    for (int id = first; id <= last; ++id)
        Show(dialog, id, visible);
}

void PlaceWeekdays(HWND dialog, const Metrics& m, int32_t kind, int& y) {
    bool weekly = kind == Weekly;
    Show(dialog, IDC_WEEKDAYS_LABEL, weekly);
    ShowRange(dialog, IDC_WEEKDAY_FIRST, IDC_WEEKDAY_FIRST + kWeekdayCount - 1, weekly);
    if (!weekly) return;
    PlaceTop(dialog, IDC_WEEKDAYS_LABEL, y);
    for (int day = 0; day < kWeekdayCount; ++day)
        PlaceTop(dialog, IDC_WEEKDAY_FIRST + day, y + m.fieldOffset + day * m.halfRow);
    y += 8 * m.halfRow;
}

void PlaceMonthlyRule(HWND dialog, const Metrics& m, int32_t kind, int32_t monthlyType, int& y) {
    bool monthly = kind == Monthly;
    ShowRange(dialog, IDC_MONTHLY_TYPE_LABEL, IDC_MONTHLY_TYPE_SPIN, monthly);
    if (monthly) {
        PlaceTop(dialog, IDC_MONTHLY_TYPE_LABEL, y);
        PlaceSpinnerList(dialog, IDC_MONTHLY_TYPE_LIST, IDC_MONTHLY_TYPE_SPIN, y + m.halfRow);
        y += 3 * m.halfRow - m.fieldOffset;
    }

    bool byDay = monthly && monthlyType == kMonthlyByDay;
    bool byWeekday = monthly && monthlyType == kMonthlyByWeekday;
    Show(dialog, IDC_MONTH_DAY_LABEL, byDay || byWeekday);
    ShowRange(dialog, IDC_MONTH_DAY_LIST, IDC_MONTH_DAY_SPIN, byDay);
    ShowRange(dialog, IDC_MONTH_WEEK_LIST, IDC_MONTH_WEEKDAY_SPIN, byWeekday);
    if (byDay) {
        PlaceTop(dialog, IDC_MONTH_DAY_LABEL, y);
        PlaceSpinnerList(dialog, IDC_MONTH_DAY_LIST, IDC_MONTH_DAY_SPIN, y + m.halfRow);
        y += 3 * m.halfRow - m.fieldOffset;
    } else if (byWeekday) {
        PlaceTop(dialog, IDC_MONTH_DAY_LABEL, y);
        PlaceSpinnerList(dialog, IDC_MONTH_WEEK_LIST, IDC_MONTH_WEEK_SPIN, y + m.halfRow);
        PlaceSpinnerList(dialog, IDC_MONTH_WEEKDAY_LIST, IDC_MONTH_WEEKDAY_SPIN,
                         y + 3 * m.halfRow - m.fieldOffset);
        y += 5 * m.halfRow - 2 * m.fieldOffset;
    }
}

// Two lines of six months, January to June above July to December; each month's name with
// its check box FieldOffset below it.
void PlaceMonths(HWND dialog, const Metrics& m, int32_t kind, int& y) {
    bool monthly = kind == Monthly;
    Show(dialog, IDC_MONTHS_LABEL, monthly);
    ShowRange(dialog, IDC_MONTH_NAME_FIRST, IDC_MONTH_NAME_FIRST + kMonthCount - 1, monthly);
    ShowRange(dialog, IDC_MONTH_CHECK_FIRST, IDC_MONTH_CHECK_FIRST + kMonthCount - 1, monthly);
    if (!monthly) return;
    PlaceTop(dialog, IDC_MONTHS_LABEL, y);
    y += m.fieldOffset;
    const int lineTops[2] = {y, y + m.fieldOffset + m.halfRow};
    constexpr int kPerLine = kMonthCount / 2;
    for (int month = 0; month < kMonthCount; ++month) {
        int x = m.columnX + (month % kPerLine) * m.columnStep;
        int lineTop = lineTops[month / kPerLine];
        MoveTo(dialog, IDC_MONTH_NAME_FIRST + month, x, lineTop / 2);
        MoveTo(dialog, IDC_MONTH_CHECK_FIRST + month, x, (lineTop + m.fieldOffset) / 2);
    }
    y = lineTops[1] + 2 * m.halfRow;
}

} // namespace

void StorageEditDialog::LayoutControls(int32_t kind) {
    HWND dialog = dialogWindow;
    if (sectionFont) {
        for (int label : kSectionLabels)
            SetFont(dialog, label, sectionFont);
    }

    RECT bounds;
    GetWindowRect(dialog, &bounds);
    const int occursTop = TopOf(dialog, IDC_OCCURS_LABEL);
    const Metrics m{2 * (TopOf(dialog, IDC_OCCURS_LIST) - occursTop),
                    TopOf(dialog, IDC_DATE_LABEL) - occursTop, LeftOf(dialog, IDC_OCCURS_LIST),
                    (bounds.right - bounds.left) / 7};
    int y = 2 * TopOf(dialog, IDC_DATE_LABEL);

    // The date row stays where it is and is shown for once only.
    bool once = kind == Once;
    Show(dialog, IDC_DATE_LABEL, once);
    Show(dialog, IDC_DATE_PICKER, once);
    if (once) y += 2 * m.halfRow;

    // The yearly date takes the place and size of the date row.
    bool yearly = kind == Yearly;
    Show(dialog, IDC_YEARLY_DATE_LABEL, yearly);
    Show(dialog, IDC_YEARLY_DATE_PICKER, yearly);
    if (yearly) {
        MoveLike(dialog, IDC_YEARLY_DATE_LABEL, IDC_DATE_LABEL, LeftOf(dialog, IDC_DATE_LABEL),
                 y / 2);
        MoveLike(dialog, IDC_YEARLY_DATE_PICKER, IDC_DATE_PICKER, LeftOf(dialog, IDC_DATE_PICKER),
                 (y + m.fieldOffset) / 2);
        y += 2 * m.halfRow;
    }

    PlaceTop(dialog, IDC_TIME_LABEL, y);
    PlaceTop(dialog, IDC_TIME_PICKER, y + m.fieldOffset);
    y += 2 * m.halfRow;

    PlaceWeekdays(dialog, m, kind, y);
    PlaceMonthlyRule(dialog, m, kind, monthlyType, y);
    PlaceMonths(dialog, m, kind, y);

    PlaceTop(dialog, IDC_STATUS_LABEL, y);
    PlaceTop(dialog, IDC_STATUS_LIST, y + m.fieldOffset);
    PlaceTop(dialog, IDC_STATUS_SPIN, y + m.fieldOffset);
    PlaceTop(dialog, IDC_NEXT_RUN_LABEL, y + 2 * m.halfRow);

    // The controls moved without repainting; one repaint of the whole dialog follows.
    UpdateDialogScrollRange(dialog);
    InvalidateRect(dialog, nullptr, TRUE);
}
