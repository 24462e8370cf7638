#include "tests/common/FileHolder.h"

FileHolder::FileHolder(const std::wstring& path, DWORD share, DWORD holdMs) {
    // Events of their own, so that two holders can hold one file at once.
    static int count = 0;
    const std::wstring name = L"DozaraTestFileHolder-" + std::to_wstring(GetCurrentProcessId()) +
                              L"-" + std::to_wstring(++count);
    ready = CreateEventW(nullptr, TRUE, FALSE, (name + L"-held").c_str());
    release = CreateEventW(nullptr, TRUE, FALSE, (name + L"-release").c_str());
    std::wstring command = L"dz_file_holder \"" + path + L"\" " + std::to_wstring(share) + L" " +
                           std::to_wstring(holdMs) + L" " + name;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    started = CreateProcessW(DZ_FILE_HOLDER_PROGRAM, &command[0], nullptr, nullptr, FALSE, 0,
                             nullptr, nullptr, &si, &process) != 0;
    // The holder sets the event once the file is open, or ends at once when it cannot open it.
    const HANDLE either[] = {ready, process.hProcess};
    held = started && WaitForMultipleObjects(2, either, FALSE, 20000) == WAIT_OBJECT_0;
}

void FileHolder::Release() {
    SetEvent(release);
    if (started) WaitForSingleObject(process.hProcess, 20000);
}

FileHolder::~FileHolder() {
    Release();
    if (started) {
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(ready);
    CloseHandle(release);
}
