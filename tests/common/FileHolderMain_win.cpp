// dz_file_holder <path> <sharing> <most ms> <name>: opens the file for reading with the sharing
// given, tells the test by the event "<name>-held", and keeps it open until the event
// "<name>-release" is set or the time is up. Exit code 1 when it could not be opened.
#include <cwchar>
#include <string>

#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) return 2;
    const std::wstring name = argv[4];
    const HANDLE file = CreateFileW(argv[1], GENERIC_READ, static_cast<DWORD>(_wtoi(argv[2])),
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    const HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, (name + L"-release").c_str());
    if (const HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, (name + L"-held").c_str())) {
        SetEvent(ready);
        CloseHandle(ready);
    }
    if (release) {
        WaitForSingleObject(release, static_cast<DWORD>(_wtoi(argv[3])));
        CloseHandle(release);
    } else {
        Sleep(static_cast<DWORD>(_wtoi(argv[3])));
    }
    CloseHandle(file);
    return 0;
}
