#pragma once
// Helpers for the executor and callback tests: the built programs, scratch folders, process
// runs and the device journal.
#include <windows.h>

#include <string>
#include <vector>

// The built files, as Windows paths.
std::wstring ExecutorProgram();
std::wstring CallbackLibrary();
std::wstring StubExecutorProgram();

// A fresh folder under the temporary folder, removed with its files at the end of the scope.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::wstring& path() const { return folder; }
    std::wstring File(const std::wstring& name) const { return folder + L"\\" + name; }

  private:
    std::wstring folder;
};

bool WriteTextFile(const std::wstring& path, const std::string& text);
std::wstring ReadWideFile(const std::wstring& path);

// Runs a program with the given command line and waits; the exit code, or a value no
// program returns here when it could not be started.
constexpr DWORD kNotStarted = 0xDEADBEEF;
DWORD RunProcess(const std::wstring& program, const std::wstring& commandLine);

// The function names of the journal's lines, oldest first.
std::vector<std::wstring> JournalCallNames();
