#pragma once
// One schedule entry: when something happens and whether it is active. Its record in
// "storage.dat" is the base record; derived entries append their own extension.
#include <cstdint>
#include <cstdio>

#include "ui/model/EntryEditor.h"
#include "ui/model/ScheduleTypes.h"

class StorageList;

class StorageItem {
  public:
    StorageItem(int32_t kind, int32_t showSeconds);
    virtual ~StorageItem() = default;
    StorageItem(const StorageItem&) = delete;
    StorageItem& operator=(const StorageItem&) = delete;

    // Virtual operations, in slot order: the file's readers and writers, the list's factory and
    // the editor factories are described by slot number, so a new operation goes at the end.
    virtual bool Write(FILE* file) const;
    virtual bool Read(FILE* file);
    // The text operations write a terminated text of at most size characters, cut to fit. They
    // are defined with the texts, in ui/text/Descriptions.cpp, not in StorageItem.cpp.
    virtual void FormatMonthlyDay(wchar_t* buffer, size_t size) const;
    virtual void FormatAction(wchar_t* buffer, size_t size) const;
    virtual void FormatSchedule(wchar_t* buffer, size_t size) const;
    virtual HBITMAP ListBitmap() const;
    virtual EntryEditor* CreateEditor();
    // Bytes of this entry's record in the file, as Write writes it.
    virtual long RecordSize() const;

    int Edit(HWND parentWindow);
    bool IsOutdated() const;

    int32_t kind;
    FILETIME startTime;
    int32_t weekdayMask;
    int32_t active;
    int32_t monthMask;
    int16_t monthlyMode;
    int32_t dayOfMonth;
    int32_t weekIndex;
    int32_t monthlyWeekday;
    StorageItem* next = nullptr;
    StorageItem* prev = nullptr;
    StorageList* owner = nullptr;
    int32_t showSeconds;
};

// Copies the schedule fields (kind, times, masks, monthly rule, active, seconds setting); the
// links and the owner stay.
void CopySchedule(const StorageItem& from, StorageItem& to);
