#pragma once
// The owning list of schedule entries and its file "storage.dat".
#include <cstdint>

#include "ui/model/StorageItem.h"

// What the last Load found, for the tools and the engine that report it.
struct LoadReport {
    enum State { Missing, Refused, Whole, DamagedTail };
    State state = Missing;
    long entries = 0;   // entries loaded
    long stoppedAt = 0; // byte offset of the record that could not be read (DamagedTail)
};

class StorageList {
  public:
    StorageList();
    virtual ~StorageList();
    StorageList(const StorageList&) = delete;
    StorageList& operator=(const StorageList&) = delete;

    // Virtual operations, in slot order (kept, as the entry's are: they are described by slot
    // number).
    virtual StorageItem* CreateEntry();
    virtual int Compare(const StorageItem* a, const StorageItem* b) const;
    virtual bool CheckEntry(const StorageItem* entry) const;

    void Append(StorageItem* entry);
    void Remove(StorageItem* entry);
    void Clear();
    bool Save();
    bool Load();

    const LoadReport& LastLoad() const { return lastLoad; }

    uint16_t magic;
    uint16_t version;
    uint32_t formatWord;
    StorageItem* head = nullptr;
    wchar_t path[260];

  private:
    bool WriteHeader(FILE* file) const;
    bool ReadHeader(FILE* file) const;
    bool WriteAll(FILE* file) const;
    void KeepAsideDamagedFile();

    StorageItem* tail = nullptr;
    LoadReport lastLoad;
    bool keepAsidePending = false; // the file on disk was refused or damaged and not yet kept
};
