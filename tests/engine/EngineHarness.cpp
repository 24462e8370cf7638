#include "tests/engine/EngineHarness.h"

#include <shellapi.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "engine/EngineNames.h"
#include "platform/core/SystemTimeFields.h"
#include "tools/install/Install.h"
#include "core/model/DZList.h"
#include "contract/EngineContract.h"

namespace {

std::wstring WideOf(const char* text) {
    return std::wstring(text, text + strlen(text));
}

bool HoldsAll(const std::string& line, const std::vector<std::string>& parts) {
    for (const std::string& part : parts)
        if (line.find(part) == std::string::npos) return false;
    return true;
}

} // namespace

void AppendEntries(const std::vector<EntrySpec>& entries, DZList& list) {
    for (const EntrySpec& row : entries)
        list.Append(new DZItem({row.kind, FromTicks(row.start), row.weekdays},
                               {row.action, row.options}, row.active));
}

uint64_t NowPlus(double seconds) {
    return ToTicks(LocalNow()) + static_cast<uint64_t>(seconds * kTicksPerSecond);
}

constexpr size_t kInstantLength = 23; // "2026-12-07 08:41:36.063"

std::string JournalField(const std::string& line, const char* name) {
    const size_t at = line.find(std::string(" ") + name);
    if (at == std::string::npos) return std::string();
    const size_t from = at + 1 + strlen(name);
    if (line.size() >= from + kInstantLength && line[from + 4] == '-' && line[from + 10] == ' ')
        return line.substr(from, kInstantLength);
    return line.substr(from, line.find(' ', from) - from);
}

std::string JournalStamp(const std::string& line) {
    return line.substr(0, kInstantLength);
}

double JournalMs(const std::string& instant) {
    int year, month, day, hour, minute, second, ms;
    if (sscanf(instant.c_str(), "%d-%d-%d %d:%d:%d.%d", &year, &month, &day, &hour, &minute,
               &second, &ms) != 7)
        return 0;
    const SYSTEMTIME time = SystemTimeOf(year, month, day, hour, minute, second, ms);
    FILETIME local{};
    SystemTimeToFileTime(&time, &local);
    return static_cast<double>(ToTicks(local)) / 10000.0;
}

std::wstring BuiltFile(const char* hostPath) {
    return HostPathInWine(WideOf(hostPath));
}

InstalledEngine::~InstalledEngine() {
    if (process) CloseHandle(process);
}

bool InstalledEngine::Install(std::wstring& failure) {
    wchar_t temporary[MAX_PATH];
    GetTempPathW(MAX_PATH, temporary);
    root = std::wstring(temporary) + L"dzengine-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount());
    InstallReport report;
    const bool ok = InstallSystem(WideOf(DZ_INSTALL_MANIFEST_PATH), root, report);
    programFolder = report.programFolder;
    enginePath = report.enginePath;
    for (const std::wstring& note : report.notes)
        failure += note + L"\n";
    return ok;
}

void InstalledEngine::Remove() {
    if (root.empty()) return;
    std::wstring from = root;
    from.push_back(L'\0'); // the list of paths ends with an empty one
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    SHFileOperationW(&operation);
    root.clear();
}

bool InstalledEngine::Start() {
    if (HANDLE ready = OpenEventW(EVENT_ALL_ACCESS, FALSE, DZ_ENGINE_READY_EVENT)) {
        CloseHandle(ready);
        return true;
    }
    const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, DZ_ENGINE_READY_EVENT);
    SHELLEXECUTEINFOW launch{};
    launch.cbSize = sizeof launch;
    launch.fMask = SEE_MASK_NOCLOSEPROCESS;
    launch.lpVerb = L"Open";
    launch.lpFile = enginePath.c_str();
    launch.nShow = SW_SHOW;
    bool ok = ShellExecuteExW(&launch) != 0;
    if (ok) {
        if (process) CloseHandle(process);
        process = launch.hProcess;
        ok = WaitForSingleObject(ready, kEngineReadyTimeoutMs) == WAIT_OBJECT_0;
    }
    CloseHandle(ready);
    return ok;
}

bool InstalledEngine::LaunchedRunning() const {
    return process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

bool InstalledEngine::WriteEntries(const std::vector<EntrySpec>& entries) const {
    DZList list;
    wcsncpy(list.path, (programFolder + L"\\" DZ_STORAGE_FILE).c_str(), MAX_PATH - 1);
    AppendEntries(entries, list);
    return list.Save();
}

bool InstalledEngine::WriteBytes(const std::string& bytes) const {
    std::ofstream file((programFolder + L"\\" DZ_STORAGE_FILE).c_str(),
                       std::ios::binary | std::ios::trunc);
    file << bytes;
    file.close();
    return !file.fail();
}

bool InstalledEngine::DeleteEntries() const {
    const std::wstring path = programFolder + L"\\" DZ_STORAGE_FILE;
    return DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool InstalledEngine::SignalRefresh() {
    const HANDLE refresh = OpenEventW(EVENT_ALL_ACCESS, FALSE, DZ_ENGINE_REFRESH_EVENT);
    if (!refresh) return false;
    const bool ok = SetEvent(refresh) != 0;
    CloseHandle(refresh);
    return ok;
}

std::vector<std::string> InstalledEngine::JournalLines() const {
    const std::wstring folder = enginePath.substr(0, enginePath.rfind(L'\\'));
    const HANDLE file = CreateFileW((folder + L"\\" DZ_ENGINE_JOURNAL_FILE).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::vector<std::string> lines;
    if (file == INVALID_HANDLE_VALUE) return lines;
    std::string text;
    char buffer[65536];
    DWORD read;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(file);
    std::istringstream stream(text);
    std::string line;
    // A line still being written has no end yet: it is left for the next look.
    while (std::getline(stream, line) && !stream.eof()) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

int InstalledEngine::WaitForLine(const std::vector<std::string>& parts, DWORD timeoutMs,
                                 size_t from, std::string* found) const {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        const std::vector<std::string> lines = JournalLines();
        for (size_t i = from; i < lines.size(); ++i) {
            if (!HoldsAll(lines[i], parts)) continue;
            if (found) *found = lines[i];
            return static_cast<int>(i);
        }
        if (GetTickCount64() >= deadline) return -1;
        Sleep(20);
    }
}

size_t InstalledEngine::CountLines(const std::vector<std::string>& parts, size_t from) const {
    const std::vector<std::string> lines = JournalLines();
    size_t count = 0;
    for (size_t i = from; i < lines.size(); ++i)
        count += HoldsAll(lines[i], parts) ? 1 : 0;
    return count;
}

int InstalledEngine::RunEngine(const wchar_t* arguments, DWORD timeoutMs) const {
    std::wstring commandLine = L"\"" + enginePath + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(enginePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started))
        return -1;
    int code = -1;
    if (WaitForSingleObject(started.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD exitCode;
        GetExitCodeProcess(started.hProcess, &exitCode);
        code = static_cast<int>(exitCode);
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return code;
}
