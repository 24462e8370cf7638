// editorshots ACTION KIND [end]: opens the action editor on an entry with that action
// (phoneoff, phoneon, poweroff) and kind (next24h, once, weekly), and stays until it is
// ended. editorshots framework monthly-byday|monthly-byweekday|yearly [end] opens the general
// editor on a template that holds the monthly and yearly controls. With "end" the last row
// takes the focus, so the dialog shows its lower part. Used by shots.sh.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "tests/editor/EditorTestResources.h"
#include "ui/editor/EditorFactories.h"
#include "ui/editor/StorageEditDialog.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"
#include "ui/resources/resource.h"
#include "core/text/TextTable.h"

namespace {

struct Name {
    const wchar_t* name;
    int value;
};

const Name kActions[] = {{L"phoneoff", PhoneOff}, {L"phoneon", PhoneOn}, {L"poweroff", PowerOff}};
const Name kKinds[] = {{L"next24h", Next24Hours},
                       {L"once", Once},
                       {L"weekly", Weekly},
                       {L"monthly-byday", Monthly},
                       {L"monthly-byweekday", Monthly},
                       {L"yearly", Yearly}};

bool Find(const Name* names, size_t count, const wchar_t* wanted, int* value) {
    for (size_t i = 0; i < count; ++i) {
        if (wcscmp(names[i].name, wanted) == 0) {
            *value = names[i].value;
            return true;
        }
    }
    return false;
}

BOOL CALLBACK FocusLastRow(HWND window, LPARAM) {
    wchar_t className[16];
    if (GetClassNameW(window, className, 16) && wcscmp(className, L"#32770") == 0) {
        SetFocus(GetDlgItem(window, IDC_STATUS_LIST));
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ShowEnd(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    EnumThreadWindows(GetCurrentThreadId(), FocusLastRow, 0);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int kind;
    if (argc < 3 || !Find(kKinds, ARRAYSIZE(kKinds), argv[2], &kind)) {
        fwprintf(stderr, L"usage: editorshots ACTION|framework KIND [end]\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    if (!g_textTable.Load()) return 1;
    EntryScreen screen;
    InstallEditorFactories(&screen);
    DZList owner; // lends the entry its editors
    owner.screen = &screen;
    if (argc > 3 && wcscmp(argv[3], L"end") == 0) SetTimer(nullptr, 0, 500, ShowEnd);

    DZItem entry;
    entry.kind = kind;
    entry.weekdayMask = 0x1F;
    if (wcscmp(argv[1], L"framework") == 0) {
        entry.monthMask = 0x3F0;
        entry.monthlyMode = wcscmp(argv[2], L"monthly-byweekday") == 0 ? 1 : 0;
        entry.dayOfMonth = 15;
        entry.weekIndex = 1;
        entry.monthlyWeekday = 16;
        StorageEditDialog editor(IDD_FRAMEWORK_TEST, Weekly | Once | Next24Hours | Monthly | Yearly,
                                 0);
        return editor.RunModal(nullptr, &entry);
    }
    int action;
    if (!Find(kActions, ARRAYSIZE(kActions), argv[1], &action)) return 2;
    entry.action = static_cast<uint16_t>(action);
    entry.options = kOptionBluetooth;
    entry.owner = &owner;
    return entry.Edit(nullptr);
}
