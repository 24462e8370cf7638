// dzinstall.exe [program files folder]: installs the built system, as named by the manifest
// beside this program, below the given folder or the platform's program files folder.
#include <cstdio>
#include <string>

#include <windows.h>

#include "tools/install/Install.h"

int wmain(int argc, wchar_t** argv) {
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring manifest(self, n < MAX_PATH ? n : 0);
    manifest = manifest.substr(0, manifest.rfind(L'\\') + 1) + L"install-manifest.txt";
    const std::wstring programFiles = argc > 1 ? argv[1] : ProgramFilesFolder();

    InstallReport report;
    const bool ok = InstallSystem(manifest, programFiles, report);
    for (const std::wstring& note : report.notes) {
        char line[1024];
        WideCharToMultiByte(CP_UTF8, 0, note.c_str(), -1, line, sizeof line, nullptr, nullptr);
        printf("install: %s\n", line);
    }
    return ok ? 0 : 1;
}
