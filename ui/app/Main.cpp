#include "ui/app/Main.h"

#include <objbase.h>
#include <shellapi.h>
#include <commctrl.h>

#include <cwchar>

#include "platform/shell/SmartphoneShell.h"
#include "platform/shell/StatusStripTexts.h"
#include "ui/app/AppState.h"
#include "ui/app/LastRuns.h"
#include "ui/app/MainWindow.h"
#include "ui/app/SingleInstance.h"
#include "contract/EngineContract.h"
#include "ui/resources/resource.h"
#include "platform/core/BoundedText.h"
#include "platform/core/FileIo.h"
#include "core/text/TextTable.h"
#include "platform/core/ProgramDirectory.h"

namespace {

// Users keep tens of entries. A damaged or hostile file of a million entries froze the program
// for 51 s at 660 MB (every entry made, a row inserted and sorted on this thread); the entries
// past this many are told and kept aside as a damaged tail.
constexpr long kMostEntries = 1000;

HBITMAP LoadActionBitmap(int id) {
    return LoadBitmapW(g_instance, MAKEINTRESOURCEW(id));
}

// The phone's status strip above the program speaks the user's language too.
void HandTextsToStatusStrip() {
    SetStatusStripTexts({Text(L"STATUS_RADIO_ON"), Text(L"STATUS_RADIO_OFF"),
                         Text(L"STATUS_RADIO_PART"), Text(L"STATUS_RADIO_UNKNOWN"),
                         Text(L"STATUS_BT_OFF"), Text(L"STATUS_BT_ON"), Text(L"STATUS_BT_VISIBLE"),
                         Text(L"STATUS_BT_UNKNOWN")});
}

// The text table is missing or holds no text, so this message cannot come from it: fixed words
// that name the file. The name alone: a folder path has no blank to wrap at, and the box grew
// wider than the phone's screen.
void TellTextFileUnreadable() {
    wchar_t file[MAX_PATH + 16];
    ProgramDirectory(file);
    BoundedText(file + wcslen(file), 16).Add(L"local.dat");
    const bool found = GetFileAttributesW(file) != INVALID_FILE_ATTRIBUTES;
    MessageBoxW(nullptr,
                found ? L"Can't read resource file!\nlocal.dat"
                      : L"Can't find resource file!\nlocal.dat",
                L"Info", MB_OK | MB_ICONERROR);
}

// The file could not be read whole: the user learns it at start-up, and where the file is
// kept, before any change is saved over it. Without a copy no change is saved over it
// (StorageList::Save), which the message says too.
void TellUnreadEntries() {
    const LoadReport::State state = g_entryList.LastLoad().state;
    if (state != LoadReport::Refused && state != LoadReport::DamagedTail) return;
    const bool kept = g_entryList.KeepAsideNow();
    wchar_t message[2 * kEntryTextSize];
    BoundedText text(message, 2 * kEntryTextSize);
    if (state == LoadReport::Refused)
        text.Add(Text(L"MSG_STORAGE_REFUSED"));
    else if (g_entryList.LastLoad().overLimit)
        text.AddWithNumber(Text(L"MSG_STORAGE_TOO_MANY"), static_cast<int>(g_entryList.entryLimit));
    else
        text.Add(Text(L"MSG_STORAGE_DAMAGED"));
    text.Add(L"\n");
    if (kept)
        text.Add(Text(L"MSG_STORAGE_KEPT")).Add(L"\n").Add(NameInPath(g_entryList.KeptAs()));
    else
        text.Add(Text(L"MSG_STORAGE_NOT_KEPT"));
    MessageBoxW(g_scheduleList.ListWindow(), message, g_textTable.AppName(),
                MB_OK | MB_ICONEXCLAMATION);
    SetFocus(g_scheduleList.ListWindow());
}

void DeleteActionBitmap(HBITMAP& bitmap) {
    if (bitmap) DeleteObject(bitmap);
    bitmap = nullptr;
}

} // namespace

int RunProgram(HINSTANCE instance, int showCommand) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (!InitInstance(instance, showCommand)) {
        CoUninitialize();
        return 0;
    }
    MSG message;
    BOOL got;
    // -1 (the queue cannot be read) ends the loop too, rather than spinning on it.
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    CoUninitialize();
    return got == 0 ? static_cast<int>(message.wParam) : 0;
}

bool InitInstance(HINSTANCE instance, int showCommand) {
    g_instance = instance;
    if (!TakeInstance()) return false;
    // A file in an encoding it cannot read gives no text at all: every word would show as
    // "<undefined>".
    if (!g_textTable.Load() || g_textTable.Empty()) {
        TellTextFileUnreadable();
        return false;
    }
    HandTextsToStatusStrip();
    // The entry list leaves its path empty when the folder is too long for the file's name.
    if (!g_entryList.path[0]) {
        MessageBoxW(nullptr, Text(L"MSG_PATH_TOO_LONG"), g_textTable.AppName(),
                    MB_OK | MB_ICONERROR);
        return false;
    }
    // The engine runs before any window of ours exists.
    if (!StartEngine()) {
        MessageBoxW(nullptr, Text(L"MSG_NO_ENGINE"), g_textTable.AppName(), MB_OK | MB_ICONERROR);
        return false;
    }
    const wchar_t* appName = g_textTable.AppName();
    wchar_t className[kClassNameSize];
    MainWindowClassName(className);

    // One call into the shell library before the common controls, passing nothing; the area
    // it names is not needed here, since the softkey bar places the window in it.
    PhoneWorkArea();

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES};
    if (!InitCommonControlsEx(&controls)) return false;
    LoadImages();

    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = g_appIcon;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className;
    if (!RegisterClassW(&windowClass)) return false;

    g_mainWindow = CreateWindowExW(0, className, appName, WS_VISIBLE | WS_CLIPCHILDREN,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   nullptr, nullptr, instance, nullptr);
    if (!g_mainWindow) return false;
    MarkInstanceWindow(g_mainWindow);
    if (!g_scheduleList.CreateListView(g_mainWindow)) {
        DestroyWindow(g_mainWindow);
        return false;
    }
    // A missing file leaves the list empty; one that cannot be read now is read again later.
    g_entryList.entryLimit = kMostEntries;
    g_entryList.LoadRecovering();
    // The start finished a save that a power cut interrupted: the engine read the file before.
    if (g_entryList.LastLoad().saveFinished) SignalEngineRefresh();
    if (!FillList()) {
        g_scheduleList.DestroyListView();
        g_entryList.Clear();
        DestroyWindow(g_mainWindow);
        return false;
    }
    RereadWhileUnreadable();
    ReloadRunHistory();
    ShowWindow(g_mainWindow, showCommand);
    // The lowest bit brings the window forward together with the windows it owns.
    PhoneSetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<ULONG_PTR>(g_mainWindow) | 1));
    TellUnreadEntries();
    return true;
}

void MainWindowClassName(wchar_t (&name)[kClassNameSize]) {
    // A longer name is refused (256 characters) or corrupts Wine 8's heap (300); the title
    // takes the whole text.
    CopyCut(name, kClassNameSize, g_textTable.AppName());
}

bool StartEngine() {
    HANDLE ready = OpenEventW(EVENT_ALL_ACCESS, FALSE, DZ_ENGINE_READY_EVENT);
    if (ready) {
        CloseHandle(ready);
        return true;
    }
    wchar_t folder[MAX_PATH] = L"";
    SHGetSpecialFolderPath(nullptr, folder, CSIDL_PROGRAM_FILES, FALSE);
    wchar_t path[MAX_PATH];
    // A path that does not fit cannot name the engine; launching a cut one would start
    // whatever it happens to name.
    if (BoundedText(path, MAX_PATH).Add(folder).Add(DZ_ENGINE_RELATIVE_PATH).Cut()) return false;

    // The event exists before the engine starts, so the engine finds it by name.
    ready = CreateEventW(nullptr, TRUE, FALSE, DZ_ENGINE_READY_EVENT);
    if (!ready) return false;
    SHELLEXECUTEINFOW launch{};
    launch.cbSize = sizeof launch;
    // The failure is ours to tell, in the user's language: no second box from the shell.
    launch.fMask = SEE_MASK_FLAG_NO_UI;
    launch.lpVerb = L"Open";
    launch.lpFile = path;
    launch.nShow = SW_SHOW;
    if (!ShellExecuteExW(&launch)) {
        CloseHandle(ready);
        return false;
    }
    const DWORD waited = WaitForSingleObject(ready, kEngineReadyTimeoutMs);
    CloseHandle(ready);
    return waited == WAIT_OBJECT_0;
}

void SignalEngineRefresh() {
    // The engine creates this event; when it does not run there is nobody to tell.
    HANDLE refresh = OpenEventW(EVENT_ALL_ACCESS, FALSE, DZ_ENGINE_REFRESH_EVENT);
    if (!refresh) return;
    EventModify(refresh, EVENT_SET);
    CloseHandle(refresh);
}

void LoadImages() {
    g_appIcon = LoadIconW(g_instance, MAKEINTRESOURCEW(IDI_APP));
    g_entryScreen.phoneOff = LoadActionBitmap(IDB_ACTION_PHONE_OFF);
    g_entryScreen.phoneOn = LoadActionBitmap(IDB_ACTION_PHONE_ON);
    g_entryScreen.powerOff = LoadActionBitmap(IDB_ACTION_POWER_OFF);
    g_entryList.screen = &g_entryScreen;
}

void ReleaseResources() {
    ReleaseInstance(g_mainWindow);
    g_scheduleList.DestroyListView();
    // Nothing is saved here: every change was saved when it was made, or again at Exit.
    g_entryList.Clear();
    DeleteActionBitmap(g_entryScreen.phoneOff);
    DeleteActionBitmap(g_entryScreen.phoneOn);
    DeleteActionBitmap(g_entryScreen.powerOff);
}
