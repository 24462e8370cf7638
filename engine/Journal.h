#pragma once
// The engine's journal: a UTF-8 text file beside it, one line per event, each starting with
// the local time. People read it to see what happened; the tests read it too. Every thread
// of the engine writes to it; a journal that cannot be opened writes nothing.
#include <cstdint>
#include <string>

#include <windows.h>

#include "platform/core/Utf8.h"

class Journal {
  public:
    Journal();
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    bool Open(const std::wstring& path);
    // One line: "<local time> " and the formatted text; fields that hold paths or other free
    // text are passed through Utf8().
    void Write(const char* format, ...) __attribute__((format(printf, 2, 3)));

  private:
    HANDLE file = INVALID_HANDLE_VALUE;
    CRITICAL_SECTION lock;
};

// "2024-05-01 12:00:05.250": a local FILETIME instant as the journal writes it.
std::string FormatInstant(uint64_t ticks);
