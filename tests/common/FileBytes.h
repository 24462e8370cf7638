#pragma once
// The bytes of a whole file, for tests and fuzz targets that compare what is on disk; empty
// when the file cannot be opened.
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
