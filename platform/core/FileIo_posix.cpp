#include "platform/core/FileIo.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/core/Utf8.h"

namespace {

std::string ToNative(const wchar_t* path) {
    std::string out;
    for (const wchar_t* p = path; *p; ++p)
        AppendUtf8(out, static_cast<uint32_t>(*p == L'\\' ? L'/' : *p));
    return out;
}

// The folder part of a native path, "." for a bare name.
std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

size_t NativePathToWide(const char* path, wchar_t* out, size_t size) {
    size_t n = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(path);
         *p && n + 1 < size;) {
        uint32_t c = *p++;
        int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (more) c &= 0x3F >> more;
        while (more-- > 0 && (*p & 0xC0) == 0x80)
            c = (c << 6) | (*p++ & 0x3F);
        out[n++] = c == '/' ? L'\\' : static_cast<wchar_t>(c);
    }
    if (size) out[n] = L'\0';
    return n;
}

namespace {
FileOpener g_opener = nullptr;
}

void SetFileOpenerForTests(FileOpener opener) {
    g_opener = opener;
}

FILE* OpenFile(const wchar_t* path, const wchar_t* mode) {
    const std::string nativePath = ToNative(path);
    const std::string nativeMode = ToNative(mode);
    return (g_opener ? g_opener : fopen)(nativePath.c_str(), nativeMode.c_str());
}

bool FileExists(const wchar_t* path) {
    struct stat st {};
    return stat(ToNative(path).c_str(), &st) == 0;
}

bool DeleteFilePath(const wchar_t* path) {
    return unlink(ToNative(path).c_str()) == 0;
}

bool CopyFilePath(const wchar_t* from, const wchar_t* to) {
    FILE* in = OpenFile(from, L"rb");
    if (!in) return false;
    FILE* out = OpenFile(to, L"wb");
    bool ok = out != nullptr;
    char buffer[65536];
    size_t n;
    while (ok && (n = fread(buffer, 1, sizeof buffer, in)) > 0)
        ok = fwrite(buffer, 1, n, out) == n;
    ok = ok && !ferror(in);
    fclose(in);
    if (out) ok = (fclose(out) == 0) && ok;
    if (!ok) DeleteFilePath(to);
    return ok;
}

bool IsReadOnlyFile(const wchar_t* path) {
    struct stat st {};
    return stat(ToNative(path).c_str(), &st) == 0 &&
           (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool SetFileSize(FILE* file, long size) {
    return fflush(file) == 0 && ftruncate(fileno(file), size) == 0;
}

bool IsFolder(const wchar_t* path) {
    struct stat st {};
    return stat(ToNative(path).c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

bool ResolvedPath(const wchar_t* path, wchar_t* out, size_t size) {
    char* resolved = realpath(ToNative(path).c_str(), nullptr);
    if (!resolved) return false;
    wchar_t wide[PATH_MAX + 1];
    const size_t n = NativePathToWide(resolved, wide, PATH_MAX + 1);
    free(resolved);
    if (n + 1 > size) return false;
    wmemcpy(out, wide, n + 1);
    return true;
}

std::vector<std::wstring> NameEndingsAfter(const wchar_t* path) {
    const std::string native = ToNative(path);
    const std::string folder = FolderOf(native);
    const std::string begin = native.substr(native.rfind('/') + 1);
    std::vector<std::wstring> endings;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return endings;
    while (const dirent* entry = readdir(dir)) {
        if (strncmp(entry->d_name, begin.c_str(), begin.size()) != 0) continue;
        wchar_t wide[NAME_MAX + 1];
        NativePathToWide(entry->d_name + begin.size(), wide, NAME_MAX + 1);
        endings.emplace_back(wide);
    }
    closedir(dir);
    return endings;
}

bool ReplaceFileWith(const wchar_t* source, const wchar_t* target) {
    // A rename is on the disk only once its folder is: without that, a power cut could keep a
    // later write to the target and lose the rename before it. The rename is done either way,
    // so a folder that cannot be flushed does not fail it.
    const std::string to = ToNative(target);
    if (rename(ToNative(source).c_str(), to.c_str()) != 0) return false;
    const int folder = open(FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}

bool FlushToDisk(FILE* file) {
    return fflush(file) == 0 && fsync(fileno(file)) == 0;
}
