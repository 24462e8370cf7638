#include "engine/Journal.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "core/model/ScheduleTypes.h"

Journal::Journal() {
    InitializeCriticalSection(&lock);
}

Journal::~Journal() {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    DeleteCriticalSection(&lock);
}

bool Journal::Open(const std::wstring& path) {
    // Appending only, and shared in every way, so that readers and a second engine that
    // reports why it ends can open it while this one runs.
    file = CreateFileW(path.c_str(), FILE_APPEND_DATA,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE;
}

void Journal::Write(const char* format, ...) {
    if (file == INVALID_HANDLE_VALUE) return;
    char line[2048];
    const std::string stamp = FormatInstant(ToTicks(LocalNow()));
    int used = snprintf(line, sizeof line, "%s ", stamp.c_str());
    va_list args;
    va_start(args, format);
    const int text = vsnprintf(line + used, sizeof line - used, format, args);
    va_end(args);
    used = text < 0 ? used : std::min<int>(used + text, sizeof line - 3);
    line[used++] = '\r';
    line[used++] = '\n';
    DWORD written;
    EnterCriticalSection(&lock);
    WriteFile(file, line, static_cast<DWORD>(used), &written, nullptr);
    LeaveCriticalSection(&lock);
}

std::string FormatInstant(uint64_t ticks) {
    SYSTEMTIME time{};
    const FILETIME instant = FromTicks(ticks);
    if (!FileTimeToSystemTime(&instant, &time)) return "(no time)";
    char text[32];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", time.wYear, time.wMonth,
             time.wDay, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    return text;
}
