#include "tools/install/Install.h"

#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>

#include "engine/EngineNames.h"
#include "platform/core/Utf8.h"
#include "contract/EngineContract.h"

namespace {

const wchar_t kProgramSubfolder[] = L"\\Dozara";

bool MakeFolders(const std::wstring& folder) {
    if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    const size_t slash = folder.rfind(L'\\');
    if (slash != std::wstring::npos && slash > 2 && !MakeFolders(folder.substr(0, slash)))
        return false;
    return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

struct ManifestLine {
    std::wstring place; // "program" or "engine"
    std::wstring name;
    std::wstring source;
};

bool ReadManifest(const std::wstring& path, std::vector<ManifestLine>& lines) {
    std::ifstream file(path.c_str(), std::ios::binary);
    if (!file) return false;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t blank = line.find(' ');
        const size_t equals = line.find('=');
        if (blank == std::string::npos || equals == std::string::npos || equals < blank) continue;
        lines.push_back({WideFromUtf8(line.substr(0, blank)),
                         WideFromUtf8(line.substr(blank + 1, equals - blank - 1)),
                         WideFromUtf8(line.substr(equals + 1))});
    }
    return true;
}

bool WriteRegistration(const std::wstring& path, const std::wstring& programFolder) {
    std::ofstream file(path.c_str(), std::ios::binary | std::ios::trunc);
    file << "; written by the install step: where the engine finds " << Utf8(DZ_STORAGE_FILE)
         << " and " << Utf8(DZ_CALLBACK_LIBRARY) << "\r\n"
         << Utf8(DZ_REGISTRATION_PROGRAM_FOLDER) << "=" << Utf8(programFolder) << "\r\n";
    file.close();
    return !file.fail();
}

} // namespace

std::wstring ProgramFilesFolder() {
    wchar_t folder[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PROGRAM_FILES, FALSE);
    return folder;
}

std::wstring HostPathInWine(const std::wstring& path) {
    if (path.empty() || path[0] != L'/') return path;
    // Wine maps the host's root to drive Z:.
    std::wstring out = L"Z:" + path;
    for (wchar_t& c : out)
        if (c == L'/') c = L'\\';
    return out;
}

bool InstallSystem(const std::wstring& manifestPath, const std::wstring& programFiles,
                   InstallReport& report) {
    std::vector<ManifestLine> lines;
    if (!ReadManifest(HostPathInWine(manifestPath), lines)) {
        report.notes.push_back(L"cannot read the manifest " + manifestPath);
        return false;
    }
    report.programFolder = programFiles + kProgramSubfolder;
    const std::wstring engineFolder = programFiles + DZ_ENGINE_RELATIVE_PATH;
    const std::wstring engineDir = engineFolder.substr(0, engineFolder.rfind(L'\\'));
    report.enginePath = engineFolder;
    bool ok = true;
    for (const std::wstring& folder : {report.programFolder, engineDir}) {
        if (MakeFolders(folder)) continue;
        report.notes.push_back(L"cannot make the folder " + folder);
        return false;
    }
    for (const ManifestLine& line : lines) {
        const std::wstring source = HostPathInWine(line.source);
        const std::wstring target =
            (line.place == L"engine" ? engineDir : report.programFolder) + L"\\" + line.name;
        if (source.empty() || GetFileAttributesW(source.c_str()) == INVALID_FILE_ATTRIBUTES) {
            report.notes.push_back(line.name + L": not built yet, skipped");
        } else if (CopyFileW(source.c_str(), target.c_str(), FALSE)) {
            report.notes.push_back(line.name + L" -> " + target);
        } else {
            report.notes.push_back(line.name + L": cannot copy to " + target + L" (error " +
                                   std::to_wstring(GetLastError()) + L")");
            ok = false;
        }
    }
    const std::wstring registration = engineDir + L"\\" DZ_ENGINE_REGISTRATION_FILE;
    if (WriteRegistration(registration, report.programFolder)) {
        report.notes.push_back(L"registration -> " + registration);
    } else {
        report.notes.push_back(L"cannot write the registration " + registration);
        ok = false;
    }
    return ok;
}
