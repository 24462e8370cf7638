#pragma once
// The owning list of schedule entries and its file "storage.dat".
#include <cstdint>

#include "ui/model/StorageItem.h"

// What the last Load found, for the tools and the engine that report it.
struct LoadReport {
    // Unreadable: the file exists but could not be opened or read (another program holds it
    // without sharing, or the disk failed); it says nothing about the entries.
    enum State { Missing, Refused, Whole, DamagedTail, Unreadable };
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
    // Save refuses (false, nothing written) while the file on disk could not be read, when it
    // is read-only, or when the path is empty (it did not fit).
    bool Save();
    bool Load();
    // Load, and when the file is refused or damaged while a whole temporary file of an
    // unfinished save lies beside it, that file takes its place (the other is kept aside).
    bool LoadRecovering();
    // Reads the file again; the entries already in memory (made while it could not be read)
    // stay, behind those of the file.
    bool Reload();

    const LoadReport& LastLoad() const { return lastLoad; }
    // A refused or damaged file is kept aside now, as the first save would, so that start-up
    // can tell the user where; false when it could not be copied or nothing was to be kept.
    bool KeepAsideNow();
    // The path of the last copy kept aside ("" when none).
    const wchar_t* KeptAs() const { return keptAs; }

    // The most entries a load takes (0: all); what follows is treated as a damaged tail, told
    // and kept aside as one.
    long entryLimit = 0;
    uint16_t magic;
    uint16_t version;
    uint32_t formatWord;
    StorageItem* head = nullptr;
    wchar_t path[260];

  private:
    bool WriteHeader(FILE* file) const;
    bool ReadHeader(FILE* file) const;
    bool WriteAll(FILE* file) const;
    bool LoadFrom(const wchar_t* file);
    bool KeepAside(LoadReport::State why);
    void KeepAsideDamagedFile();
    bool ReplaceOrRewrite(const wchar_t* temporary);

    StorageItem* tail = nullptr;
    LoadReport lastLoad;
    bool keepAsidePending = false; // the file on disk was refused or damaged and not yet kept
    wchar_t keptAs[300] = L"";
};
