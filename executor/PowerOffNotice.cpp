#include "executor/PowerOffNotice.h"

#include "platform/shell/PaintThrough.h"
#include "platform/shell/PhoneScreen.h"
#include "platform/shell/SmartphoneShell.h"
#include "platform/shell/SoftkeyCaptions.h"
#include "core/model/ScheduleTypes.h"
#include "ui/resources/resource.h"
#include "platform/core/BoundedText.h"
#include "core/text/TextTable.h"

#include <cstdlib>
#include <cwchar>

// This library's own module: its class and its softkeys' menu resource are here.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

constexpr wchar_t kNoticeClass[] = L"DzPowerOffNotice";
constexpr UINT_PTR kTickTimer = 1;
// A quarter of a second: the shown count is never more than that behind the deadline.
constexpr UINT kTickMs = 250;
constexpr int kTextHeight = 22; // pixels

enum class Answer { Waiting, SwitchOff, Cancel };

// One notice at a time in the executor's one thread.
struct Notice {
    ULONGLONG deadline = 0; // GetTickCount64 at which the countdown runs out
    int shownSeconds = 0;
    Answer answer = Answer::Waiting;
    HWND bar = nullptr;
    HFONT font = nullptr;
} g_notice;

int NoticeSeconds() {
    char text[8];
    const DWORD length = GetEnvironmentVariableA(kNoticeSecondsVariable, text, sizeof text);
    const int seconds = length > 0 && length < sizeof text ? atoi(text) : 0;
    return seconds >= 1 && seconds <= kPowerOffNoticeSeconds ? seconds : kPowerOffNoticeSeconds;
}

int SecondsLeft() {
    const ULONGLONG now = GetTickCount64();
    return now >= g_notice.deadline ? 0 : static_cast<int>((g_notice.deadline - now + 999) / 1000);
}

// The format comes from local.dat, so it is trusted with the one number it names and no more.
void NoticeText(int seconds, wchar_t* buffer, size_t size) {
    BoundedText(buffer, size).AddWithNumber(Text(L"MSG_POWER_OFF_NOTICE"), seconds);
}

void PaintContent(HWND window, HDC dc) {
    RECT client;
    const HGDIOBJ oldFont = ClearForText(window, dc, g_notice.font, &client);
    wchar_t text[kEntryTextSize];
    NoticeText(g_notice.shownSeconds, text, kEntryTextSize);
    InflateRect(&client, -8, 0);
    RECT measured = client;
    DrawTextW(dc, text, -1, &measured, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    const int top =
        client.top + (client.bottom - client.top - (measured.bottom - measured.top)) / 2;
    RECT shown{client.left, top, client.right, client.bottom};
    DrawTextW(dc, text, -1, &shown, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

void Decide(Answer answer) {
    if (g_notice.answer == Answer::Waiting) g_notice.answer = answer;
}

void OnTick(HWND window) {
    const int left = SecondsLeft();
    if (left == 0) Decide(Answer::SwitchOff);
    if (left == g_notice.shownSeconds) return;
    g_notice.shownSeconds = left;
    InvalidateRect(window, nullptr, FALSE);
}

LRESULT CALLBACK NoticeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (PaintThrough(window, message, wParam, PaintContent)) return 0;
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_TIMER: OnTick(window); return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) Decide(Answer::SwitchOff);
        if (LOWORD(wParam) == IDCANCEL) Decide(Answer::Cancel);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) Decide(Answer::Cancel); // Back
        return 0;
    case WM_CLOSE: Decide(Answer::Cancel); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateNotice(HINSTANCE instance) {
    WNDCLASSW noticeClass{};
    noticeClass.lpfnWndProc = NoticeProc;
    noticeClass.hInstance = instance;
    noticeClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    noticeClass.lpszClassName = kNoticeClass;
    WNDCLASSW existing;
    if (!GetClassInfoW(instance, kNoticeClass, &existing) && !RegisterClassW(&noticeClass))
        return nullptr;
    const RECT area = PhoneWorkArea();
    return CreateWindowExW(WS_EX_TOPMOST, kNoticeClass, Text(L"APP_NAME"), WS_POPUP, area.left,
                           area.top, area.right - area.left, area.bottom - area.top, nullptr,
                           nullptr, instance, nullptr);
}

} // namespace

extern "C" int DozaraPowerOffNotice() {
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(&__ImageBase);
    // The texts are the program's, beside the executor; without them the keys show as
    // "<undefined>" and the countdown still runs.
    g_textTable.Load();
    g_notice = Notice();
    g_notice.shownSeconds = NoticeSeconds();
    g_notice.deadline = GetTickCount64() + 1000ull * static_cast<ULONGLONG>(g_notice.shownSeconds);
    const HWND window = CreateNotice(instance);
    if (!window) return 1;
    g_notice.font = MakeShellFont(kTextHeight, true);
    g_notice.bar = CreateSoftkeyBar(window, IDR_POWER_OFF_MENU, instance);
    if (g_notice.bar) {
        SetSoftkeyCaption(g_notice.bar, IDCANCEL, Text(L"BTN_CANCEL"));
        SetSoftkeyCaption(g_notice.bar, IDOK, Text(L"BTN_NOW"));
    }
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window); // a plain handle: the notice owns no windows
    SetFocus(window);
    SetTimer(window, kTickTimer, kTickMs, nullptr);
    MSG message;
    while (g_notice.answer == Answer::Waiting && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    KillTimer(window, kTickTimer);
    if (g_notice.bar) DestroyWindow(g_notice.bar);
    DestroyWindow(window);
    DeleteObject(g_notice.font);
    return g_notice.answer != Answer::Cancel ? 1 : 0;
}
