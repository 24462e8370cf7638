#include "ui/app/MainWindow.h"

#include <cwchar>

#include "platform/core/BoundedText.h"
#include "platform/core/FileIo.h"
#include "platform/shell/SmartphoneShell.h"
#include "platform/shell/SoftkeyCaptions.h"
#include "ui/app/AppState.h"
#include "ui/app/ComingUp.h"
#include "ui/app/LastRuns.h"
#include "ui/app/Help.h"
#include "ui/app/Main.h"
#include "ui/app/RunNow.h"
#include "ui/app/SingleInstance.h"
#include "ui/resources/resource.h"
#include "core/text/TextTable.h"

namespace {

bool SetMenuCaption(UINT command, const wchar_t* text) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE;
    item.fType = MFT_STRING;
    item.dwTypeData = const_cast<wchar_t*>(text);
    item.cch = static_cast<UINT>(wcslen(text));
    return SetMenuItemInfoW(g_menu, command, FALSE, &item);
}

// While "storage.dat" exists but cannot be read, it is read again this often.
constexpr UINT_PTR kRereadTimer = 1;
constexpr UINT kRereadEveryMs = 2000;

bool StorageUnreadable() {
    return g_entryList.LastLoad().state == LoadReport::Unreadable;
}

// Reads the file again; true when it could be read this time. Entries made meanwhile stay
// behind the file's own.
bool RereadEntries() {
    g_entryList.Reload();
    if (StorageUnreadable()) return false;
    KillTimer(g_mainWindow, kRereadTimer);
    FillList();
    return true;
}

// A change is in memory that no save has taken to the file yet.
bool g_changeUnsaved = false;

// The entry list was saved: only then is the engine told to read it again. A failed save keeps
// the change in memory and on screen, and the file on disk stays what the engine last read.
bool SaveChanges() {
    // Saving can wait up to about three seconds for a reader of the file to let go.
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    if (StorageUnreadable()) RereadEntries();
    const bool saved = g_entryList.Save();
    SetCursor(previous);
    g_changeUnsaved = !saved;
    if (saved) SignalEngineRefresh();
    return saved;
}

// A save that failed is told; the next save that succeeds takes the change along, and Exit
// tries again. Something standing where the save writes its own files (a folder named like
// them) fails every save until the user removes it, so that message names it.
void SaveAndSignal() {
    if (SaveChanges()) return;
    wchar_t message[2 * kEntryTextSize];
    BoundedText text(message, 2 * kEntryTextSize);
    const SaveReport& save = g_entryList.LastSave();
    if (save.state == SaveReport::Blocked) {
        // A line of its own between, so that the name does not read as part of the sentence.
        text.Add(Text(L"MSG_SAVE_BLOCKED")).Add(L"\n\n").Add(NameInPath(save.blockedBy));
    } else {
        text.Add(Text(L"MSG_NOT_SAVED"));
    }
    MessageBoxW(g_scheduleList.ListWindow(), message, g_textTable.AppName(),
                MB_OK | MB_ICONEXCLAMATION);
    SetFocus(g_scheduleList.ListWindow());
}

// Exit keeps what the user changed: a change not yet saved is saved now, and while that fails
// the user chooses between trying again (Yes) and ending without it (No).
void OnExit(HWND window) {
    if (RunNowRunning()) {
        ExitAfterRun();
        return;
    }
    // A dialog or question is open: it is answered first.
    if (!IsWindowEnabled(window)) return;
    while (g_changeUnsaved && !SaveChanges()) {
        if (MessageBoxW(g_scheduleList.ListWindow(), Text(L"MSG_EXIT_NOT_SAVED"),
                        g_textTable.AppName(), MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            break;
    }
    DestroyWindow(window);
}

// The list started empty, so every entry in memory was made meanwhile: they are saved together
// with the file's own.
void OnRereadTimer() {
    // Not under an open editor or question: the rows it holds stay as they are.
    if (!IsWindowEnabled(g_mainWindow)) return;
    // Reading waits up to a second for a file held without sharing: the timer only tries once
    // the file opens, so the window does not freeze on every tick.
    if (!FileOpensNow(g_entryList.path)) return;
    const bool madeMeanwhile = g_entryList.head != nullptr;
    if (RereadEntries() && madeMeanwhile) SaveAndSignal();
}

StorageItem* SelectedEntry() {
    if (g_scheduleList.GetRowCount() == 0) return nullptr;
    const int row = g_scheduleList.GetSelectedRow();
    return row < 0 ? nullptr : g_scheduleList.GetRowEntry(row);
}

// Every change to the entries ends here, whatever the command: the rows follow the entry list
// with `selected` chosen (the row at `fallbackRow` when it is gone), then the list is saved and
// the engine told. The rows follow before the save, so that the box a failed save shows
// stands over the list as it now is, and no row points at a removed entry meanwhile.
void ShowAndSave(const StorageItem* selected, int fallbackRow) {
    g_scheduleList.Follow(g_entryList, selected, fallbackRow);
    SaveAndSignal();
}

// Activated while a dialog or box of ours is open over it (a second start brought it
// forward): the open window keeps the keys. Focusing the list then sent them to the list under
// a live About box, and the menu deleted the entry that a hidden editor held.
void OnActivate(HWND window, WPARAM wParam) {
    const WORD state = LOWORD(wParam);
    if (state != WA_ACTIVE && state != WA_CLICKACTIVE) return;
    if (!IsWindowEnabled(window)) {
        const HWND inCharge = WindowInCharge(window);
        if (inCharge != window) SetActiveWindow(inCharge);
        return;
    }
    if (!IsWindowEnabled(g_scheduleList.ListWindow())) return;
    SetFocus(g_scheduleList.ListWindow());
    // The engine may have run something while another window was in front.
    ReloadRunHistory();
}

void OnDestroy() {
    // What Exit chose stands: a later start reads the file afresh.
    g_changeUnsaved = false;
    ReleaseResources();
    if (g_menuBar) DestroyWindow(g_menuBar);
    g_menuBar = nullptr;
    PostQuitMessage(0);
}

bool OnCommand(HWND window, WORD command) {
    // While a dialog, a question or a run holds the main window disabled, no command reaches
    // the entries: the editor's entry stays, and so does the one being run.
    if (!IsWindowEnabled(window) && command != IDM_EXIT) return true;
    switch (command) {
    case IDM_NEW: OnNewEntry(); return true;
    case IDM_EDIT: OnEditEntry(); return true;
    case IDM_DELETE: OnDeleteEntry(); return true;
    case IDM_TOGGLE_ACTIVE: OnToggleActive(); return true;
    case IDM_ABOUT: ShowAbout(window); return true;
    case IDM_HELP: ShowHelp(window); return true;
    case IDM_COMING_UP: ShowComingUp(window); return true;
    case IDM_LAST_RUNS: ShowLastRuns(window); return true;
    case IDM_RUN_NOW: OnRunNow(); return true;
    case IDM_EXIT: OnExit(window); return true;
    default: return false;
    }
}

} // namespace

// The class procedure; once the schedule list exists its parent subclass runs first
// (ListViewEx::ParentSubclassProc) and hands on what it does not handle itself.
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return CreateMainMenuBar(window) ? 0 : -1;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_ACTIVATE: OnActivate(window, wParam); return 0;
    case WM_CLOSE: OnExit(window); return 0;
    case WM_INITMENUPOPUP: UpdateMenuState(); return 0;
    case WM_TIMER:
        if (wParam != kRereadTimer) break;
        OnRereadTimer();
        return 0;
    case WM_COMMAND:
        if (OnCommand(window, LOWORD(wParam))) return 0;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool CreateMainMenuBar(HWND mainWindow) {
    g_menuBar = CreateSoftkeyBar(mainWindow, IDR_MAIN_MENU, g_instance);
    if (!g_menuBar) return false;
    g_menu = reinterpret_cast<HMENU>(SendMessageW(g_menuBar, SHCMBM_GETMENU, 0, 0));
    if (!g_menu) return false;

    SetSoftkeyCaption(g_menuBar, IDM_NEW, Text(L"BTN_NEW"));
    SetSoftkeyCaption(g_menuBar, 0, Text(L"BTN_MENU"));
    // Lookups always yield a text ("<undefined>" for a missing key).
    SetMenuCaption(IDM_DELETE, Text(L"MENU_DELETE"));
    SetMenuCaption(IDM_TOGGLE_ACTIVE, Text(L"MENU_DISABLE"));
    SetMenuCaption(IDM_RUN_NOW, Text(L"MENU_RUN_NOW"));
    SetMenuCaption(IDM_COMING_UP, Text(L"MENU_COMING_UP"));
    SetMenuCaption(IDM_LAST_RUNS, Text(L"MENU_LAST_RUNS"));
    SetMenuCaption(IDM_ABOUT, Text(L"MENU_ABOUT"));
    SetMenuCaption(IDM_HELP, Text(L"MENU_HELP"));
    SetMenuCaption(IDM_EXIT, Text(L"MENU_EXIT"));
    return true;
}

void UpdateMenuState() {
    const bool haveRow = g_scheduleList.GetRowCount() > 0 && g_scheduleList.GetSelectedRow() >= 0;
    const UINT state = haveRow ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(g_menu, IDM_DELETE, MF_BYCOMMAND | state);
    EnableMenuItem(g_menu, IDM_TOGGLE_ACTIVE, MF_BYCOMMAND | state);
    EnableMenuItem(g_menu, IDM_RUN_NOW, MF_BYCOMMAND | state);
    if (!haveRow) return;
    const StorageItem* entry = g_scheduleList.GetRowEntry(g_scheduleList.GetSelectedRow());
    const bool active = entry && entry->active;
    SetMenuCaption(IDM_TOGGLE_ACTIVE, Text(active ? L"MENU_DISABLE" : L"MENU_ACTIVATE"));
}

void RereadWhileUnreadable() {
    if (StorageUnreadable()) SetTimer(g_mainWindow, kRereadTimer, kRereadEveryMs, nullptr);
}

bool FillList() {
    return g_scheduleList.Follow(g_entryList, nullptr, 0);
}

void OnNewEntry() {
    // Called by name, not through the virtual table: New always makes this program's action
    // entry (DZList's choice), even where a list derived from DZList would choose another.
    StorageItem* entry = g_entryList.DZList::CreateEntry();
    if (!entry) return;
    // The list the new entry will join, so its editor can compare it with the others; Append
    // below sets the same.
    entry->owner = &g_entryList;
    if (entry->Edit(g_scheduleList.ListWindow()) != kEditDone) {
        delete entry;
        return;
    }
    g_entryList.Append(entry);
    ShowAndSave(entry, 0);
}

void OnEditEntry() {
    StorageItem* entry = SelectedEntry();
    if (!entry || entry->Edit(g_scheduleList.ListWindow()) != kEditDone) return;
    // The edited entry may move; the selection moves with it.
    ShowAndSave(entry, 0);
}

void OnDeleteEntry() {
    if (!SelectedEntry()) return;
    HWND list = g_scheduleList.ListWindow();
    // Only a clear Yes deletes: a box that could not be shown (0) asked nobody.
    if (MessageBoxW(list, Text(L"MSG_CONFIRM_DELETE"), g_textTable.AppName(),
                    MB_YESNO | MB_ICONQUESTION) != IDYES) {
        SetFocus(list);
        return;
    }
    // The row below moves into the deleted one's place; after the last row, the one above.
    const int row = g_scheduleList.GetSelectedRow();
    StorageItem* entry = SelectedEntry();
    if (!entry) return;
    g_entryList.Remove(entry);
    ShowAndSave(nullptr, row);
}

void OnToggleActive() {
    StorageItem* entry = SelectedEntry();
    if (!entry) return;
    entry->active = entry->active == 0 ? 1 : 0;
    ShowAndSave(entry, 0);
}
