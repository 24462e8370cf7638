#include "tests/app/AppHarness.h"

#include <algorithm>
#include <cwchar>
#include <fstream>
#include <iterator>

#include "platform/shell/SmartphoneShell.h"
#include "ui/app/AppState.h"
#include "ui/app/Main.h"
#include "core/model/DZList.h"
#include "contract/EngineContract.h"
#include "core/model/EntryEditor.h"
#include "platform/core/ProgramDirectory.h"

#include <shellapi.h>

namespace {

DialogAnswerer* g_answerer = nullptr;
bool g_quitSeen = false;

const wchar_t* const kTestTexts[] = {
    L"APP_NAME, " TEST_APP_NAME,
    L"MSG_NO_ENGINE, T-NO-ENGINE",
    L"BTN_NEW, T-NEW",
    L"BTN_MENU, T-MENU",
    L"MENU_DELETE, T-DELETE",
    L"MENU_DISABLE, T-DISABLE",
    L"MENU_ACTIVATE, T-ACTIVATE",
    L"MENU_ABOUT, T-ABOUT-ITEM",
    L"MENU_HELP, T-HELP-ITEM",
    L"MENU_EXIT, T-EXIT",
    L"MSG_CONFIRM_DELETE, T-CONFIRM",
    L"MSG_ABOUT, T-ABOUT",
    L"MSG_NOT_SAVED, T-NOT-SAVED",
    L"MSG_EXIT_NOT_SAVED, T-EXIT-NOT-SAVED",
    L"MSG_STORAGE_REFUSED, T-REFUSED",
    L"MSG_STORAGE_DAMAGED, T-DAMAGED",
    L"MSG_STORAGE_KEPT, T-KEPT",
    L"MSG_STORAGE_NOT_KEPT, T-NOT-KEPT",
    L"MSG_STORAGE_TOO_MANY, T-TOO-MANY %d",
    L"MSG_SAVE_BLOCKED, T-BLOCKED",
    L"MSG_PATH_TOO_LONG, T-PATH-TOO-LONG",
    L"PREFIX_OFF, T-OFF",
    L"PREFIX_OUTDATED, T-PAST",
    L"PREFIX_NEVER, T-NEVER",
    L"DLG_HELP_HEADERTEXT, T-HELP-HEADER",
    L"BTN_OK, T-OK",
    L"DLG_PHONE_OFF, T-PHONE-OFF",
    L"DLG_PHONE_ON, T-PHONE-ON",
    L"DLG_POWER_OFF, T-POWER-OFF",
};

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

std::wstring ProgramFile(const wchar_t* name) {
    wchar_t directory[MAX_PATH];
    ProgramDirectory(directory);
    return std::wstring(directory) + name;
}

void WriteTestTexts(size_t valueLength) {
    std::wstring text = L"\xFEFF[Default]\r\n";
    for (const wchar_t* line : kTestTexts) {
        std::wstring written = line;
        const size_t valueStart = written.find(L", ") + 2;
        if (written.size() - valueStart < valueLength)
            written.resize(valueStart + valueLength, L'x');
        text += written + L"\r\n";
    }
    FILE* file = _wfopen(ProgramFile(L"local.dat").c_str(), L"wb");
    ASSERT_NE(file, nullptr);
    fwrite(text.data(), sizeof(wchar_t), text.size(), file);
    fclose(file);
}

void RemoveProgramFile(const wchar_t* name) {
    DeleteFileW(ProgramFile(name).c_str());
}

void WriteStorage(const std::vector<EntrySpec>& entries) {
    DZList list;
    for (const EntrySpec& row : entries)
        list.Append(new DZItem({row.kind, LocalTimeFromNow(row.daysFromNow)},
                               {static_cast<uint16_t>(row.action), 0}, row.active));
    ASSERT_TRUE(list.Save());
}

std::vector<StoredEntry> ReadStorage() {
    DZList list;
    list.Load();
    std::vector<StoredEntry> stored;
    for (const StorageItem* entry = list.head; entry; entry = entry->next)
        stored.push_back({static_cast<const DZItem*>(entry)->action, entry->active});
    return stored;
}

void PumpPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            g_quitSeen = true;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        PumpPending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

DialogAnswerer::DialogAnswerer() {
    g_answerer = this;
    cbt = SetWindowsHookExW(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    calls = SetWindowsHookExW(WH_CALLWNDPROC, CallHook, nullptr, GetCurrentThreadId());
}

DialogAnswerer::~DialogAnswerer() {
    UnhookWindowsHookEx(cbt);
    UnhookWindowsHookEx(calls);
    g_answerer = nullptr;
}

LRESULT CALLBACK DialogAnswerer::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_answerer) g_answerer->OnActivate(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK DialogAnswerer::CallHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_answerer && call->message == DTM_NAVIGATE && call->lParam)
        g_answerer->navigations.push_back(reinterpret_cast<const wchar_t*>(call->lParam));
    if (code == HC_ACTION && g_answerer && call->message == WM_WINDOWPOSCHANGED)
        g_answerer->OnMoved(call->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A box is activated before it is first shown, and may be moved as it is shown.
void DialogAnswerer::OnMoved(HWND window) {
    const auto found = std::find(handled.begin(), handled.end(), window);
    if (found != handled.end()) GetWindowRect(window, &seen[found - handled.begin()].bounds);
}

void DialogAnswerer::OnActivate(HWND window) {
    wchar_t className[64] = L"";
    GetClassNameW(window, className, 64);
    if (wcscmp(className, L"#32770") != 0) return;
    if (std::find(handled.begin(), handled.end(), window) != handled.end()) return;
    handled.push_back(window);

    DialogSeen dialog{};
    // A message box shows its text in a static control with id 0xFFFF.
    HWND text = GetDlgItem(window, 0xFFFF);
    dialog.isMessageBox = text != nullptr;
    dialog.caption = WindowText(window);
    dialog.text = text ? WindowText(text) : L"";
    dialog.owner = GetWindow(window, GW_OWNER);
    GetWindowRect(window, &dialog.bounds);
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
        if (GetDlgItem(window, id)) dialog.buttons.push_back(id);
    seen.push_back(dialog);

    if (!dialog.isMessageBox) {
        // A dialog the test did not expect is cancelled rather than left waiting forever.
        if (onDialog)
            onDialog(window);
        else
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    int answer = IDOK;
    if (!answers.empty()) {
        answer = answers.front();
        answers.erase(answers.begin());
    }
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
}

HANDLE OpenNamedEvent(const wchar_t* name) {
    return OpenEventW(EVENT_ALL_ACCESS, FALSE, name);
}

bool EventIsSet(HANDLE event) {
    return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

void ProgramTest::SetUp() {
    wcscpy(savedPath, g_entryList.path);
    WriteTestTexts();
    RemoveProgramFile(L"storage.dat");
    ready = CreateEventW(nullptr, TRUE, FALSE, DZ_ENGINE_READY_EVENT);
    refresh = CreateEventW(nullptr, TRUE, FALSE, DZ_ENGINE_REFRESH_EVENT);
    ASSERT_NE(ready, nullptr);
    ASSERT_NE(refresh, nullptr);
}

void ProgramTest::EndProgram() {
    if (g_mainWindow && IsWindow(g_mainWindow)) DestroyWindow(g_mainWindow);
    g_mainWindow = nullptr;
    PumpPending();
    g_quitSeen = false;
    wchar_t className[kClassNameSize];
    MainWindowClassName(className);
    UnregisterClassW(className, GetModuleHandleW(nullptr));
}

void ProgramTest::TearDown() {
    EndProgram();
    g_entryScreen.storageEditor = g_entryScreen.actionEditor = nullptr;
    wcscpy(g_entryList.path, savedPath);
    if (ready) CloseHandle(ready);
    if (refresh) CloseHandle(refresh);
    RemoveProgramFile(L"storage.dat");
    RemoveProgramFile(L"local.dat");
}

bool ProgramTest::Start() {
    const bool started = InitInstance(GetModuleHandleW(nullptr), SW_SHOW);
    PumpPending();
    return started;
}

bool ProgramTest::TakeRefresh() {
    const bool set = EventIsSet(refresh);
    ResetEvent(refresh);
    return set;
}

HWND ListWindow() {
    return g_scheduleList.ListWindow();
}
int SelectedRow() {
    return g_scheduleList.GetSelectedRow();
}
int RowCount() {
    return g_scheduleList.GetRowCount();
}
const StorageItem* RowEntry(int row) {
    return g_scheduleList.GetRowEntry(row);
}

// The menu's states and captions as they are when the menu opens.
void OpenMenuState() {
    SendMessageW(g_mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(g_menu), 0);
}

std::wstring MenuCaption(UINT command) {
    OpenMenuState();
    wchar_t caption[128] = L"";
    GetMenuStringW(g_menu, command, caption, 128, MF_BYCOMMAND);
    return caption;
}

bool MenuItemGrayed(UINT command) {
    OpenMenuState();
    return (GetMenuState(g_menu, command, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

int StartAsChild(const std::wstring& program, const wchar_t* expected) {
    std::wstring command = L"\"" + program + L"\" --start \"" + expected + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &process))
        return -1;
    // The parent's program keeps its window answering while the child looks for it.
    PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 30000);
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return static_cast<int>(code);
}

namespace {

// Child mode: the program starts in this process; 0 when it ended at once and showed exactly
// the message expected ("-": none), 1 when it started, 2 when it showed something else.
int RunStartChild(const wchar_t* expected) {
    DialogAnswerer answerer;
    const bool started = InitInstance(GetModuleHandleW(nullptr), SW_SHOW);
    PumpPending();
    if (started) return 1;
    if (wcscmp(expected, L"-") == 0) return answerer.seen.empty() ? 0 : 2;
    return answerer.seen.size() == 1 && answerer.seen[0].text == expected ? 0 : 2;
}

} // namespace

int main(int argc, char** argv) {
    int wargc = 0;
    wchar_t** wargv = CommandLineToArgvW(GetCommandLineW(), &wargc);
    if (wargc == 3 && wcscmp(wargv[1], L"--start") == 0) return RunStartChild(wargv[2]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
