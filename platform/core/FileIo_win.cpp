#include "platform/core/FileIo.h"

#include <cwchar>
#include <windows.h>
#include <io.h>

FILE* OpenFile(const wchar_t* path, const wchar_t* mode) {
    // While a saver moves its new file over the name (ReplaceFileWith), the mover holds the
    // file with delete access and a reader's open fails with a sharing violation, as if the
    // file were missing. That lasts only as long as the move: a read is retried briefly.
    const DWORD deadline = GetTickCount() + 1000;
    for (;;) {
        FILE* file = _wfopen(path, mode);
        if (file || mode[0] != L'r' || GetLastError() != ERROR_SHARING_VIOLATION ||
            static_cast<LONG>(GetTickCount() - deadline) >= 0)
            return file;
        Sleep(1);
    }
}

bool FileExists(const wchar_t* path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

bool FileOpensNow(const wchar_t* path) {
    // The sharing of an ordinary open, as OpenFile's.
    const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

bool DeleteFilePath(const wchar_t* path) {
    return DeleteFileW(path) != 0;
}

namespace {

bool SameSize(const wchar_t* a, const wchar_t* b) {
    WIN32_FILE_ATTRIBUTE_DATA first, second;
    return GetFileAttributesExW(a, GetFileExInfoStandard, &first) &&
           GetFileAttributesExW(b, GetFileExInfoStandard, &second) &&
           first.nFileSizeLow == second.nFileSizeLow && first.nFileSizeHigh == second.nFileSizeHigh;
}

} // namespace

bool CopyFilePath(const wchar_t* from, const wchar_t* to) {
    // On a full disk the copy stops part-way and leaves an empty or short file behind.
    if (CopyFileW(from, to, FALSE) && SameSize(from, to)) return true;
    DeleteFileW(to);
    return false;
}

bool IsReadOnlyFile(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

bool IsFolder(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ResolvedPath(const wchar_t* path, wchar_t* out, size_t size) {
    // No access asked: a holder that shares nothing does not stop it.
    const HANDLE file = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    wchar_t final[1024];
    const DWORD n = GetFinalPathNameByHandleW(file, final, 1024, FILE_NAME_NORMALIZED);
    CloseHandle(file);
    if (n == 0 || n >= 1024) return false;
    // "\\?\C:\..." or "\\?\UNC\server\share\..." in the ordinary form.
    std::wstring plain = final;
    if (plain.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        plain = L"\\" + plain.substr(7);
    else if (plain.compare(0, 4, L"\\\\?\\") == 0)
        plain = plain.substr(4);
    if (plain.size() + 1 > size) return false;
    wmemcpy(out, plain.c_str(), plain.size() + 1);
    return true;
}

std::vector<std::wstring> NameEndingsAfter(const wchar_t* path) {
    std::vector<std::wstring> endings;
    const std::wstring pattern = std::wstring(path) + L"*";
    const wchar_t* begin = NameInPath(path);
    const size_t length = wcslen(begin);
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return endings;
    do {
        // The pattern also matches short names; only the long name counts.
        if (wcsncmp(found.cFileName, begin, length) == 0)
            endings.emplace_back(found.cFileName + length);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return endings;
}

bool ReplaceFileWith(const wchar_t* source, const wchar_t* target) {
    // Not ReplaceFileW: under Wine it moves the old file away first, leaving a moment with no
    // file at all. A reader holding the target open makes the move fail with access denied (or
    // a sharing violation); readers open, read and close quickly, so a bounded retry is enough.
    const DWORD deadline = GetTickCount() + 2000;
    for (;;) {
        if (MoveFileExW(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) ||
            static_cast<LONG>(GetTickCount() - deadline) >= 0)
            return false;
        Sleep(5);
    }
}

bool SetFileSize(FILE* file, long size) {
    return fflush(file) == 0 && _chsize(_fileno(file), size) == 0;
}

bool FlushToDisk(FILE* file) {
    if (fflush(file) != 0) return false;
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
}
