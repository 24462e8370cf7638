#pragma once
// The bytes of a whole file, for tests and fuzz targets that compare what is on disk (empty
// when the file cannot be opened), and a whole file written from bytes.
#include <string>

#include "platform/core/FileIo.h"

inline std::string ReadFileBytes(const std::wstring& path) {
    std::string bytes;
    FILE* file = OpenFile(path.c_str(), L"rb");
    if (!file) return bytes;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, n);
    fclose(file);
    return bytes;
}

inline bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    FILE* file = OpenFile(path.c_str(), L"wb");
    if (!file) return false;
    const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && written;
}
