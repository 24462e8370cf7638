#pragma once
// One schedule entry: when something happens (its Schedule, carried as its base, so that every
// field keeps its name on the entry) and whether it is active. Its record in "storage.dat" is
// the base record; derived entries append their own extension.
#include <cstdint>
#include <cstdio>

#include "core/model/EntryEditor.h"
#include "core/model/Schedule.h"

class StorageList;

class StorageItem : public Schedule {
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
    // are defined with the texts, in core/text/Descriptions.cpp, not in StorageItem.cpp.
    virtual void FormatMonthlyDay(wchar_t* buffer, size_t size) const;
    virtual void FormatAction(wchar_t* buffer, size_t size) const;
    virtual void FormatSchedule(wchar_t* buffer, size_t size) const;
    virtual HBITMAP ListBitmap() const;
    virtual EntryEditor* CreateEditor();
    // Bytes of this entry's record in the file, as Write writes it.
    virtual long RecordSize() const;

    int Edit(HWND parentWindow);
    // What the owner list's program lends for the screen; none without an owner or a screen.
    const EntryScreen* Screen() const;
    bool IsOutdated() const;

    const Schedule& When() const { return *this; }
    Schedule& When() { return *this; }

    int32_t active = 1;
    StorageItem* next = nullptr;
    StorageItem* prev = nullptr;
    StorageList* owner = nullptr;
    int32_t showSeconds;
};

// Copies the schedule fields (kind, times, masks, monthly rule, active, seconds setting); the
// links and the owner stay.
void CopySchedule(const StorageItem& from, StorageItem& to);
