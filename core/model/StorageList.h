#pragma once
// The owning list of schedule entries and its file "storage.dat".
#include <cstdint>

#include "core/model/StorageItem.h"

// What the last Load found, for the tools and the engine that report it.
struct LoadReport {
    // Unreadable: the file exists but could not be opened or read (another program holds it
    // without sharing, or the disk failed); it says nothing about the entries.
    enum State { Missing, Refused, Whole, DamagedTail, Unreadable };
    State state = Missing;
    long entries = 0;   // entries loaded
    long stoppedAt = 0; // byte offset of the record that could not be read (DamagedTail)
    // DamagedTail because the file holds more entries than the load takes (entryLimit): the
    // records after stoppedAt were not read, whatever they hold.
    bool overLimit = false;
    // The start finished a save that a power cut interrupted: the file changed since the engine
    // read it.
    bool saveFinished = false;
};

// What the last Save did, for the message the program shows when it failed.
struct SaveReport {
    // Blocked: something stands where the save's own files go (a folder named like its
    // temporary file) and no save can succeed until the user removes it; blockedBy names it.
    enum State { Saved, Failed, Blocked };
    State state = Saved;
    wchar_t blockedBy[300] = L"";
};

// Test seam, never set by the program: a power cut during a save. Save counts its steps (each
// write, flush and rename of its files) and stops right after step cutAfter, as if the power
// went out: nothing more is written, undone or removed, and it gives false. replaceRefused
// makes the replace fail as under Wine while another program holds the file.
struct PowerCutForTests {
    int cutAfter = 0; // 0: never
    bool replaceRefused = false;
    int steps = 0;    // steps done so far
    bool cut = false; // the power went out
};
void SetPowerCutForTests(PowerCutForTests* cut);

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
    // Load at the start: a save that a power cut interrupted after its new file was marked
    // whole is finished from that file (the file it replaces is kept aside first); a temporary
    // file never marked whole is kept aside and never read.
    bool LoadRecovering();
    // Reads the file again; the entries already in memory (made while it could not be read)
    // stay, behind those of the file.
    bool Reload();

    const LoadReport& LastLoad() const { return lastLoad; }
    const SaveReport& LastSave() const { return lastSave; }
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
    const EntryScreen* screen = nullptr; // lent by the program that shows the list

  private:
    bool WriteHeader(FILE* file) const;
    bool ReadHeader(FILE* file) const;
    bool WriteAll(FILE* file) const;
    bool LoadFrom(const wchar_t* file);
    bool SaveFiles(wchar_t (&target)[300], wchar_t (&temporary)[300], wchar_t (&marked)[300]);
    bool KeepAsideBeforeReplacing(const wchar_t* target);
    bool WriteMarked(const wchar_t* temporary, const wchar_t* marked);
    bool Blocked(const wchar_t* file);

    StorageItem* tail = nullptr;
    LoadReport lastLoad;
    SaveReport lastSave;
    // The file on disk must be kept aside, with this ending, before a save replaces it (it was
    // refused or damaged, or a finished save's file is still to replace it); none when not.
    const wchar_t* keepAsideAs = nullptr;
    wchar_t keptAs[300] = L"";
};
