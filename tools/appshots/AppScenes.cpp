// appscenes OUTPUT_FOLDER [all|empty|list]: starts the program's own code beside its texts and
// help page and saves the phone screen as BMP files.
//   all (the default)  a list of entries of every action and state: main.bmp (the list),
//                      menu.bmp (the right softkey's menu open), help.bmp, help-end.bmp (paged
//                      to its end with Right), comingup.bmp, comingup-scrolled.bmp (Down to its
//                      last rows), runnow-poweroff.bmp (Run now's question on a power-off
//                      entry), lastruns.bmp (a history of runs beside it) and about.bmp
//   empty              no entries: empty.bmp (the list's hint) and menu-greyed.bmp (the menu
//                      with Delete, Disable and Run now greyed, Down pressed once)
//   list               the entries of "all": main.bmp only (for the list in another language)
// The engine is not needed: the ready event is made here, as a running engine holds it.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "platform/shell/SmartphoneShell.h"
#include "tests/common/FileBytes.h"
#include "tests/common/StartTimes.h"
#include "ui/app/AppState.h"
#include "ui/app/Main.h"
#include "core/model/DZList.h"
#include "core/model/DZItem.h"
#include "core/model/RunHistory.h"
#include "platform/core/ProgramDirectory.h"
#include "contract/EngineContract.h"
#include "ui/resources/resource.h"

namespace {

std::wstring g_output;
bool g_sceneDone = false;
std::function<void()> g_closeScene;
std::wstring g_sceneName;

// Every action, every recurrence the editor offers, disabled and outdated entries.
bool WriteSceneStorage() {
    struct SceneEntry {
        int32_t kind;
        ActionCode action;
        uint16_t options;
        int32_t active;
        int32_t weekdays;
        double days;
    };
    const SceneEntry rows[] = {
        {Weekly, PhoneOff, kOptionBluetooth, 1, 0x1F, 0.5},
        {Weekly, PhoneOn, kOptionBluetooth | kOptionDiscoverable, 1, 0x1F, 0.3},
        {Once, PowerOff, 0, 1, 0x7F, 2.0},
        {Next24Hours, PhoneOff, 0, 1, 0x7F, 0.2},
        {Weekly, PowerOff, 0, 0, 0x60, 1.0},
        {Once, PhoneOn, kOptionBluetooth, 1, 0x7F, -3.0},
        {Weekly, PhoneOff, 0, 1, 0x00, 0.4}, // no weekday: never runs
    };
    DZList list;
    for (const SceneEntry& row : rows)
        list.Append(new DZItem({row.kind, LocalTimeFromNow(row.days), row.weekdays},
                               {static_cast<uint16_t>(row.action), row.options}, row.active));
    return list.Save();
}

// A night of runs of the first entry (phone off at its time on weekdays) and a Run now of a
// power-off: one found no cellular line, one was cancelled on its notice; the list marks the
// first entry when its last run is the one that failed.
bool WriteSceneHistory() {
    std::string bytes(kHistoryHeaderSize + 4 * kHistorySlotSize, '\0');
    auto* at = reinterpret_cast<unsigned char*>(&bytes[0]);
    EncodeHistoryHeader(at);
    const struct {
        ActionCode action;
        uint16_t option;
        double days;
        RunStep failed; // kRunStepCount: none
        StepState how;
    } runs[] = {
        {PhoneOff, kOptionBluetooth, -2.5, kRunStepCount, StepMade},
        {PhoneOff, kOptionBluetooth, -1.5, kRunStepCount, StepMade},
        {PowerOff, 0, -0.8, StepPowerOff, StepCancelled},
        {PhoneOff, kOptionBluetooth, -0.5, StepFindLine, StepFailed},
    };
    uint32_t sequence = 0;
    for (const auto& r : runs) {
        RunRecord run;
        run.sequence = ++sequence;
        run.instant = LocalTimeFromNow(r.days);
        run.action = r.action;
        run.option = r.option;
        run.requester = r.action == PowerOff ? RequestedByRunNow : RequestedByEngine;
        run.finished = true;
        const RunStep last = r.action == PowerOff ? StepPowerOff : StepEquipment;
        for (int step = 0; step <= last; ++step)
            if (step <= StepExtension || step == last) run.states[step] = StepMade;
        if (r.failed != kRunStepCount) {
            run.states[r.failed] = r.how;
            for (int step = r.failed + 1; step < kRunStepCount; ++step)
                run.states[step] = StepNotReached;
        }
        EncodeRunRecord(run, at + HistorySlotOffset(run.sequence));
    }
    wchar_t path[MAX_PATH];
    ProgramDirectory(path);
    wcscat(path, DZ_HISTORY_FILE);
    return WriteFileBytes(path, bytes);
}

bool SaveScreen(const std::wstring& name, RECT area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // bottom-up, as a BMP file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = (width * 3 + 3) & ~3;
    const DWORD size = stride * height;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + size;
    bool ok = false;
    const std::wstring path = g_output + L"\\" + name + L".bmp";
    if (FILE* file = _wfopen(path.c_str(), L"wb")) {
        ok = fwrite(&header, sizeof header, 1, file) == 1 &&
             fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file) == 1 &&
             fwrite(bits, 1, size, file) == size;
        ok = fclose(file) == 0 && ok;
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Thread timers run inside the modal loops of menus, dialogs and message boxes too: the scene
// is shot from within, then closed.
void CALLBACK ShootScene(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    SaveScreen(g_sceneName, PhoneScreenRect());
    g_closeScene();
    g_sceneDone = true;
}

std::function<void()> g_inside;

void CALLBACK ActInside(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (g_inside) g_inside();
}

// open() starts the modal loop; inside() runs within it before the shot (keys on the open menu
// or page).
void ModalScene(const wchar_t* name, const std::function<void()>& open,
                const std::function<void()>& close, const std::function<void()>& inside = nullptr) {
    g_sceneName = name;
    g_closeScene = close;
    g_inside = inside;
    g_sceneDone = false;
    SetTimer(nullptr, 0, 500, ActInside);
    SetTimer(nullptr, 0, 1500, ShootScene);
    open();
    const DWORD start = GetTickCount();
    while (!g_sceneDone && GetTickCount() - start < 10000)
        Pump(50);
    Pump(300);
}

void PressKey(UINT key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
}

void CloseActiveDialog(int command) {
    PostMessageW(GetActiveWindow(), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
}

void PressKeys(UINT key, int times) {
    for (int i = 0; i < times; ++i)
        PressKey(key);
}

void OpenCommand(UINT command) {
    PostMessageW(g_mainWindow, WM_COMMAND, command, 0);
}

void AllScenes() {
    ModalScene(
        L"menu", [] { PressKey(VK_F2); }, [] { EndMenu(); });
    ModalScene(
        L"help", [] { OpenCommand(IDM_HELP); }, [] { CloseActiveDialog(IDOK); });
    ModalScene(
        L"help-end", [] { OpenCommand(IDM_HELP); }, [] { CloseActiveDialog(IDOK); },
        [] { PressKeys(VK_RIGHT, 30); });
    ModalScene(
        L"comingup", [] { OpenCommand(IDM_COMING_UP); }, [] { CloseActiveDialog(IDOK); });
    ModalScene(
        L"comingup-scrolled", [] { OpenCommand(IDM_COMING_UP); }, [] { CloseActiveDialog(IDOK); },
        [] { PressKeys(VK_DOWN, 10); });
    // The power-off entry set for one date; where it lies depends on the hour of the shot.
    for (int row = 0; row < g_scheduleList.GetRowCount(); ++row) {
        const auto* entry = static_cast<const DZItem*>(g_scheduleList.GetRowEntry(row));
        if (entry->kind == Once && entry->action == PowerOff) g_scheduleList.SelectRow(row, true);
    }
    ModalScene(
        L"runnow-poweroff", [] { OpenCommand(IDM_RUN_NOW); }, [] { CloseActiveDialog(IDNO); });
    ModalScene(
        L"lastruns", [] { OpenCommand(IDM_LAST_RUNS); }, [] { CloseActiveDialog(IDOK); });
    ModalScene(
        L"about", [] { OpenCommand(IDM_ABOUT); }, [] { CloseActiveDialog(IDOK); });
}

void EmptyScenes() {
    ModalScene(
        L"menu-greyed", [] { PressKey(VK_F2); }, [] { EndMenu(); }, [] { PressKey(VK_DOWN); });
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    g_output = argc > 1 ? argv[1] : L".";
    const std::wstring set = argc > 2 ? argv[2] : L"all";
    const bool empty = set == L"empty";
    HANDLE ready = CreateEventW(nullptr, TRUE, TRUE, DZ_ENGINE_READY_EVENT);
    if (!(empty ? DZList().Save() : WriteSceneStorage() && WriteSceneHistory()) ||
        !InitInstance(instance, SW_SHOW))
        return 1;
    Pump(1500);
    if (!SaveScreen(empty ? L"empty" : L"main", PhoneScreenRect())) return 2;
    if (set == L"all") AllScenes();
    if (empty) EmptyScenes();
    DestroyWindow(g_mainWindow);
    Pump(200);
    CloseHandle(ready);
    LocalFree(argv);
    return 0;
}
