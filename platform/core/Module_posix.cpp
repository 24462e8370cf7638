#include "platform/core/Win32Posix.h"

#include <climits>
#include <unistd.h>

#include "platform/core/FileIo.h"

DWORD GetModuleFileNameW(HMODULE, LPWSTR buffer, DWORD size) {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0 || size == 0) return 0;
    path[n] = '\0';
    return static_cast<DWORD>(NativePathToWide(path, buffer, size));
}
