// A hook library for the engine's tests: set as a global CBT hook, it holds up every window
// that the engine process makes for longer than the program waits for the engine, as the
// first window of a fresh Wine session can wait about ten seconds for the desktop to start.
#include <cwchar>

#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK
    HoldUpEngineWindows(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        wchar_t self[MAX_PATH] = L"";
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const wchar_t* name = wcsrchr(self, L'\\');
        if (name && _wcsicmp(name + 1, L"tarvikengine.exe") == 0) Sleep(12000);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
