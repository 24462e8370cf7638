#pragma once
// File access of the portable core by wide-character path. Paths use backslashes on both
// builds; natively they are turned into slashes and UTF-8 here.
#include <cstddef>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

// The file's own name: the part of path after its last backslash.
inline const wchar_t* NameInPath(const wchar_t* path) {
    const wchar_t* slash = std::wcsrchr(path, L'\\');
    return slash ? slash + 1 : path;
}

FILE* OpenFile(const wchar_t* path, const wchar_t* mode);
bool FileExists(const wchar_t* path);
bool DeleteFilePath(const wchar_t* path);
// A copy that could not be made whole is removed: false then leaves nothing at to.
bool CopyFilePath(const wchar_t* from, const wchar_t* to);
// The file exists and carries the read-only attribute (natively: no write permission bit).
bool IsReadOnlyFile(const wchar_t* path);

// Something other than a plain file (a folder) stands at path.
bool IsFolder(const wchar_t* path);
// The path of the file itself, every symbolic link on the way resolved; false when it does not
// exist or the resolved path does not fit size characters (out is then unspecified).
bool ResolvedPath(const wchar_t* path, wchar_t* out, size_t size);
// For each file in path's folder whose name begins with path's last part: the rest of its name.
std::vector<std::wstring> NameEndingsAfter(const wchar_t* path);

// Moves source over target in one step: the target is either the old file or the new one,
// never missing. Another process that holds the target open makes Wine refuse the rename,
// so it is retried for a short, bounded time; false when it never went through. The move is
// written through to the disk as far as the system allows.
bool ReplaceFileWith(const wchar_t* source, const wchar_t* target);

// Writes buffered data of the stream through to the disk.
bool FlushToDisk(FILE* file);
// Cuts or extends the open file to size bytes; the stream is flushed first.
bool SetFileSize(FILE* file, long size);

#ifdef _WIN32
// The file opens for reading now (opened and closed at once, without OpenFile's wait for a
// holder that does not share). Only the program's window needs it.
bool FileOpensNow(const wchar_t* path);
#endif

#ifndef _WIN32
// Native only: a UTF-8 path with slashes as a wide path with backslashes; returns its length,
// cut to fit size characters with the terminator.
size_t NativePathToWide(const char* path, wchar_t* out, size_t size);

// Native test seam: when set, OpenFile opens every stream through it instead of fopen, with
// the native path and mode. The fault-injection tests use it to make each write reach the
// disk at once, so that a write failing at any byte fails the call that made it. Never set
// by the program.
using FileOpener = FILE* (*)(const char* path, const char* mode);
void SetFileOpenerForTests(FileOpener opener);
#endif
