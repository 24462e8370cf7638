// dzkeys KEY...: posts key presses to the window that has the keyboard focus in the
// foreground program, as the phone's keys would reach it. Keys: F1 F2 Up Down Left Right
// Return Escape Home End PageUp PageDown. Used by shots.sh to open menus and dialogs.
#include <windows.h>
#include <cwchar>

namespace {

UINT KeyCode(const wchar_t* name) {
    static const struct {
        const wchar_t* name;
        UINT key;
    } keys[] = {{L"F1", VK_F1},         {L"F2", VK_F2},         {L"Up", VK_UP},
                {L"Down", VK_DOWN},     {L"Left", VK_LEFT},     {L"Right", VK_RIGHT},
                {L"Return", VK_RETURN}, {L"Escape", VK_ESCAPE}, {L"Home", VK_HOME},
                {L"End", VK_END},       {L"PageUp", VK_PRIOR},  {L"PageDown", VK_NEXT}};
    for (const auto& key : keys)
        if (_wcsicmp(name, key.name) == 0) return key.key;
    return 0;
}

HWND FocusedWindow() {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return nullptr;
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info) && info.hwndFocus)
        return info.hwndFocus;
    return foreground;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) {
        UINT key = KeyCode(argv[i]);
        if (!key) {
            fwprintf(stderr, L"dzkeys: unknown key %ls\n", argv[i]);
            return 2;
        }
        HWND target = FocusedWindow();
        if (!target) {
            fwprintf(stderr, L"dzkeys: no program has the focus\n");
            return 1;
        }
        LPARAM scan = LPARAM(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
        PostMessageW(target, WM_KEYDOWN, key, 1 | scan);
        PostMessageW(target, WM_KEYUP, key, 1 | scan | LPARAM(3) << 30);
        Sleep(400); // a menu or dialog that the key opens is up before the next key
    }
    return 0;
}
