#include "contract/EngineContract.h"
#include "executor/PowerOffNotice.h"

#include <cwchar>

bool PowerOffConfirmed() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    wchar_t* slash = length > 0 && length < MAX_PATH ? wcsrchr(path, L'\\') : nullptr;
    if (!slash || static_cast<size_t>(slash + 1 - path) + wcslen(DZ_NOTICE_LIBRARY) >= MAX_PATH)
        return true;
    wcscpy(slash + 1, DZ_NOTICE_LIBRARY);
    // Without its notice the power-off goes ahead, as it did before there was one.
    const HMODULE library = LoadLibraryW(path);
    if (!library) return true;
    const auto notice = reinterpret_cast<int (*)()>(
        reinterpret_cast<void*>(GetProcAddress(library, DZ_NOTICE_EXPORT)));
    const bool confirmed = !notice || notice() != 0;
    FreeLibrary(library);
    return confirmed;
}
