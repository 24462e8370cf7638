#include "tests/common/PhoneKeys.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <sstream>
#include <thread>

#include "ui/app/AppState.h"
#include "ui/app/Main.h"
#include "ui/editor/EditorFactories.h"
#include "contract/EngineContract.h"
#include "tests/common/FileBytes.h"
#include "platform/core/ProgramDirectory.h"
#include "core/text/TextTable.h"

namespace {

constexpr UINT kProbeAtRest = WM_APP + 0x4B1;
// Bounds, not timings: a program that never comes to rest fails its checks rather than
// hanging the test.
constexpr int kRestTries = 2000;
constexpr UINT kProbeTimeoutMs = 2000;

std::atomic<bool> g_runEnded{false};

// Answered on the program's thread when it next looks at its queue: true when nothing but
// timers waits there (no input, no posted message, no window to paint) and a shown window of
// an enabled top-level window has the focus. A dialog opens hidden and is shown when its loop
// first finds the queue empty, after the owner was disabled: until then the focus is nowhere
// or still in the disabled owner, and a key would go to the wrong window.
// Under Wine the display's own events are taken in only while a thread waits, so the probe
// first waits for nothing, which takes them in.
LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbeAtRest) {
        MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0);
        HWND focus = GetFocus();
        return focus && IsWindowVisible(focus) && IsWindowEnabled(GetAncestor(focus, GA_ROOT)) &&
               HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_PAINT | QS_HOTKEY)) == 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateProbe() {
    WNDCLASSW probeClass{};
    probeClass.lpfnWndProc = ProbeProc;
    probeClass.hInstance = GetModuleHandleW(nullptr);
    probeClass.lpszClassName = L"DzPhoneKeysProbe";
    RegisterClassW(&probeClass);
    return CreateWindowExW(0, probeClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           probeClass.hInstance, nullptr);
}

UINT KeyCode(const std::string& name) {
    static const struct {
        const char* name;
        UINT key;
    } keys[] = {{"F1", VK_F1},         {"F2", VK_F2},        {"Up", VK_UP},
                {"Down", VK_DOWN},     {"Left", VK_LEFT},    {"Right", VK_RIGHT},
                {"Return", VK_RETURN}, {"Escape", VK_ESCAPE}};
    for (const auto& key : keys)
        if (name == key.name) return key.key;
    return 0;
}

void SendKey(UINT key) {
    INPUT inputs[2]{};
    const bool extended = key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT;
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(key);
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = extended ? KEYEVENTF_EXTENDEDKEY : 0;
    }
    inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    EXPECT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u) << "key " << key;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = L"";
    if (window) GetClassNameW(window, name, 64);
    return name;
}

std::wstring ProgramFilePath(const wchar_t* name) {
    wchar_t directory[MAX_PATH];
    ProgramDirectory(directory);
    return std::wstring(directory) + name;
}

} // namespace

bool PhoneKeys::AtRest() const {
    if (g_runEnded) return true;
    DWORD_PTR atRest = 0;
    return SendMessageTimeoutW(probe, kProbeAtRest, 0, 0, SMTO_NORMAL, kProbeTimeoutMs, &atRest) &&
           atRest;
}

void PhoneKeys::WaitIdle() {
    for (int tries = 0; tries < kRestTries && !AtRest(); ++tries)
        Sleep(1);
}

void PhoneKeys::Press(const std::string& keys) {
    std::istringstream words(keys);
    for (std::string word; words >> word;) {
        if (word.find_first_not_of("0123456789") == std::string::npos) {
            for (char digit : word) {
                SendKey(static_cast<UINT>(digit));
                WaitIdle();
            }
            continue;
        }
        const UINT key = KeyCode(word);
        EXPECT_NE(key, 0u) << "unknown key " << word;
        if (!key) continue;
        SendKey(key);
        WaitIdle();
    }
}

HWND PhoneKeys::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

int PhoneKeys::FocusId() const {
    HWND focus = Focus();
    return focus ? GetDlgCtrlID(focus) : 0;
}

std::wstring PhoneKeys::FocusClass() const {
    return ClassOf(Focus());
}

HWND PhoneKeys::Active() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndActive : nullptr;
}

std::wstring PhoneKeys::Shown(HWND control) {
    const std::wstring className = ClassOf(control);
    wchar_t text[256] = L"";
    if (_wcsicmp(className.c_str(), L"ListBox") == 0) {
        const LRESULT selected = SendMessageW(control, LB_GETCURSEL, 0, 0);
        if (selected < 0 || SendMessageW(control, LB_GETTEXTLEN, selected, 0) >= 256) return L"";
        SendMessageW(control, LB_GETTEXT, selected, reinterpret_cast<LPARAM>(text));
        return text;
    }
    if (className == DATETIMEPICK_CLASSW) {
        SYSTEMTIME value{};
        if (SendMessageW(control, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value)) !=
            GDT_VALID)
            return L"";
        swprintf(text, 256, L"%04u-%02u-%02u %02u:%02u", value.wYear, value.wMonth, value.wDay,
                 value.wHour, value.wMinute);
        return text;
    }
    GetWindowTextW(control, text, 256);
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    if (_wcsicmp(className.c_str(), L"Button") == 0 &&
        (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX))
        return (SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"[x] " : L"[ ] ") +
               std::wstring(text);
    return text;
}

void RunWithPhoneKeys(const std::function<void()>& run,
                      const std::function<void(PhoneKeys&)>& script) {
    PhoneKeys keys;
    keys.thread = GetCurrentThreadId();
    keys.probe = CreateProbe();
    ASSERT_NE(keys.probe, nullptr);
    g_runEnded = false;
    std::thread presser([&keys, &script] {
        // The keys reach the foreground window: the script starts once ours is there.
        for (int tries = 0; tries < kRestTries; ++tries) {
            HWND active = keys.Active();
            if (g_runEnded || (active && active == GetForegroundWindow())) break;
            Sleep(1);
        }
        keys.WaitIdle();
        script(keys);
        for (int tries = 0; tries < kRestTries && !g_runEnded; ++tries) {
            if (HWND active = keys.Active()) PostMessageW(active, WM_CLOSE, 0, 0);
            keys.WaitIdle();
        }
    });
    run();
    g_runEnded = true;
    presser.join();
    DestroyWindow(keys.probe);
}

PhoneProgram::PhoneProgram(const std::string& storage)
    : ready(CreateEventW(nullptr, TRUE, FALSE, DZ_ENGINE_READY_EVENT)),
      refresh(CreateEventW(nullptr, TRUE, FALSE, DZ_ENGINE_REFRESH_EVENT)) {
    EXPECT_NE(ready, nullptr);
    EXPECT_NE(refresh, nullptr);
    const std::wstring path = ProgramFilePath(DZ_STORAGE_FILE);
    DeleteFileW(path.c_str());
    if (storage.empty()) return;
    FILE* file = _wfopen(path.c_str(), L"wb");
    EXPECT_NE(file, nullptr);
    if (!file) return;
    fwrite(storage.data(), 1, storage.size(), file);
    fclose(file);
}

PhoneProgram::~PhoneProgram() {
    DeleteFileW(ProgramFilePath(DZ_STORAGE_FILE).c_str());
    if (ready) CloseHandle(ready);
    if (refresh) CloseHandle(refresh);
}

int PhoneProgram::Run(const std::function<void(PhoneKeys&)>& script) {
    int exitCode = -1;
    InstallEditorFactories(&g_entryScreen);
    RunWithPhoneKeys([&exitCode] { exitCode = RunProgram(GetModuleHandleW(nullptr), SW_SHOW); },
                     script);
    // A later run in this process registers the main window's class anew.
    UnregisterClassW(g_textTable.AppName(), GetModuleHandleW(nullptr));
    return exitCode;
}

std::string PhoneProgram::StorageBytes() const {
    return ReadFileBytes(ProgramFilePath(DZ_STORAGE_FILE));
}

bool PhoneProgram::TakeRefresh() {
    const bool set = WaitForSingleObject(refresh, 0) == WAIT_OBJECT_0;
    ResetEvent(refresh);
    return set;
}
