#include "ui/editor/DZEditDialog.h"

#include <new>

#include "ui/editor/DialogControls.h"
#include "core/model/DZItem.h"
#include "core/model/Firings.h"
#include "ui/resources/resource.h"
#include "platform/core/BoundedText.h"
#include "core/text/FiringText.h"
#include "core/text/TextTable.h"

using namespace DialogControls;

namespace {

// Taken from the template's positions once per run, before the first move.
struct ActionRowMetrics {
    int optionsTop; // the options label
    int rowPitch;   // from the action label to the options label
    int occursTop;  // the Occurs label
};
ActionRowMetrics rows{};

const wchar_t* const kActionKeys[] = {L"DLG_PHONE_OFF", L"DLG_PHONE_ON", L"DLG_POWER_OFF"};

DZItem& ActionEntry(StorageItem* entry) {
    return *static_cast<DZItem*>(entry);
}

void ShowOptions(HWND dialog, bool label, bool on, bool off, bool discoverable) {
    Show(dialog, IDC_OPTIONS_LABEL, label);
    Show(dialog, IDC_BT_ON_CHECK, on);
    Show(dialog, IDC_BT_OFF_CHECK, off);
    Show(dialog, IDC_BT_DISCOVERABLE_CHECK, discoverable);
}

} // namespace

void DZEditDialog::SetTexts() {
    StorageEditDialog::SetTexts();
    SetText(dialogWindow, IDC_ACTION_LABEL, Text(L"DLG_ACTION"));
    SetText(dialogWindow, IDC_OPTIONS_LABEL, Text(L"DLG_OPTIONS"));
}

void DZEditDialog::InitControls() {
    StorageEditDialog::InitControls();
    HWND dialog = dialogWindow;
    if (sectionFont) {
        SetFont(dialog, IDC_ACTION_LABEL, sectionFont);
        SetFont(dialog, IDC_OPTIONS_LABEL, sectionFont);
    }

    if (!GetDlgItem(dialog, IDC_ACTION_LIST)) return;
    for (int action = 0; action < static_cast<int>(ARRAYSIZE(kActionKeys)); ++action)
        AddItem(dialog, IDC_ACTION_LIST, Text(kActionKeys[action]), action);
    // An action this editor does not know shows as an empty choice, which keeps it: the list
    // never shows a wrong one.
    const uint16_t action = ActionEntry(entry).action;
    if (action >= ARRAYSIZE(kActionKeys)) AddItem(dialog, IDC_ACTION_LIST, L"", action);
    SelectData(dialog, IDC_ACTION_LIST, action);
    InitOptionBoxes();

    const int occursTop = TopOf(dialog, IDC_OCCURS_LABEL);
    const int optionsTop = TopOf(dialog, IDC_OPTIONS_LABEL);
    rows = {optionsTop, optionsTop - TopOf(dialog, IDC_ACTION_LABEL), occursTop};
    rowsKnown = true;
    LayoutActionRows(dialog);
}

// The Bluetooth-off box belongs to phone off, the Bluetooth-on box with Discoverable to every
// other action; Discoverable can be chosen only while Bluetooth on is.
void DZEditDialog::InitOptionBoxes() {
    HWND dialog = dialogWindow;
    const DZItem& item = ActionEntry(entry);
    Enable(dialog, IDC_BT_DISCOVERABLE_CHECK, false);
    if (!(item.options & kOptionBluetooth)) return;
    if (item.action == PhoneOff) {
        Check(dialog, IDC_BT_OFF_CHECK, true);
        return;
    }
    Check(dialog, IDC_BT_ON_CHECK, true);
    if (item.options & kOptionDiscoverable) Check(dialog, IDC_BT_DISCOVERABLE_CHECK, true);
    Enable(dialog, IDC_BT_DISCOVERABLE_CHECK, true);
}

void DZEditDialog::LayoutActionRows(HWND dialog) {
    const int fieldOffset = TopOf(dialog, IDC_OCCURS_LIST) - TopOf(dialog, IDC_OCCURS_LABEL);
    LRESULT action = -1;
    SelectedData(dialog, IDC_ACTION_LIST, &action);

    // Without an action (an entry whose code is none of the three) no options are shown and
    // the Occurs row takes the options' place, as for power off.
    int y = rows.optionsTop;
    switch (action) {
    case PhoneOff:
        ShowOptions(dialog, true, false, true, false);
        SetText(dialog, IDC_BT_OFF_CHECK, Text(L"DLG_BT_OFF"));
        y = rows.occursTop + rows.optionsTop - 2 * fieldOffset - rows.rowPitch;
        break;
    case PhoneOn:
        ShowOptions(dialog, true, true, false, true);
        SetText(dialog, IDC_BT_ON_CHECK, Text(L"DLG_BT_ON"));
        SetText(dialog, IDC_BT_DISCOVERABLE_CHECK, Text(L"DLG_BT_DISC"));
        y = rows.occursTop + rows.optionsTop - rows.rowPitch - fieldOffset;
        break;
    default: ShowOptions(dialog, false, false, false, false); break;
    }

    MoveTop(dialog, IDC_OCCURS_LABEL, y);
    MoveTop(dialog, IDC_OCCURS_LIST, y + fieldOffset);
    MoveTop(dialog, IDC_OCCURS_SPIN, y + fieldOffset);
    MoveTop(dialog, IDC_DATE_LABEL, y + rows.rowPitch);
    MoveTop(dialog, IDC_DATE_PICKER, y + rows.rowPitch + fieldOffset);

    LRESULT kind = 0;
    SelectedData(dialog, IDC_OCCURS_LIST, &kind);
    LayoutControls(static_cast<int32_t>(kind));
}

void DZEditDialog::OnBluetoothOnClicked() {
    bool on = IsChecked(dialogWindow, IDC_BT_ON_CHECK);
    if (!on) Check(dialogWindow, IDC_BT_DISCOVERABLE_CHECK, false);
    Enable(dialogWindow, IDC_BT_DISCOVERABLE_CHECK, on);
}

INT_PTR DZEditDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) rowsKnown = false;
    // The action's own controls answer once the rows they move are known.
    if (message == WM_COMMAND && rowsKnown) {
        switch (LOWORD(wParam)) {
        case IDC_ACTION_LIST:
            if (HIWORD(wParam) == LBN_SELCHANGE) LayoutActionRows(window);
            return TRUE;
        case IDC_BT_ON_CHECK: OnBluetoothOnClicked(); return TRUE;
        }
    }
    return StorageEditDialog::DialogProc(window, message, wParam, lParam);
}

// The boxes count whether they are shown or not: the box of the chosen action gives bit 0,
// Discoverable bit 1. What the editor cannot show stays as it was: option bits above these
// two, and the options of an action it does not know.
void DZEditDialog::StoreValues() {
    StorageEditDialog::StoreValues();
    HWND dialog = dialogWindow;
    if (!GetDlgItem(dialog, IDC_ACTION_LIST)) return; // the boxes were never filled
    DZItem& item = ActionEntry(entry);
    LRESULT action;
    if (SelectedData(dialog, IDC_ACTION_LIST, &action)) item.action = static_cast<uint16_t>(action);
    if (item.action >= ARRAYSIZE(kActionKeys)) return;
    auto options = static_cast<uint16_t>(item.options & ~(kOptionBluetooth | kOptionDiscoverable));
    int bluetoothBox = item.action == PhoneOff ? IDC_BT_OFF_CHECK : IDC_BT_ON_CHECK;
    if (IsChecked(dialog, bluetoothBox)) options |= kOptionBluetooth;
    if (IsChecked(dialog, IDC_BT_DISCOVERABLE_CHECK)) options |= kOptionDiscoverable;
    item.options = options;
}

namespace {

// Entries clash when they would do different things in the same minute.
bool DifferentAction(const StorageItem& a, const StorageItem& b) {
    const DZItem& x = static_cast<const DZItem&>(a);
    const DZItem& y = static_cast<const DZItem&>(b);
    return x.action != y.action || x.options != y.options;
}

constexpr int kClashDays = 7;

} // namespace

StorageItem* DZEditDialog::CopyOfEntry(const StorageItem& of) const {
    auto* copy = new (std::nothrow) DZItem();
    if (!copy) return nullptr;
    CopySchedule(of, *copy);
    copy->action = static_cast<const DZItem&>(of).action;
    copy->options = static_cast<const DZItem&>(of).options;
    copy->owner = of.owner;
    return copy;
}

bool DZEditDialog::Validate() {
    // The list the entry is edited for: its own, or for a new entry the one it will join.
    const StorageList* list = entry->owner;
    if (!list) return true;
    DZItem edited;
    edited.action = ActionEntry(entry).action;
    edited.options = ActionEntry(entry).options;
    StoreInto(&edited, true);
    Clash clash{};
    if (!FindClash(edited, *list, original, LocalNow(), kClashDays, DifferentAction, &clash))
        return true;
    wchar_t phrase[kEntryTextSize], when[kEntryTextSize], question[kEntryTextSize];
    clash.other->FormatAction(phrase, kEntryTextSize);
    FormatFiringInstant(clash.instant, when, kEntryTextSize);
    BoundedText(question, kEntryTextSize)
        .Add(Text(L"MSG_CLASH_SAME_MINUTE"))
        .Add(L"\n")
        .Add(phrase)
        .Add(L"\n")
        .Add(when)
        .Add(L"\n")
        .Add(Text(L"MSG_CLASH_KEEP_BOTH"));
    return MessageBoxW(dialogWindow, question, g_textTable.AppName(), MB_YESNO | MB_ICONWARNING) ==
           IDYES;
}
