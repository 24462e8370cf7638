#include "platform/core/ProgramDirectory.h"

#include <cwchar>

#include "platform/core/Win32Core.h"

void ProgramDirectory(wchar_t* buffer) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    buffer[n < MAX_PATH ? n : MAX_PATH - 1] = L'\0';
    if (wchar_t* slash = wcsrchr(buffer, L'\\')) slash[1] = L'\0';
}
