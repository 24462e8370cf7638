#pragma once
// The bytes of a "storage.dat" that holds the given entries, each starting at the current
// minute moved by its days, as the program saves them.
#include <string>
#include <vector>

#include "tests/common/FileBytes.h"
#include "tests/common/StartTimes.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"

struct StoredEntry {
    int32_t kind;
    uint16_t action = PhoneOff;
    uint16_t options = 0;
    double days = 0;
    int32_t weekdays = kAllWeekdays;
};

inline std::string StorageOf(const std::vector<StoredEntry>& entries) {
    wchar_t folder[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"dz", 0, path);
    DZList list;
    wcscpy(list.path, path);
    for (const StoredEntry& e : entries)
        list.Append(
            new DZItem({e.kind, LocalTimeFromNow(e.days), e.weekdays}, {e.action, e.options}));
    const bool saved = list.Save();
    const std::string bytes = saved ? ReadFileBytes(path) : std::string();
    DeleteFileW(path);
    return bytes;
}
