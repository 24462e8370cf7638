#pragma once
// The installed system and its running engine, driven as the program drives them: install
// into a fresh folder inside the Wine prefix, launch the engine with ShellExecuteEx and wait
// for its ready event, save "storage.dat" with the model and set the refresh event; then
// read the engine's journal. Used by the engine's tests and its benchmark.
#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

#include "core/model/DZItem.h"
#include "core/model/DZList.h"

struct EntrySpec {
    int32_t kind;
    uint64_t start; // local FILETIME ticks
    int32_t active = 1;
    uint16_t action = PhoneOff;
    uint16_t options = 0;
    int32_t weekdays = kAllWeekdays;
};

// Appends one entry per row to list, as loading "storage.dat" would give them.
void AppendEntries(const std::vector<EntrySpec>& entries, DZList& list);

// The local time now plus the given seconds, as FILETIME ticks.
uint64_t NowPlus(double seconds);

class InstalledEngine {
  public:
    ~InstalledEngine();

    // Installs the built system below a fresh folder of the prefix's temporary folder.
    bool Install(std::wstring& failure);
    // Removes the installed folder (after stopping the engine).
    void Remove();

    // As the program does: when "TARVIKENGINEREADY" is absent, create it, launch the
    // installed engine and wait at most 10 s for it. true when an engine is ready.
    bool Start();
    bool LaunchedRunning() const; // the engine launched by Start has not ended
    HANDLE Process() const { return process; }

    bool WriteEntries(const std::vector<EntrySpec>& entries) const; // saved by DZList
    bool WriteBytes(const std::string& bytes) const;
    bool DeleteEntries() const;
    static bool SignalRefresh();

    std::vector<std::string> JournalLines() const;
    // Waits for a journal line at index from or later that holds every one of parts; gives
    // its index, or -1 after timeoutMs.
    int WaitForLine(const std::vector<std::string>& parts, DWORD timeoutMs, size_t from = 0,
                    std::string* line = nullptr) const;
    // Lines at index from or later that hold every one of parts.
    size_t CountLines(const std::vector<std::string>& parts, size_t from = 0) const;

    // Runs the installed engine with arguments, waits at most timeoutMs, gives its exit code
    // (or -1 when it did not end in time).
    int RunEngine(const wchar_t* arguments, DWORD timeoutMs) const;

    const std::wstring& ProgramFolder() const { return programFolder; }
    const std::wstring& EnginePath() const { return enginePath; }

  private:
    std::wstring root;
    std::wstring programFolder;
    std::wstring enginePath;
    HANDLE process = nullptr;
};

// The value of "name=" in a journal line: an instant ("scheduled=", "actual=") is taken
// whole with its blank; other values end at the next blank.
std::string JournalField(const std::string& line, const char* name);
// The time at the start of a journal line: when the engine wrote it.
std::string JournalStamp(const std::string& line);
// A journal instant "2026-12-07 08:41:36.063" in milliseconds (only differences count).
double JournalMs(const std::string& instant);

// A built file of this build (a host path of the manifest or a target file) as Wine sees it.
std::wstring BuiltFile(const char* hostPath);
