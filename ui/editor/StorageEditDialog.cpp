#include "ui/editor/StorageEditDialog.h"

#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <new>

#include "platform/shell/SmartphoneShell.h"
#include "platform/shell/SoftkeyCaptions.h"
#include "platform/shell/MakeFont.h"
#include "ui/editor/DialogControls.h"
#include "platform/shell/DialogScroller.h"
#include "ui/editor/EditorConstants.h"
#include "platform/shell/SpinnerList.h"
#include "core/model/StorageItem.h"
#include "ui/resources/resource.h"
#include "core/text/LocalePictures.h"
#include "core/text/TextKeys.h"
#include "core/text/TextTable.h"

using namespace DialogControls;

HFONT StorageEditDialog::sectionFont = nullptr;

namespace {

constexpr int kDefaultSectionFontHeight = 15;
constexpr UINT_PTR kNextRunTimer = 1;
constexpr UINT kNextRunRefreshMs = 1000;

struct OfferedKind {
    int32_t kind;
    const wchar_t* key;
};

// The Occurs list offers the kinds in this order.
const OfferedKind kOccursItems[] = {{Next24Hours, L"DLG_OCCURS_NEXT24H"},
                                    {Once, L"DLG_OCCURS_ONCE"},
                                    {Weekly, L"DLG_OCCURS_WEEKLY"},
                                    {Monthly, L"DLG_OCCURS_MONTHLY"},
                                    {Yearly, L"DLG_OCCURS_YEARLY"}};

struct LabelText {
    int id;
    const wchar_t* key;
};

const LabelText kLabelTexts[] = {
    {IDC_OCCURS_LABEL, L"DLG_OCCURS"},      {IDC_DATE_LABEL, L"DLG_DATE"},
    {IDC_TIME_LABEL, L"DLG_TIME"},          {IDC_WEEKDAYS_LABEL, L"DLG_DAYS_OF_WEEK"},
    {IDC_STATUS_LABEL, L"DLG_STATUS"},      {IDC_YEARLY_DATE_LABEL, L"DLG_YEARLYDATE"},
    {IDC_MONTHS_LABEL, L"DLG_MONTHS"},      {IDC_MONTHLY_TYPE_LABEL, L"DLG_MONTHLY_TYPE"},
    {IDC_MONTH_DAY_LABEL, L"DLG_MONTH_DAY"}};

// The item of the month-day list that shows dayOfMonth: days 1-31 at 0-30, the last day (0)
// at 31; the days before the last (-1 to -3) have no item, so the index falls outside.
int DayIndex(int32_t dayOfMonth) {
    return dayOfMonth >= 1 ? dayOfMonth - 1 : kLastDayIndex - dayOfMonth;
}

} // namespace

StorageEditDialog::StorageEditDialog(uint16_t templateId, uint32_t offeredKinds,
                                     int32_t showSeconds)
    : templateId(templateId), offeredKinds(offeredKinds), showSeconds(showSeconds) {}

int StorageEditDialog::RunModal(HWND parentWindow, StorageItem* entry) {
    const std::unique_ptr<StorageItem> copy(CopyOfEntry(*entry));
    if (!copy) return kEditCanceled;
    this->parentWindow = parentWindow;
    this->entry = copy.get();
    original = entry;

    int result = -1;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
    auto* dialogTemplate = loaded ? static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)) : nullptr;
    if (dialogTemplate) {
        result = static_cast<int>(DialogBoxIndirectParamW(instance, dialogTemplate, parentWindow,
                                                          StaticDialogProc,
                                                          reinterpret_cast<LPARAM>(this)));
    }

    this->entry = nullptr;
    original = nullptr;
    dialogWindow = nullptr;
    this->parentWindow = nullptr;
    menuBar = nullptr;
    return result;
}

INT_PTR CALLBACK StorageEditDialog::StaticDialogProc(HWND window, UINT message, WPARAM wParam,
                                                     LPARAM lParam) {
    // The editor comes with WM_INITDIALOG as the dialog's parameter and stays in DWLP_USER; the
    // few messages before it (WM_SETFONT) need no editor.
    if (message == WM_INITDIALOG) SetWindowLongPtrW(window, DWLP_USER, lParam);
    auto* editor = reinterpret_cast<StorageEditDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    return editor ? editor->DialogProc(window, message, wParam, lParam) : FALSE;
}

INT_PTR StorageEditDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: OnDestroy(); return FALSE;
    case WM_INITDIALOG:
        if (!Start(window)) {
            EndDialog(window, kEditCanceled);
            return FALSE;
        }
        InitControls();
        UpdateNextRun();
        // The line also follows the clock: a one-time instant passes while the editor is open.
        SetTimer(window, kNextRunTimer, kNextRunRefreshMs, nullptr);
        return TRUE;
    case WM_TIMER:
        if (wParam != kNextRunTimer) return FALSE;
        UpdateNextRun();
        return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->code == DTN_DATETIMECHANGE) UpdateNextRun();
        return FALSE;
    case WM_CTLCOLORSTATIC:
        return NextRunColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
        // Every list, box and softkey of the editor speaks by command: the line follows each.
        UpdateNextRun();
        switch (LOWORD(wParam)) {
        case IDOK:
            if (Validate()) {
                StoreInto(original, true);
                EndDialog(window, kEditDone);
            }
            return TRUE;
        case IDCANCEL:
            OnCancel();
            EndDialog(window, kEditCanceled);
            return TRUE;
        case IDC_OCCURS_LIST:
            if (HIWORD(wParam) == LBN_SELCHANGE) OnRecurrenceChanged();
            UpdateNextRun(); // the new kind's rows have their values now
            return TRUE;
        case IDC_MONTHLY_TYPE_LIST:
            if (HIWORD(wParam) == LBN_SELCHANGE) OnMonthlyTypeChanged();
            UpdateNextRun();
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

bool StorageEditDialog::Start(HWND window) {
    dialogWindow = window;
    SHINITDLGINFO shellInfo{};
    shellInfo.dwMask = SHIDIM_FLAGS;
    shellInfo.hDlg = window;
    shellInfo.dwFlags = SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN;
    if (!SHInitDialog(&shellInfo)) return false;
    AttachDialogScroller(window);

    menuBar = CreateSoftkeyBar(window, IDR_EDITOR_MENU, GetModuleHandleW(nullptr));
    if (!menuBar) return false;

    SetTexts();
    if (!sectionFont) MakeSectionFont();
    CreateNextRunLine();
    AttachSpinnerLists(window);
    return true;
}

// The section labels are the template's font, bold, in the phone's condensed face.
void StorageEditDialog::MakeSectionFont() {
    LONG height = kDefaultSectionFontHeight;
    auto labelFont = reinterpret_cast<HFONT>(
        SendDlgItemMessageW(dialogWindow, IDC_OCCURS_LABEL, WM_GETFONT, 0, 0));
    if (labelFont) {
        HDC screen = GetDC(nullptr);
        HGDIOBJ previous = SelectObject(screen, labelFont);
        TEXTMETRICW metrics{};
        if (GetTextMetricsW(screen, &metrics)) height = metrics.tmHeight;
        SelectObject(screen, previous);
        ReleaseDC(nullptr, screen);
    }
    sectionFont = MakeFont(L"Segoe Condensed", FW_BOLD, height, false);
}

void StorageEditDialog::SetTexts() {
    SetWindowTextW(dialogWindow, Text(L"DLG_HEADERTEXT"));
    SetSoftkeyCaption(menuBar, IDOK, Text(L"BTN_DONE"));
    SetSoftkeyCaption(menuBar, IDCANCEL, Text(L"BTN_CANCEL"));
    for (const LabelText& label : kLabelTexts)
        SetText(dialogWindow, label.id, Text(label.key));
    for (int day = 0; day < kWeekdayCount; ++day)
        SetText(dialogWindow, IDC_WEEKDAY_FIRST + day, Text(kWeekdayKeys[day]));
    for (int month = 0; month < kMonthCount; ++month)
        SetText(dialogWindow, IDC_MONTH_NAME_FIRST + month, Text(kMiddleMonthKeys[month]));
}

void StorageEditDialog::OnDestroy() {
    if (menuBar) DestroyWindow(menuBar);
    menuBar = nullptr;
    if (sectionFont) DeleteObject(sectionFont);
    sectionFont = nullptr;
}

void StorageEditDialog::InitControls() {
    FillControls();
    LayoutControls(entry->kind);
}

bool StorageEditDialog::Validate() {
    return true;
}

StorageItem* StorageEditDialog::CopyOfEntry(const StorageItem& of) const {
    auto* copy = new (std::nothrow) StorageItem(of.kind, of.showSeconds);
    if (!copy) return nullptr;
    CopySchedule(of, *copy);
    copy->owner = of.owner;
    return copy;
}

void StorageEditDialog::OnCancel() {}

// Puts the entry into the controls. It stops at the first missing one of the Occurs list,
// the yearly picker (when yearly is offered), the status list and the two pickers.
void StorageEditDialog::FillControls() {
    HWND dialog = dialogWindow;
    monthlyType = entry->monthlyMode;
    SYSTEMTIME t{};
    FileTimeToSystemTime(&entry->startTime, &t);

    if (!GetDlgItem(dialog, IDC_OCCURS_LIST)) return;
    for (const OfferedKind& item : kOccursItems)
        if (offeredKinds & item.kind) AddItem(dialog, IDC_OCCURS_LIST, Text(item.key), item.kind);
    SelectData(dialog, IDC_OCCURS_LIST, entry->kind);

    if (offeredKinds & Monthly) FillMonthlyLists();

    if (offeredKinds & Yearly) {
        if (!GetDlgItem(dialog, IDC_YEARLY_DATE_PICKER)) return;
        SetPickerFormat(dialog, IDC_YEARLY_DATE_PICKER, g_localePictures.shortDateNoYearPicture);
        SetPickerTime(dialog, IDC_YEARLY_DATE_PICKER, t);
    }

    if (!GetDlgItem(dialog, IDC_STATUS_LIST)) return;
    AddItem(dialog, IDC_STATUS_LIST, Text(L"DLG_STATUS_OFF"), 0);
    AddItem(dialog, IDC_STATUS_LIST, Text(L"DLG_STATUS_ON"), 1);
    SelectIndex(dialog, IDC_STATUS_LIST, entry->active ? 1 : 0);

    if (!GetDlgItem(dialog, IDC_DATE_PICKER)) return;
    SetPickerFormat(dialog, IDC_DATE_PICKER, g_localePictures.shortDatePicture);
    SetPickerTime(dialog, IDC_DATE_PICKER, t);

    if (!GetDlgItem(dialog, IDC_TIME_PICKER)) return;
    SetPickerFormat(dialog, IDC_TIME_PICKER,
                    showSeconds ? g_localePictures.timePicture
                                : g_localePictures.timeNoSecondsPicture);
    SetPickerTime(dialog, IDC_TIME_PICKER, t);

    // The boxes start unchecked; only the entry's bits are checked here.
    if (offeredKinds & Weekly) {
        for (int day = 0; day < kWeekdayCount; ++day)
            if (entry->weekdayMask & (1 << day)) Check(dialog, IDC_WEEKDAY_FIRST + day, true);
    }
    if (offeredKinds & Monthly) {
        for (int month = 0; month < kMonthCount; ++month)
            if (entry->monthMask & (1 << month)) Check(dialog, IDC_MONTH_CHECK_FIRST + month, true);
    }
}

void StorageEditDialog::FillMonthlyLists() {
    HWND dialog = dialogWindow;
    AddItem(dialog, IDC_MONTHLY_TYPE_LIST, Text(L"DLG_MONTHLY_TYPE_BYDAY"), kMonthlyByDay);
    AddItem(dialog, IDC_MONTHLY_TYPE_LIST, Text(L"DLG_MONTHLY_TYPE_BYWEEKDAY"), kMonthlyByWeekday);
    if (entry->kind == Monthly &&
        (entry->monthlyMode == kMonthlyByDay || entry->monthlyMode == kMonthlyByWeekday))
        SelectIndex(dialog, IDC_MONTHLY_TYPE_LIST, entry->monthlyMode);

    for (int day = 1; day <= kLastDayIndex; ++day) {
        wchar_t number[8];
        swprintf(number, ARRAYSIZE(number), L"%d", day);
        AddItem(dialog, IDC_MONTH_DAY_LIST, number, day);
    }
    AddItem(dialog, IDC_MONTH_DAY_LIST, Text(L"DLG_MONTHLY_LASTDAY"), 0);
    SelectMonthDay();

    for (int week = 0; week < static_cast<int>(ARRAYSIZE(kWeekOrdinalKeys)); ++week)
        AddItem(dialog, IDC_MONTH_WEEK_LIST, Text(kWeekOrdinalKeys[week]), week);
    SelectIndex(dialog, IDC_MONTH_WEEK_LIST, entry->weekIndex);

    for (int day = 0; day < kWeekdayCount; ++day)
        AddItem(dialog, IDC_MONTH_WEEKDAY_LIST, Text(kWeekdayKeys[day]), 1 << day);
    SelectData(dialog, IDC_MONTH_WEEKDAY_LIST, entry->monthlyWeekday);
}

void StorageEditDialog::SelectMonthDay() {
    SelectIndex(dialogWindow, IDC_MONTH_DAY_LIST, DayIndex(entry->dayOfMonth));
}

void StorageEditDialog::SelectMonthWeek() {
    SelectIndex(dialogWindow, IDC_MONTH_WEEK_LIST, entry->weekIndex);
    SelectData(dialogWindow, IDC_MONTH_WEEKDAY_LIST,
               entry->monthlyWeekday == 0 ? kMondayBit : entry->monthlyWeekday);
}

void StorageEditDialog::OnRecurrenceChanged() {
    LRESULT kind = 0;
    SelectedData(dialogWindow, IDC_OCCURS_LIST, &kind);
    if (kind == Weekly) {
        for (int day = 0; day < kWeekdayCount; ++day)
            Check(dialogWindow, IDC_WEEKDAY_FIRST + day, true);
    } else if (kind == Monthly) {
        for (int month = 0; month < kMonthCount; ++month)
            Check(dialogWindow, IDC_MONTH_CHECK_FIRST + month, true);
        SelectData(dialogWindow, IDC_MONTHLY_TYPE_LIST, monthlyType);
        SelectMonthDay();
    }
    LayoutControls(static_cast<int32_t>(kind));
}

void StorageEditDialog::OnMonthlyTypeChanged() {
    LRESULT type = -1;
    SelectedData(dialogWindow, IDC_MONTHLY_TYPE_LIST, &type);
    monthlyType = static_cast<int32_t>(type);
    if (monthlyType == kMonthlyByDay) SelectMonthDay();
    if (monthlyType == kMonthlyByWeekday) SelectMonthWeek();
    LayoutControls(Monthly);
}

void StorageEditDialog::StoreValues() {
    HWND dialog = dialogWindow;
    LRESULT selectedKind;
    // An entry whose kind is not offered keeps all its schedule fields.
    if (!SelectedData(dialog, IDC_OCCURS_LIST, &selectedKind)) return;
    const auto kind = static_cast<int32_t>(selectedKind);
    entry->kind = kind;

    // "On" keeps an active value other than 1 that the list cannot show.
    int status;
    if (SelectedIndex(dialog, IDC_STATUS_LIST, &status) && (status == 0 || entry->active == 0))
        entry->active = status;

    // A hidden date picker still holds the entry's date; the next 24 hours start today.
    SYSTEMTIME date, time;
    int datePicker = kind == Yearly ? IDC_YEARLY_DATE_PICKER : IDC_DATE_PICKER;
    if (kind == Next24Hours || !PickerTime(dialog, datePicker, &date)) date = LocalNowFields();
    if (!PickerTime(dialog, IDC_TIME_PICKER, &time)) time = LocalNowFields();

    SYSTEMTIME chosen{};
    chosen.wYear = date.wYear;
    chosen.wMonth = date.wMonth;
    chosen.wDay = date.wDay;
    chosen.wHour = time.wHour;
    chosen.wMinute = time.wMinute;
    chosen.wSecond = showSeconds ? time.wSecond : 0;
    FILETIME start;
    if (SystemTimeToFileTime(&chosen, &start)) entry->startTime = start;

    // The next 24 hours: a time of day that is not later than now means tomorrow.
    if (kind == Next24Hours) {
        SYSTEMTIME now = LocalNowFields();
        now.wMilliseconds = 0;
        if (!showSeconds) now.wSecond = 0;
        FILETIME nowTime;
        SystemTimeToFileTime(&now, &nowTime);
        if (ToTicks(nowTime) >= ToTicks(entry->startTime))
            entry->startTime = FromTicks(ToTicks(entry->startTime) + kTicksPerDay);
    }

    entry->weekdayMask = 0;
    if (kind == Weekly) {
        for (int day = 0; day < kWeekdayCount; ++day)
            if (IsChecked(dialog, IDC_WEEKDAY_FIRST + day)) entry->weekdayMask |= 1 << day;
    }
    entry->monthMask = 0;
    if (kind == Monthly) StoreMonthly();
}

void StorageEditDialog::StoreMonthly() {
    HWND dialog = dialogWindow;
    for (int month = 0; month < kMonthCount; ++month)
        if (IsChecked(dialog, IDC_MONTH_CHECK_FIRST + month)) entry->monthMask |= 1 << month;

    LRESULT value;
    if (!SelectedData(dialog, IDC_MONTHLY_TYPE_LIST, &value)) return;
    entry->monthlyMode = static_cast<int16_t>(value);
    if (value == kMonthlyByDay) {
        if (SelectedData(dialog, IDC_MONTH_DAY_LIST, &value))
            entry->dayOfMonth = static_cast<int32_t>(value);
    } else if (value == kMonthlyByWeekday) {
        if (!SelectedData(dialog, IDC_MONTH_WEEK_LIST, &value)) return;
        entry->weekIndex = static_cast<int32_t>(value);
        if (SelectedData(dialog, IDC_MONTH_WEEKDAY_LIST, &value))
            entry->monthlyWeekday = static_cast<int32_t>(value);
    }
}
