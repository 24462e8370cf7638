#pragma once
// Copies kept beside the list's file of what a save or a start must not simply replace or drop:
// a file the list could not read whole, the file an interrupted save replaces, a temporary file
// that was never finished. Entries the program could not use are never lost this way.

// At most this many copies stay; the oldest goes first.
constexpr int kKeptAsideCopies = 8;

// Keeps `file` aside as "<listFile>.<yyyymmdd-hhmmss>-<n>.<why>", copied (or moved when move is
// set), and writes its path into keptPath (300 characters) when given. False when it could not
// be kept whole; nothing is left behind then.
bool KeepAside(const wchar_t* listFile, const wchar_t* file, const wchar_t* why, bool move,
               wchar_t* keptPath = nullptr);
