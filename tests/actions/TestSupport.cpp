#include "tests/actions/TestSupport.h"

#include "platform/device/DeviceState.h"

#include <cstdio>

namespace {

// The build hands the tests Linux paths; Wine shows the Linux root as drive Z:.
std::wstring WindowsPath(const char* linuxPath) {
    std::wstring path = L"Z:";
    for (const char* c = linuxPath; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

void RemoveFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

std::wstring ExecutorProgram() {
    return WindowsPath(DZ_EXECUTOR_PROGRAM);
}
std::wstring CallbackLibrary() {
    return WindowsPath(DZ_CALLBACK_LIBRARY_FILE);
}
std::wstring StubExecutorProgram() {
    return WindowsPath(DZ_STUB_EXECUTOR_PROGRAM);
}

ScratchFolder::ScratchFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    wchar_t name[64];
    swprintf(name, 64, L"dz-actions-%lu-%d", GetCurrentProcessId(), ++counter);
    folder = std::wstring(temp) + name;
    CreateDirectoryW(folder.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    RemoveFolder(folder);
}

bool WriteTextFile(const std::wstring& path, const std::string& text) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    bool written = fwrite(text.data(), 1, text.size(), file) == text.size();
    return fclose(file) == 0 && written;
}

std::wstring ReadWideFile(const std::wstring& path) {
    std::wstring text;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return text;
    wchar_t c;
    while (fread(&c, sizeof(c), 1, file) == 1)
        text += c;
    fclose(file);
    return text;
}

DWORD RunProcess(const std::wstring& program, const std::wstring& commandLine) {
    std::wstring buffer = commandLine;
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &buffer[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return kNotStarted;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = kNotStarted;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

std::vector<std::wstring> JournalCallNames() {
    std::vector<std::wstring> names;
    for (const std::wstring& line : ReadDeviceJournal())
        names.push_back(JournalCallName(line));
    return names;
}
