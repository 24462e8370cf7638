#include "TestFiles.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "platform/core/FileIo.h"

namespace fs = std::filesystem;

namespace {

std::wstring CorePath(const fs::path& p) {
    std::wstring s = p.wstring();
    for (wchar_t& c : s)
        if (c == L'/') c = L'\\';
    return s;
}

fs::path FsPath(const std::wstring& corePath) {
#ifdef _WIN32
    return fs::path(corePath);
#else
    std::wstring s = corePath;
    for (wchar_t& c : s)
        if (c == L'\\') c = L'/';
    return fs::path(s);
#endif
}

} // namespace

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    const fs::path p =
        fs::temp_directory_path() /
        ("dz-model-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
         "-" + std::to_string(counter++));
    fs::remove_all(p);
    fs::create_directories(p);
    path = CorePath(p);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(FsPath(path), ignored);
}

std::vector<std::wstring> TempFolder::Names() const {
    std::vector<std::wstring> names;
    for (const auto& e : fs::directory_iterator(FsPath(path)))
        names.push_back(e.path().filename().wstring());
    return names;
}

Bytes ReadBytes(const std::wstring& path) {
    Bytes bytes;
    if (FILE* f = OpenFile(path.c_str(), L"rb")) {
        int c;
        while ((c = fgetc(f)) != EOF)
            bytes.push_back(static_cast<unsigned char>(c));
        fclose(f);
    }
    return bytes;
}

void WriteBytes(const std::wstring& path, const Bytes& bytes) {
    FILE* f = OpenFile(path.c_str(), L"wb");
    if (!f) return;
    if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

void MakeFolder(const std::wstring& path) {
    fs::create_directories(FsPath(path));
}

void RemoveFolder(const std::wstring& path) {
    fs::remove_all(FsPath(path));
}

bool MakeLink(const std::wstring& link, const std::wstring& target) {
    std::error_code error;
    fs::create_symlink(FsPath(target), FsPath(link), error);
    return !error;
}

bool IsLink(const std::wstring& path) {
    return fs::is_symlink(FsPath(path));
}

void SetWritable(const std::wstring& path, bool writable) {
    const fs::perms write =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(FsPath(path), write,
                    writable ? fs::perm_options::add : fs::perm_options::remove);
}
