#include "ui/app/Help.h"

#include "platform/shell/SmartphoneShell.h"
#include "platform/shell/SoftkeyCaptions.h"
#include "ui/app/AppState.h"
#include "ui/resources/resource.h"
#include "platform/core/BoundedText.h"
#include "platform/core/ProgramDirectory.h"
#include "core/text/TextTable.h"

namespace {

// The dialog is modal, so there is at most one of each.
HWND g_helpViewer = nullptr;
HWND g_helpMenuBar = nullptr;
HWND g_helpDialog = nullptr;

// The page in the user's language, "help.German.html" beside "help.html", named by the same
// language name that picks the section of "local.dat"; "help.html" when there is none. The
// name is written into name (size characters) and is empty when it does not fit.
void HelpFileName(const wchar_t* directory, wchar_t* name, size_t size) {
    wchar_t language[64];
    UserLanguageName(language, 64);
    wchar_t path[MAX_PATH];
    if (language[0] && !BoundedText(name, size).Add(L"help.").Add(language).Add(L".html").Cut() &&
        !BoundedText(path, MAX_PATH).Add(directory).Add(name).Cut() &&
        GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
        return;
    CopyCut(name, size, L"help.html");
}

// "file://" followed at once by the program directory (backslashes and all) and the page's
// name. A directory too long for the buffer cannot address the page: the URL is then left
// empty and the viewer shows its notice for a page it cannot load, instead of some other file
// that a cut URL might name.
void BuildHelpUrl(wchar_t* url, size_t size) {
    wchar_t directory[MAX_PATH];
    ProgramDirectory(directory);
    wchar_t name[MAX_PATH];
    HelpFileName(directory, name, MAX_PATH);
    if (BoundedText(url, size).Add(L"file://").Add(directory).Add(name).Cut()) url[0] = L'\0';
}

} // namespace

INT_PTR ShowHelp(HWND owner) {
    return RunInHelpFrame(owner, HelpDlgProc);
}

INT_PTR RunInHelpFrame(HWND owner, DLGPROC procedure) {
    HRSRC found = FindResourceW(g_instance, MAKEINTRESOURCEW(IDD_HELP), RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(g_instance, found) : nullptr;
    if (!loaded) return -1;
    return DialogBoxIndirectParamW(g_instance, static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)),
                                   owner, procedure, 0);
}

INT_PTR CALLBACK HelpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        g_helpDialog = dialog;
        if (!InitHelpDialog()) DestroyWindow(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return FALSE;
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        if (g_helpMenuBar) DestroyWindow(g_helpMenuBar);
        g_helpMenuBar = nullptr;
        return FALSE;
    }
    return FALSE;
}

bool InitHelpDialog() {
    SHINITDLGINFO screen{SHIDIM_FLAGS, g_helpDialog, SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN};
    if (!SHInitDialog(&screen)) return false;

    g_helpMenuBar = CreateSoftkeyBar(g_helpDialog, IDR_HELP_MENU, g_instance);
    if (!g_helpMenuBar) return false;

    SendMessageW(g_helpDialog, WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(Text(L"DLG_HELP_HEADERTEXT")));
    SetSoftkeyCaption(g_helpMenuBar, IDOK, Text(L"BTN_OK"));

    // Loading the page can take a moment on the phone.
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    if (!InitHTMLControl(g_instance)) {
        SetCursor(nullptr);
        return false;
    }
    RECT client;
    GetClientRect(g_helpDialog, &client);
    g_helpViewer =
        CreateWindowExW(0, DISPLAYCLASS, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                        client.left, client.top, client.right - client.left,
                        client.bottom - client.top, g_helpDialog, nullptr, g_instance, nullptr);
    if (!g_helpViewer) {
        SetCursor(nullptr);
        return false;
    }
    wchar_t url[MAX_PATH];
    BuildHelpUrl(url, MAX_PATH);
    SendMessageW(g_helpViewer, DTM_NAVIGATE, 0, reinterpret_cast<LPARAM>(url));
    SetCursor(nullptr);
    SetFocus(g_helpViewer);
    return true;
}

void ShowAbout(HWND owner) {
    MessageBoxW(owner, Text(L"MSG_ABOUT"), g_textTable.AppName(), MB_OK | MB_ICONINFORMATION);
}
