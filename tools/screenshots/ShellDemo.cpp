// A small program on the shell layer for screenshots: a main window with a softkey bar and
// a list, and a full-screen help dialog showing sample.html in the HTML viewer.
//   shelldemo           the main window
//   shelldemo help      the main window with the help open
#include "ShellDemoIds.h"
#include "platform/shell/SmartphoneShell.h"
#include "platform/shell/SoftkeyCaptions.h"
#include <string>

namespace {

HINSTANCE instance;
HWND helpBar;

std::wstring SamplePageAddress() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return L"file://" + folder.substr(0, folder.rfind(L'\\') + 1) + L"sample.html";
}

bool InitHelp(HWND dialog) {
    SHINITDLGINFO init{SHIDIM_FLAGS, dialog, SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
    if (!SHInitDialog(&init)) return false;
    helpBar = CreateSoftkeyBar(dialog, IDR_DEMO_HELP_MENU, instance);
    if (!helpBar) return false;
    SetWindowTextW(dialog, L"Help");
    SetSoftkeyCaption(helpBar, IDOK, L"Done");
    if (!InitHTMLControl(instance)) return false;
    RECT client;
    GetClientRect(dialog, &client);
    HWND viewer =
        CreateWindowExW(0, DISPLAYCLASS, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                        client.right, client.bottom, dialog, nullptr, instance, nullptr);
    if (!viewer) return false;
    std::wstring address = SamplePageAddress();
    SendMessageW(viewer, DTM_NAVIGATE, 0, reinterpret_cast<LPARAM>(address.c_str()));
    SetFocus(viewer);
    return true;
}

INT_PTR CALLBACK HelpProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        if (!InitHelp(dialog)) EndDialog(dialog, IDCANCEL);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        if (helpBar) DestroyWindow(helpBar);
        helpBar = nullptr;
        return FALSE;
    }
    return FALSE;
}

void FillList(HWND list) {
    const wchar_t* rows[] = {L"Phone off, Bluetooth off",
                             L"  Weekly: Mon-Fri 23:00",
                             L"Phone on, Bluetooth on",
                             L"  Weekly: Mon-Fri 07:00",
                             L"Power off",
                             L"  Once: 12/24/2025 18:30"};
    for (const wchar_t* row : rows)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
    SendMessageW(list, LB_SETCURSEL, 0, 0);
}

bool OnCreate(HWND window) {
    HWND bar = CreateSoftkeyBar(window, IDR_DEMO_MENU, instance);
    if (!bar) return false;
    SetSoftkeyCaption(bar, IDM_DEMO_NEW, L"New");
    SetSoftkeyCaption(bar, 0, L"Menu");
    RECT client;
    GetClientRect(window, &client);
    HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, 0,
                                0, client.right, client.bottom, window, nullptr, instance, nullptr);
    FillList(list);
    SetFocus(list);
    return true;
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate(window) ? 0 : -1;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_DEMO_HELP:
            DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_DEMO_HELP), window, HelpProc, 0);
            return 0;
        case IDM_DEMO_EXIT: DestroyWindow(window); return 0;
        }
        break;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR commandLine, int showCommand) {
    instance = hInstance;
    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = L"ShellDemo";
    if (!RegisterClassW(&windowClass)) return 1;
    HWND main = CreateWindowExW(0, L"ShellDemo", L"Shell demo", WS_VISIBLE | WS_CLIPCHILDREN,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                nullptr, instance, nullptr);
    if (!main) return 1;
    ShowWindow(main, showCommand);
    if (lstrcmpiW(commandLine, L"help") == 0) PostMessageW(main, WM_COMMAND, IDM_DEMO_HELP, 0);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
