#pragma once
// Where the simulated phone keeps what outlives a process: the registry key
// HKCU\Software\Dozara\Device of the Wine prefix. Every read-modify-write holds the named
// mutex, so programs started close together see whole updates and an unbroken journal.
#include <windows.h>
#include <string>

// Holds the device mutex for its lifetime. The mutex is recursive within a thread, so a
// locked sequence may call functions that lock again.
class DeviceLock {
  public:
    DeviceLock();
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

  private:
    HANDLE mutex;
};

DWORD ReadStoreNumber(const wchar_t* name, DWORD fallback);
bool WriteStoreNumber(const wchar_t* name, DWORD value);
bool ReadStoreText(const wchar_t* name, std::wstring& text);
bool WriteStoreText(const wchar_t* name, const std::wstring& text);

// Deletes the whole key: the next reader sees the phone as it comes.
bool ClearStore();

// The journal: a subkey whose values are numbered from 1 in the order of appending.
bool AppendJournalLine(const std::wstring& line);
DWORD JournalLineCount();
bool ReadJournalLine(DWORD number, std::wstring& line);
bool ClearJournal();
