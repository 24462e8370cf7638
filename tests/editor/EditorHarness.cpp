#include "EditorHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/shell/SoftkeyBar.h"
#include "ui/app/AppState.h"
#include "ui/editor/EditorFactories.h"
#include "core/model/DZList.h"
#include "core/text/TextTable.h"

namespace {

// The program's start-up as far as the editor needs it: common controls, texts, factories.
class EditorEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls,
                                      ICC_DATE_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
        ASSERT_TRUE(g_textTable.Load()) << "local.dat must lie beside the test";
        // The program's own screen, which its list lends the entries of the user-path tests.
        InstallEditorFactories(&g_entryScreen);
        EditorScreenList().screen = &g_entryScreen;
    }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new EditorEnvironment);

const EditorScript* pendingScript = nullptr;
bool leftOpen = false;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    wchar_t className[16];
    if (IsWindowVisible(window) && GetClassNameW(window, className, ARRAYSIZE(className)) &&
        lstrcmpW(className, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ScriptTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || !pendingScript) return;
    KillTimer(nullptr, timer);
    const EditorScript* script = pendingScript;
    pendingScript = nullptr;
    (*script)(dialog);
    if (IsWindow(dialog) && IsWindowVisible(dialog)) {
        leftOpen = true;
        EndDialog(dialog, kLeftOpen);
    }
}

HWND Control(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
}

// The modal loop's own handling of queued input, keyboard navigation included.
void PumpAsDialog(HWND dialog) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (IsDialogMessageW(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void PressSoftkey(HWND dialog, Softkey key) {
    HWND bar = SoftkeyBarOf(dialog);
    ASSERT_NE(bar, nullptr) << "the editor has no softkey bar";
    SendMessageW(bar, WM_PRESS_SOFTKEY, key, 0);
}

} // namespace

int RunWithScript(const EditorScript& script, const std::function<int()>& run) {
    pendingScript = &script;
    leftOpen = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, ScriptTimer);
    int result = run();
    KillTimer(nullptr, timer);
    pendingScript = nullptr;
    return leftOpen ? kLeftOpen : result;
}

int RunEditor(EntryEditor& editor, StorageItem& entry, const EditorScript& script) {
    return RunWithScript(script, [&] { return editor.RunModal(nullptr, &entry); });
}

StorageList& EditorScreenList() {
    static DZList list;
    return list;
}

int EditEntry(StorageItem& entry, const EditorScript& script) {
    if (!entry.owner) entry.owner = &EditorScreenList();
    return RunWithScript(script, [&] { return entry.Edit(nullptr); });
}

void SelectItem(HWND dialog, int listId, int index) {
    HWND list = Control(dialog, listId);
    ASSERT_NE(SendMessageW(list, LB_SETCURSEL, index, 0), LB_ERR) << "item " << index;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

void SelectKind(HWND dialog, int32_t kind) {
    std::vector<LRESULT> kinds = ItemData(dialog, 2203);
    for (size_t index = 0; index < kinds.size(); ++index) {
        if (kinds[index] == kind) return SelectItem(dialog, 2203, static_cast<int>(index));
    }
    ADD_FAILURE() << "kind " << kind << " is not offered";
}

void Click(HWND dialog, int boxId) {
    HWND box = Control(dialog, boxId);
    ASSERT_TRUE(IsWindowVisible(box) && IsWindowEnabled(box)) << "box " << boxId;
    SendMessageW(box, BM_CLICK, 0, 0);
}

void SetPicker(HWND dialog, int pickerId, const SYSTEMTIME& value) {
    HWND picker = Control(dialog, pickerId);
    ASSERT_TRUE(
        SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value)));
    NMDATETIMECHANGE change{};
    change.nmhdr.hwndFrom = picker;
    change.nmhdr.idFrom = static_cast<UINT_PTR>(pickerId);
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = GDT_VALID;
    change.st = value;
    SendMessageW(dialog, WM_NOTIFY, pickerId, reinterpret_cast<LPARAM>(&change));
}

void PressDone(HWND dialog) {
    PressSoftkey(dialog, LeftSoftkey);
}

void PressCancel(HWND dialog) {
    PressSoftkey(dialog, RightSoftkey);
}

void PressKey(HWND dialog, int controlId, WPARAM key) {
    HWND control = Control(dialog, controlId);
    SetFocus(control);
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, 0xC0000001);
    PumpAsDialog(dialog);
}

int TopInUnits(HWND dialog, int templateUnits) {
    RECT units{0, templateUnits, 0, templateUnits};
    MapDialogRect(dialog, &units);
    return units.top;
}

int ClientTop(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(Control(dialog, id), &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect.top;
}

bool Visible(HWND dialog, int id) {
    return IsWindowVisible(Control(dialog, id)) != FALSE;
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(Control(dialog, id)) != FALSE;
}

bool Checked(HWND dialog, int id) {
    return SendMessageW(Control(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int Selection(HWND dialog, int listId) {
    return static_cast<int>(SendMessageW(Control(dialog, listId), LB_GETCURSEL, 0, 0));
}

LRESULT SelectedData(HWND dialog, int listId) {
    int index = Selection(dialog, listId);
    return index < 0 ? -1 : SendMessageW(Control(dialog, listId), LB_GETITEMDATA, index, 0);
}

int ItemCount(HWND dialog, int listId) {
    return static_cast<int>(SendMessageW(Control(dialog, listId), LB_GETCOUNT, 0, 0));
}

std::wstring SelectedText(HWND dialog, int listId) {
    const int selected = Selection(dialog, listId);
    if (selected < 0) return L"<none>";
    wchar_t text[256] = L"";
    SendMessageW(Control(dialog, listId), LB_GETTEXT, selected, reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<LRESULT> ItemData(HWND dialog, int listId) {
    std::vector<LRESULT> data;
    for (int index = 0; index < ItemCount(dialog, listId); ++index)
        data.push_back(SendMessageW(Control(dialog, listId), LB_GETITEMDATA, index, 0));
    return data;
}

SYSTEMTIME PickerValue(HWND dialog, int pickerId) {
    SYSTEMTIME value{};
    EXPECT_EQ(SendMessageW(Control(dialog, pickerId), DTM_GETSYSTEMTIME, 0,
                           reinterpret_cast<LPARAM>(&value)),
              GDT_VALID);
    return value;
}

std::vector<uint8_t> SavedRecord(const StorageItem& entry) {
    wchar_t folder[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"dze", 0, path);
    std::vector<uint8_t> bytes;
    FILE* file = _wfopen(path, L"w+b");
    EXPECT_NE(file, nullptr);
    if (!file) return bytes;
    EXPECT_TRUE(entry.Write(file));
    rewind(file);
    for (int c; (c = fgetc(file)) != EOF;)
        bytes.push_back(static_cast<uint8_t>(c));
    fclose(file);
    DeleteFileW(path);
    return bytes;
}

SYSTEMTIME AsSystemTime(const FILETIME& time) {
    SYSTEMTIME t{};
    FileTimeToSystemTime(&time, &t);
    return t;
}

FILETIME AsFileTime(const SYSTEMTIME& time) {
    FILETIME f{};
    SystemTimeToFileTime(&time, &f);
    return f;
}
