#include "FuzzFiles.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/core/FileIo.h"

namespace {

std::string g_folder;

void RemoveScratchFolder() {
    if (DIR* dir = opendir(g_folder.c_str())) {
        while (const dirent* e = readdir(dir))
            if (e->d_name[0] != '.') unlink((g_folder + e->d_name).c_str());
        closedir(dir);
    }
    rmdir(g_folder.c_str());
}

} // namespace

const std::string& ScratchFolder() {
    if (g_folder.empty()) {
        struct stat st {};
        const char* base = stat("/dev/shm", &st) == 0 ? "/dev/shm" : "/tmp";
        g_folder = std::string(base) + "/dz-fuzz-" + std::to_string(getpid()) + "/";
        mkdir(g_folder.c_str(), 0700);
        atexit(RemoveScratchFolder); // a crashing run leaves it for the post-mortem
    }
    return g_folder;
}

std::wstring ScratchFile(const char* name) {
    wchar_t wide[260];
    NativePathToWide((ScratchFolder() + name).c_str(), wide, 260);
    return wide;
}

bool WriteWholeFile(const std::wstring& path, const uint8_t* data, size_t size) {
    FILE* f = OpenFile(path.c_str(), L"wb");
    if (!f) return false;
    const bool ok = (size == 0 || fwrite(data, 1, size, f) == size);
    return (fclose(f) == 0) && ok;
}

void FuzzCheckFailed(const char* condition, const char* file, int line) {
    fprintf(stderr, "fuzz: check failed: %s (%s:%d)\n", condition, file, line);
    abort();
}
