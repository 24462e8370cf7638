#include "ui/app/SingleInstance.h"

#include <cstdint>
#include <cwchar>
#include <cwctype>

#include "platform/core/ProgramDirectory.h"

namespace {

// The window property that marks the main window; its value is the folder's hash.
const wchar_t kWindowMark[] = L"DozaraProgramWindow";

HANDLE g_instanceMutex = nullptr;

// Names may not hold backslashes and are limited in length, so the folder is hashed (FNV-1a):
// copies in other folders have their own "storage.dat" and run side by side.
ULONG_PTR FolderHash() {
    wchar_t folder[MAX_PATH];
    ProgramDirectory(folder);
    uint32_t hash = 2166136261u;
    for (const wchar_t* c = folder; *c; ++c)
        hash = (hash ^ static_cast<uint32_t>(towlower(*c))) * 16777619u;
    return hash | 1; // never 0, which GetPropW gives for a window without the mark
}

BOOL CALLBACK BringMarkedForward(HWND window, LPARAM hash) {
    if (reinterpret_cast<ULONG_PTR>(GetPropW(window, kWindowMark)) != static_cast<ULONG_PTR>(hash))
        return TRUE;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    // The plain handle: under Wine the phone's form with the lowest bit set reports success for
    // another process's window but leaves the foreground where it was. The main window itself
    // would come up over its open About box or editor, which kept the X focus but no keys.
    SetForegroundWindow(WindowInCharge(window));
    return FALSE;
}

struct InChargeSearch {
    HWND mainWindow;
    HWND found;
};

bool OwnedBy(HWND window, HWND owner) {
    for (HWND up = GetWindow(window, GW_OWNER); up; up = GetWindow(up, GW_OWNER))
        if (up == owner) return true;
    return false;
}

// Top-level windows come in their order on screen, the topmost first. Softkey bars lie above
// the window they serve but never take the keys themselves (they are never activated).
BOOL CALLBACK FindInCharge(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<InChargeSearch*>(parameter);
    if (!IsWindowVisible(window) || !IsWindowEnabled(window) ||
        (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_NOACTIVATE) ||
        !OwnedBy(window, search->mainWindow))
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

bool TakeInstance() {
    if (g_instanceMutex) return true;
    wchar_t name[64];
    swprintf(name, 64, L"DozaraProgram-%08lx", static_cast<unsigned long>(FolderHash()));
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name);
    if (!mutex) return true; // nothing to tell by: rather run than refuse to
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
        g_instanceMutex = mutex;
        return true;
    }
    CloseHandle(mutex);
    // The running instance may still be starting (waiting for the engine) without a window:
    // then there is nothing to bring forward and this start just ends.
    EnumWindows(BringMarkedForward, static_cast<LPARAM>(FolderHash()));
    return false;
}

HWND WindowInCharge(HWND mainWindow) {
    if (IsWindowEnabled(mainWindow)) return mainWindow;
    InChargeSearch search{mainWindow, nullptr};
    EnumWindows(FindInCharge, reinterpret_cast<LPARAM>(&search));
    return search.found ? search.found : mainWindow;
}

void MarkInstanceWindow(HWND window) {
    SetPropW(window, kWindowMark, reinterpret_cast<HANDLE>(FolderHash()));
}

void ReleaseInstance(HWND window) {
    if (window) RemovePropW(window, kWindowMark);
    if (g_instanceMutex) CloseHandle(g_instanceMutex);
    g_instanceMutex = nullptr;
}
