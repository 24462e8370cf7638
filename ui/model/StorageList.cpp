#include "ui/model/StorageList.h"

#include <cwchar>
#include <new>

#include "platform/core/FileIo.h"
#include "ui/model/BinaryIo.h"
#include "contract/EngineContract.h"
#include "ui/model/Recurrence.h"
#include "ui/text/ProgramDirectory.h"

namespace {

constexpr uint16_t kNoVersionWord = 257;

// Appends suffix to path into out (size characters); false when it does not fit.
bool PathWithSuffix(const wchar_t* path, const wchar_t* suffix, wchar_t* out, size_t size) {
    const int n = swprintf(out, size, L"%ls%ls", path, suffix);
    return n > 0 && static_cast<size_t>(n) < size;
}

} // namespace

StorageList::StorageList() : magic(0xCE00), version(258), formatWord(1) {
    ProgramDirectory(path);
    const size_t used = wcslen(path);
    swprintf(path + used, sizeof path / sizeof path[0] - used, L"%ls", DZ_STORAGE_FILE);
}

StorageList::~StorageList() {
    Clear();
}

StorageItem* StorageList::CreateEntry() {
    return new (std::nothrow) StorageItem(Weekly, 0);
}

int StorageList::Compare(const StorageItem* a, const StorageItem* b) const {
    return CompareDisplayOrder(*a, *b);
}

bool StorageList::CheckEntry(const StorageItem*) const {
    return true;
}

void StorageList::Append(StorageItem* entry) {
    // The tail is kept so that loading N entries costs O(N); the order is that of a walk
    // from the head to the last entry.
    entry->next = nullptr;
    entry->prev = tail;
    entry->owner = this;
    if (tail)
        tail->next = entry;
    else
        head = entry;
    tail = entry;
}

void StorageList::Remove(StorageItem* entry) {
    if (entry->prev)
        entry->prev->next = entry->next;
    else if (head == entry)
        head = entry->next;
    if (entry->next)
        entry->next->prev = entry->prev;
    else if (tail == entry)
        tail = entry->prev;
    entry->next = nullptr;
    entry->prev = nullptr;
    delete entry;
}

void StorageList::Clear() {
    while (head)
        Remove(head);
}

bool StorageList::WriteHeader(FILE* file) const {
    return WriteU16(file, magic) && (version == kNoVersionWord || WriteU16(file, version)) &&
           WriteU32(file, formatWord);
}

bool StorageList::ReadHeader(FILE* file) const {
    uint16_t word;
    uint32_t format;
    if (!ReadU16(file, &word) || word != magic) return false;
    if (version != kNoVersionWord && (!ReadU16(file, &word) || word != version)) return false;
    // Only the high half of the format word must match; any low half is accepted.
    return ReadU32(file, &format) && (format >> 16) == (formatWord >> 16);
}

bool StorageList::WriteAll(FILE* file) const {
    if (!WriteHeader(file)) return false;
    for (const StorageItem* entry = head; entry; entry = entry->next)
        if (!entry->Write(file)) return false;
    return true;
}

void StorageList::KeepAsideDamagedFile() {
    // A refused or partly read file may hold entries the user still wants: before the first
    // save replaces it, it is copied once beside it under a name that tells what it is.
    if (!FileExists(path)) {
        keepAsidePending = false; // nothing left to keep
        return;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t suffix[64];
    swprintf(suffix, 64, L".%04u%02u%02u-%02u%02u%02u.damaged", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute, now.wSecond);
    wchar_t kept[300];
    if (PathWithSuffix(path, suffix, kept, 300) && CopyFilePath(path, kept))
        keepAsidePending = false;
}

bool StorageList::Save() {
    // The whole list goes to a temporary file beside the real one, which then replaces it in
    // one step: a failed save leaves the previous file whole and the temporary file removed.
    wchar_t temporary[300];
    if (!PathWithSuffix(path, L".new", temporary, 300)) return false;
    if (keepAsidePending) {
        KeepAsideDamagedFile();
        if (keepAsidePending) return false; // never overwrite what could not be kept aside
    }
    FILE* file = OpenFile(temporary, L"wb");
    if (!file) return false;
    bool ok = WriteAll(file) && FlushToDisk(file);
    ok = (fclose(file) == 0) && ok;
    ok = ok && ReplaceFileWith(temporary, path);
    if (!ok) DeleteFilePath(temporary);
    return ok;
}

bool StorageList::Load() {
    Clear();
    lastLoad = LoadReport{};
    // What an earlier load found to keep aside is gone or replaced: only this file counts.
    keepAsidePending = false;
    FILE* file = OpenFile(path, L"rb");
    if (!file) return false;
    if (!ReadHeader(file)) {
        fclose(file);
        lastLoad.state = LoadReport::Refused;
        keepAsidePending = true;
        return false;
    }
    lastLoad.state = LoadReport::Whole;
    // Record offsets are counted rather than asked of the stream: under Wine every ftell is a
    // call into the server, which made it the larger part of loading a long list.
    long offset = version == kNoVersionWord ? 6 : 8;
    for (;;) {
        StorageItem* entry = CreateEntry();
        if (!entry) break;
        if (!entry->Read(file)) {
            delete entry;
            // The end of the file between two records is the normal end; anything else is
            // a record cut short or refused.
            if (fseek(file, 0, SEEK_END) == 0 && ftell(file) != offset) {
                lastLoad.state = LoadReport::DamagedTail;
                lastLoad.stoppedAt = offset;
                keepAsidePending = true;
            }
            break;
        }
        offset += entry->RecordSize();
        Append(entry);
        ++lastLoad.entries;
    }
    fclose(file);
    return true;
}
