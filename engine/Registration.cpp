#include "engine/Registration.h"

#include <windows.h>

#include "engine/EngineNames.h"
#include "platform/core/Utf8.h"

namespace {

constexpr DWORD kMaxRegistrationBytes = 64 * 1024;

bool ReadSmallFile(const std::wstring& path, std::string& bytes) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.resize(kMaxRegistrationBytes);
    DWORD read = 0;
    const bool ok = ReadFile(file, &bytes[0], kMaxRegistrationBytes, &read, nullptr) != 0;
    CloseHandle(file);
    bytes.resize(read);
    return ok;
}

std::wstring Trimmed(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t\r");
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(L" \t\r") - first + 1);
}

} // namespace

std::wstring OwnFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n < MAX_PATH ? n : 0);
    const size_t slash = folder.rfind(L'\\');
    return slash == std::wstring::npos ? folder : folder.substr(0, slash);
}

bool ReadRegistration(const std::wstring& path, std::wstring& programFolder) {
    std::string bytes;
    if (!ReadSmallFile(path, bytes)) return false;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    const std::wstring text = WideFromUtf8(bytes);
    const std::wstring name = DZ_REGISTRATION_PROGRAM_FOLDER;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        const size_t equals = line.find(L'=');
        if (equals == std::wstring::npos || Trimmed(line.substr(0, equals)) != name) continue;
        std::wstring folder = Trimmed(line.substr(equals + 1));
        while (folder.size() > 3 && folder.back() == L'\\')
            folder.pop_back();
        if (folder.empty()) return false;
        programFolder = folder;
        return true;
    }
    return false;
}
