#include "engine/ClockWatch.h"

#include <atomic>
#include <mutex>

#include "core/model/ScheduleTypes.h"

struct ClockWatch::Shared {
    HINSTANCE instance = nullptr;
    DWORD engineThread = 0;
    std::atomic<bool> announced{false};
    std::mutex lock; // guards noWindow against the watch's end
    std::function<void(DWORD)> noWindow;
};

namespace {

const wchar_t kClockWindowClass[] = L"DozaraEngineClock";
// Waits end a little early or late and the tick count is coarse; only a larger step of the
// local clock against the ticks is a change.
constexpr int64_t kToleranceTicks = 2 * static_cast<int64_t>(kTicksPerSecond);
// How long the end of the engine waits for the window's thread; one still inside the
// desktop's start is left to the end of the process.
constexpr DWORD kThreadEndWaitMs = 2000;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMECHANGE) {
        auto* shared =
            reinterpret_cast<ClockWatch::Shared*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (shared) {
            shared->announced = true;
            // Wakes the engine's wait, which takes posted messages.
            PostThreadMessageW(shared->engineThread, WM_NULL, 0, 0);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI WindowThread(void* parameter) {
    // The thread holds its own reference: the watch may end while the desktop still starts.
    std::unique_ptr<std::shared_ptr<ClockWatch::Shared>> held(
        static_cast<std::shared_ptr<ClockWatch::Shared>*>(parameter));
    ClockWatch::Shared& shared = **held;
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE); // the queue, for the watch's WM_QUIT
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = shared.instance;
    windowClass.lpszClassName = kClockWindowClass;
    RegisterClassW(&windowClass);
    const HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kClockWindowClass, L"", WS_POPUP, 0, 0, 0,
                                        0, nullptr, nullptr, shared.instance, nullptr);
    if (!window) {
        const DWORD error = GetLastError();
        std::lock_guard<std::mutex> guard(shared.lock);
        if (shared.noWindow) shared.noWindow(error);
        return 1;
    }
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&shared));
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    DestroyWindow(window);
    return 0;
}

} // namespace

ClockWatch::~ClockWatch() {
    if (!thread) return;
    {
        std::lock_guard<std::mutex> guard(shared->lock);
        shared->noWindow = nullptr;
    }
    PostThreadMessageW(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, kThreadEndWaitMs);
    CloseHandle(thread);
}

bool ClockWatch::Start(HINSTANCE instance, uint64_t localNow, std::function<void(DWORD)> noWindow) {
    Rebase(localNow);
    shared = std::make_shared<Shared>();
    shared->instance = instance;
    shared->engineThread = GetCurrentThreadId();
    shared->noWindow = std::move(noWindow);
    auto* held = new std::shared_ptr<Shared>(shared);
    thread = CreateThread(nullptr, 0, WindowThread, held, 0, &threadId);
    if (!thread) delete held;
    return thread != nullptr;
}

void ClockWatch::PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

void ClockWatch::Rebase(uint64_t localNow) {
    baseLocal = localNow;
    baseTickMs = GetTickCount64();
}

bool ClockWatch::Changed(uint64_t localNow, int64_t& shift) {
    const uint64_t expected = baseLocal + (GetTickCount64() - baseTickMs) * kTicksPerMs;
    shift = static_cast<int64_t>(localNow - expected);
    const bool stepped = shift > kToleranceTicks || shift < -kToleranceTicks;
    if (!stepped) shift = 0;
    const bool changed = stepped || (shared && shared->announced.exchange(false));
    Rebase(localNow);
    return changed;
}
