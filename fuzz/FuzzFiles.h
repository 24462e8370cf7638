#pragma once
// Scratch files of the fuzz targets and of the corpus writer, with paths in the core's form
// (backslashes), in a folder of this process under /dev/shm (or /tmp).
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/common/FileBytes.h"

// Folder of this process, made on first use; its path with a trailing slash.
const std::string& ScratchFolder();
// The core's wide path of a file in the scratch folder.
std::wstring ScratchFile(const char* name);
bool WriteWholeFile(const std::wstring& path, const uint8_t* data, size_t size);

// A failed property of the code under test: report it and abort, so that libFuzzer keeps
// the input as a crash.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) FuzzCheckFailed(#condition, __FILE__, __LINE__);                         \
    } while (0)
[[noreturn]] void FuzzCheckFailed(const char* condition, const char* file, int line);
