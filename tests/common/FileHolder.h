#pragma once
// Another process holds a file open, as a reader of "storage.dat" would: with the sharing
// chosen (FILE_SHARE_READ, FILE_SHARE_WRITE, ...), until Release or the destructor, or at most
// holdMs. The constructor returns once the file is open (held() tells whether it could be).
#include <string>

#include <windows.h>

class FileHolder {
  public:
    FileHolder(const std::wstring& path, DWORD share, DWORD holdMs = 30000);
    ~FileHolder();
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

    bool Held() const { return held; }
    void Release(); // closes the file and waits until the process has ended

  private:
    HANDLE ready = nullptr;
    HANDLE release = nullptr;
    PROCESS_INFORMATION process{};
    bool started = false;
    bool held = false;
};
