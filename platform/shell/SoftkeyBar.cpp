#include "platform/shell/SoftkeyBar.h"
#include "platform/shell/MenuKeys.h"
#include "platform/shell/PhoneScreen.h"
#include "platform/shell/PaintThrough.h"
#include "platform/shell/PhoneWindow.h"
#include "platform/shell/SmartphoneShell.h"
#include <string>

// The bar is a popup owned by the window it serves: it sits on the softkey row at the
// bottom of the phone screen, outside its owner, never takes the activation and goes when
// its owner goes. Its two softkeys come from the first two top-level items of the menu
// resource: a plain item sends its command to the owner, a popup item opens its popup above
// the bar. A one-item menu gives a left softkey only.
namespace {

constexpr wchar_t kBarClass[] = L"DzSoftkeyBar";
constexpr wchar_t kBarProperty[] = L"DzSoftkeyBar";
constexpr int kCaptionMargin = 8;

struct SoftkeyButton {
    bool present = false;
    UINT command = 0; // 0 for a popup, as the caption messages name it
    HMENU popup = nullptr;
    std::wstring caption;
};

struct SoftkeyBarState {
    HWND owner = nullptr; // receives the commands
    HWND top = nullptr;   // the top-level window the bar belongs to
    HMENU menu = nullptr;
    SoftkeyButton keys[2];
    int openKey = -1; // the softkey whose popup is showing
};

SoftkeyBarState* StateOf(HWND bar) {
    return reinterpret_cast<SoftkeyBarState*>(GetWindowLongPtrW(bar, GWLP_USERDATA));
}

// Menu captions mark their access key with '&'; a softkey shows the plain text.
std::wstring PlainCaption(const wchar_t* text) {
    std::wstring plain;
    for (const wchar_t* c = text; *c; ++c) {
        if (*c == L'&' && c[1] != L'\0') ++c;
        plain += *c;
    }
    return plain;
}

SoftkeyButton ButtonFromItem(HMENU menu, int index) {
    SoftkeyButton button;
    wchar_t text[128] = L"";
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = ARRAYSIZE(text);
    if (!GetMenuItemInfoW(menu, index, TRUE, &item)) return button;
    button.present = true;
    button.popup = item.hSubMenu;
    button.command = item.hSubMenu ? 0 : item.wID;
    button.caption = PlainCaption(text);
    return button;
}

void DrawCaption(HDC dc, const SoftkeyButton& key, RECT area, UINT align, bool pressed) {
    if (!key.present) return;
    if (pressed) FillColor(dc, area, kPhoneChromeEdgeColor);
    InflateRect(&area, -kCaptionMargin, 0);
    DrawTextW(dc, key.caption.c_str(), static_cast<int>(key.caption.size()), &area,
              align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void PaintContent(HWND bar, HDC dc) {
    SoftkeyBarState* state = StateOf(bar);
    RECT client;
    GetClientRect(bar, &client);
    FillColor(dc, client, kPhoneChromeColor);
    FillColor(dc, {client.left, client.top, client.right, client.top + 1}, kPhoneChromeEdgeColor);
    int middle = (client.left + client.right) / 2;
    if (state && state->keys[LeftSoftkey].present && state->keys[RightSoftkey].present)
        FillColor(dc, {middle, client.top + 6, middle + 1, client.bottom - 6},
                  kPhoneChromeEdgeColor);
    if (!state) return;

    HFONT font = MakeShellFont(14, true);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kPhoneChromeTextColor);
    RECT left{client.left, client.top + 1, middle, client.bottom};
    RECT right{middle + 1, client.top + 1, client.right, client.bottom};
    DrawCaption(dc, state->keys[LeftSoftkey], left, DT_LEFT, state->openKey == LeftSoftkey);
    DrawCaption(dc, state->keys[RightSoftkey], right, DT_RIGHT, state->openKey == RightSoftkey);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

// The popup opens upwards from the softkey's corner of the bar; the chosen command goes to
// the owner only after the popup has closed.
UINT TrackPopup(HWND bar, SoftkeyBarState* state, Softkey which) {
    RECT bounds;
    GetWindowRect(bar, &bounds);
    UINT align = which == LeftSoftkey ? TPM_LEFTALIGN : TPM_RIGHTALIGN;
    int x = which == LeftSoftkey ? bounds.left : bounds.right;
    state->openKey = which;
    InvalidateRect(bar, nullptr, FALSE);
    // The owner works out the items' states and captions now, as the menu opens, rather than
    // after every change that might touch them (the popup itself is tracked without notices).
    SendMessageW(state->owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(state->keys[which].popup),
                 0);
    const MenuKeysScope keys(bar, state->keys[which].popup);
    UINT command = TrackPopupMenuEx(state->keys[which].popup,
                                    align | TPM_BOTTOMALIGN | TPM_RETURNCMD | TPM_NONOTIFY, x,
                                    bounds.top, bar, nullptr);
    state->openKey = -1;
    InvalidateRect(bar, nullptr, FALSE);
    return command;
}

void PressSoftkey(HWND bar, Softkey which) {
    SoftkeyBarState* state = StateOf(bar);
    if (!state || !state->keys[which].present) return;
    const SoftkeyButton& key = state->keys[which];
    UINT command = key.popup ? TrackPopup(bar, state, which) : key.command;
    // The owner may close itself and so this bar: nothing of the bar is touched afterwards.
    if (command != 0) SendMessageW(state->owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

LRESULT SetCaption(SoftkeyBarState* state, UINT command, const TBBUTTONINFOW* info) {
    if (!info || !(info->dwMask & TBIF_TEXT) || (info->dwMask & TBIF_BYINDEX)) return FALSE;
    for (SoftkeyButton& key : state->keys) {
        if (key.present && key.command == command) {
            key.caption = info->pszText ? info->pszText : L"";
            return TRUE;
        }
    }
    return FALSE;
}

void OnDestroy(HWND bar, SoftkeyBarState* state) {
    if (GetPropW(state->top, kBarProperty) == bar) RemovePropW(state->top, kBarProperty);
    ReleaseSoftkeyKeys();
}

LRESULT CALLBACK SoftkeyBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    SoftkeyBarState* state = StateOf(bar);
    if (PaintThrough(bar, message, wParam, PaintContent)) return 0;
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(
            bar, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_LBUTTONUP: {
        RECT client;
        GetClientRect(bar, &client);
        bool left = static_cast<short>(LOWORD(lParam)) < (client.right - client.left) / 2;
        PressSoftkey(bar, left ? LeftSoftkey : RightSoftkey);
        return 0;
    }
    case WM_PRESS_SOFTKEY:
        if (wParam == LeftSoftkey || wParam == RightSoftkey)
            PressSoftkey(bar, static_cast<Softkey>(wParam));
        return 0;
    case SHCMBM_GETMENU: return reinterpret_cast<LRESULT>(state ? state->menu : nullptr);
    case TB_SETBUTTONINFOW: {
        if (!state) return FALSE;
        LRESULT done = SetCaption(state, static_cast<UINT>(wParam),
                                  reinterpret_cast<const TBBUTTONINFOW*>(lParam));
        if (done) InvalidateRect(bar, nullptr, FALSE);
        return done;
    }
    case WM_DESTROY:
        if (state) OnDestroy(bar, state);
        break;
    case WM_NCDESTROY:
        if (state) {
            if (state->menu) DestroyMenu(state->menu);
            delete state;
            SetWindowLongPtrW(bar, GWLP_USERDATA, 0);
        }
        break;
    }
    return DefWindowProcW(bar, message, wParam, lParam);
}

bool RegisterBarClass() {
    WNDCLASSW existing;
    if (GetClassInfoW(ShellModule(), kBarClass, &existing)) return true;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = SoftkeyBarProc;
    windowClass.hInstance = ShellModule();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kBarClass;
    return RegisterClassW(&windowClass) != 0;
}

bool LoadSoftkeys(const SHMENUBARINFO& info, SoftkeyBarState& state) {
    if (info.dwFlags & SHCMBF_EMPTYBAR) return true;
    if (!(info.dwFlags & SHCMBF_HMENU)) {
        SetLastError(ERROR_NOT_SUPPORTED); // toolbar resources are not used by this system
        return false;
    }
    state.menu = LoadMenuW(info.hInstRes, MAKEINTRESOURCEW(info.nToolBarId));
    if (!state.menu) return false;
    int count = GetMenuItemCount(state.menu);
    for (int index = 0; index < count && index < 2; ++index)
        state.keys[index] = ButtonFromItem(state.menu, index);
    return true;
}

} // namespace

HWND SoftkeyBarOf(HWND window) {
    HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    if (!root) return nullptr;
    wchar_t className[32];
    if (GetClassNameW(root, className, ARRAYSIZE(className)) && lstrcmpW(className, kBarClass) == 0)
        return root;
    return static_cast<HWND>(GetPropW(root, kBarProperty));
}

bool SoftkeyMenuOpen(HWND bar) {
    SoftkeyBarState* state = StateOf(bar);
    return state && state->openKey >= 0;
}

BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
    if (!info || info->cbSize < sizeof(SHMENUBARINFO) || !IsWindow(info->hwndParent)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->hwndMB = nullptr;
    PlaceMessageBoxesOnPhone();
    if (!RegisterBarClass()) return FALSE;
    auto* state = new SoftkeyBarState;
    state->owner = info->hwndParent;
    state->top = GetAncestor(info->hwndParent, GA_ROOT);
    if (!LoadSoftkeys(*info, *state)) {
        delete state;
        return FALSE;
    }

    HWND top = state->top;
    RECT row = SoftkeyBarRect();
    DWORD style = WS_POPUP | ((info->dwFlags & SHCMBF_HIDDEN) ? 0 : WS_VISIBLE);
    HWND bar = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kBarClass, L"", style, row.left,
                               row.top, row.right - row.left, row.bottom - row.top, top, nullptr,
                               ShellModule(), state);
    if (!bar) {
        if (state->menu) DestroyMenu(state->menu);
        delete state;
        return FALSE;
    }
    HoldSoftkeyKeys();
    SetPropW(top, kBarProperty, bar);
    if (top == info->hwndParent) AdoptPhoneWindow(top, PhoneWindowPlain);
    EnsureStatusStrip();
    info->hwndMB = bar;
    return TRUE;
}
