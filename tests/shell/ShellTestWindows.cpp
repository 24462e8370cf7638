#include "ShellTestWindows.h"
#include "tests/common/Canvas.h"
#include "platform/shell/SmartphoneShell.h"
#include <algorithm>
#include <cwchar>

namespace {

constexpr wchar_t kOwnerClass[] = L"ShellTestOwner";

struct OwnerStart {
    UINT menu;
    CommandRecorder* recorder;
};

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* recorder = reinterpret_cast<CommandRecorder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_CREATE: {
        auto* start =
            static_cast<OwnerStart*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(start->recorder));
        SHMENUBARINFO info{};
        info.cbSize = sizeof(info);
        info.hwndParent = window;
        info.dwFlags = SHCMBF_HMENU;
        info.nToolBarId = start->menu;
        info.hInstRes = GetModuleHandleW(nullptr);
        if (!SHCreateMenuBar(&info)) return -1;
        SetPropW(window, L"TestBar", info.hwndMB);
        return 0;
    }
    case WM_COMMAND:
        // Softkeys and menus send lParam 0; controls send their notifications with their handle.
        if (recorder && lParam == 0) recorder->commands.push_back(LOWORD(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

BOOL CALLBACK FindShownDialog(HWND window, LPARAM found) {
    wchar_t className[16] = L"";
    GetClassNameW(window, className, ARRAYSIZE(className));
    if (!IsWindowVisible(window) || wcscmp(className, L"#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

} // namespace

HWND CreateOwnerWithBar(UINT menu, CommandRecorder& recorder) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW windowClass{};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = OwnerProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = kOwnerClass;
        registered = RegisterClassW(&windowClass) != 0;
    }
    OwnerStart start{menu, &recorder};
    recorder.window = CreateWindowExW(0, kOwnerClass, L"Owner", WS_VISIBLE | WS_CLIPCHILDREN,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), &start);
    return recorder.window;
}

HWND BarOf(HWND owner) {
    return static_cast<HWND>(GetPropW(owner, L"TestBar"));
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PressKey(HWND window, UINT key) {
    UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    PostMessageW(window, WM_KEYDOWN, key, 1 | LPARAM(scan) << 16);
    PostMessageW(window, WM_KEYUP, key, 1 | LPARAM(scan) << 16 | LPARAM(3) << 30);
}

HWND ShownDialog() {
    HWND shown = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindShownDialog, reinterpret_cast<LPARAM>(&shown));
    return shown;
}

int Rendering::Count(COLORREF colour) const {
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
}

Rendering Render(HWND window) {
    Rendering result;
    RECT client;
    GetClientRect(window, &client);
    result.width = client.right;
    result.height = client.bottom;
    const Canvas canvas(result.width, result.height);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    GdiFlush();
    for (int y = 0; y < result.height; ++y)
        for (int x = 0; x < result.width; ++x)
            result.pixels.push_back(canvas.At(x, y));
    return result;
}
