#pragma once
// Installs the built system into a program files folder as on the device:
//   <program files>\Dozara\              Dozara.exe, DozaraDLL.dll, DozaraUtil.exe,
//                                        DozaraNotice.dll, local.dat, help.html,
//                                        help.German.html
//   <program files>\Velmorix\TarvikEngine\tarvikengine.exe and its registration
//                                        tarvikengine.ini naming the program folder
// What to copy comes from the manifest that the build writes (install-manifest.txt): one line
// "program <file name>=<built file>" or "engine <file name>=<built file>"; a file that this
// build has not made (no path, or no file there) is skipped with a note.
#include <string>
#include <vector>

struct InstallReport {
    std::wstring programFolder;
    std::wstring enginePath;
    std::vector<std::wstring> notes; // one line per file copied or skipped, and every failure
};

// The platform's program files folder.
std::wstring ProgramFilesFolder();

// A path of the build host ("/work/...") as Wine sees it ("Z:\work\..."); Windows paths stay.
std::wstring HostPathInWine(const std::wstring& path);

// false when the manifest cannot be read, a folder cannot be made, a built file cannot be
// copied or the registration cannot be written; the report says which.
bool InstallSystem(const std::wstring& manifestPath, const std::wstring& programFiles,
                   InstallReport& report);
