#include "ui/model/StorageList.h"

#include <cwchar>
#include <new>
#include <string>

#include "platform/core/FileIo.h"
#include "ui/model/BinaryIo.h"
#include "contract/EngineContract.h"
#include "ui/model/Recurrence.h"
#include "ui/text/BoundedText.h"
#include "ui/text/ProgramDirectory.h"

namespace {

constexpr uint16_t kNoVersionWord = 257;

// Appends suffix to path into out (size characters); false when it does not fit.
bool PathWithSuffix(const wchar_t* path, const wchar_t* suffix, wchar_t* out, size_t size) {
    const int n = swprintf(out, size, L"%ls%ls", path, suffix);
    return n > 0 && static_cast<size_t>(n) < size;
}

bool ReadAll(FILE* file, std::string& bytes) {
    bytes.clear();
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, n);
    return !ferror(file);
}

enum class Rewrite { Untouched, Done, Broken };

// Writes the bytes of source over target in place, flushed, and reads them back. Untouched:
// the target could not be opened for writing (a reader that does not share writing holds it)
// and is as it was; Broken: it may hold part of the new bytes.
Rewrite RewriteInPlace(const wchar_t* source, const wchar_t* target) {
    std::string bytes, check;
    FILE* in = OpenFile(source, L"rb");
    if (!in) return Rewrite::Untouched;
    const bool read = ReadAll(in, bytes);
    fclose(in);
    if (!read) return Rewrite::Untouched;
    FILE* out = OpenFile(target, L"r+b");
    if (!out) return Rewrite::Untouched;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() &&
              SetFileSize(out, static_cast<long>(bytes.size())) && FlushToDisk(out) &&
              fseek(out, 0, SEEK_SET) == 0 && ReadAll(out, check) && check == bytes;
    ok = (fclose(out) == 0) && ok;
    return ok ? Rewrite::Done : Rewrite::Broken;
}

const wchar_t* KeptAsideSuffix(LoadReport::State why) {
    return why == LoadReport::DamagedTail ? L"damaged" : L"refused";
}

} // namespace

StorageList::StorageList() : magic(0xCE00), version(258), formatWord(1) {
    // A program folder so long that the name would be cut ("storage.d") names some other
    // file: the path stays empty and the program refuses to start (Main.cpp).
    wchar_t directory[260];
    ProgramDirectory(directory);
    if (BoundedText(path, 260).Add(directory).Add(DZ_STORAGE_FILE).Cut()) path[0] = L'\0';
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

// Copies the file on disk beside it under a name that tells the time and what was wrong.
bool StorageList::KeepAside(LoadReport::State why) {
    const SYSTEMTIME now = LocalNowFields();
    wchar_t suffix[64];
    swprintf(suffix, 64, L".%04u%02u%02u-%02u%02u%02u.%ls", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute, now.wSecond, KeptAsideSuffix(why));
    return PathWithSuffix(path, suffix, keptAs, 300) && CopyFilePath(path, keptAs);
}

void StorageList::KeepAsideDamagedFile() {
    // A refused or partly read file may hold entries the user still wants: before the first
    // save replaces it, it is copied once beside it.
    if (!FileExists(path) || KeepAside(lastLoad.state))
        keepAsidePending = false; // kept, or nothing left to keep
}

bool StorageList::KeepAsideNow() {
    if (!keepAsidePending) return false;
    KeepAsideDamagedFile();
    return !keepAsidePending && keptAs[0];
}

// The replace step moves the new file over the old in one step. Under Wine it cannot while
// another program holds the old file open (13 of 1,000 saves failed with two readers each
// holding it 300 ms): then the old file is rewritten in place. The complete temporary file
// stays beside it until the rewrite has been read back, so a start after a failure half-way
// finds it whole (LoadRecovering).
bool StorageList::ReplaceOrRewrite(const wchar_t* temporary) {
    if (ReplaceFileWith(temporary, path)) return true;
    const Rewrite rewrite = FileExists(path) ? RewriteInPlace(temporary, path) : Rewrite::Untouched;
    if (rewrite != Rewrite::Broken) DeleteFilePath(temporary);
    return rewrite == Rewrite::Done;
}

bool StorageList::Save() {
    // The whole list goes to a temporary file beside the real one, which then replaces it:
    // a failed save leaves the previous file whole.
    wchar_t temporary[300];
    if (!path[0] || !PathWithSuffix(path, L".new", temporary, 300)) return false;
    // A file that exists but could not be read may hold any number of entries: it is never
    // replaced by a list that does not have them. Wine's replace ignores the read-only
    // attribute, so that is checked here.
    if (lastLoad.state == LoadReport::Unreadable || IsReadOnlyFile(path)) return false;
    if (keepAsidePending) {
        KeepAsideDamagedFile();
        if (keepAsidePending) return false; // never overwrite what could not be kept aside
    }
    FILE* file = OpenFile(temporary, L"wb");
    if (!file) return false;
    bool ok = WriteAll(file) && FlushToDisk(file);
    ok = (fclose(file) == 0) && ok;
    if (!ok) {
        DeleteFilePath(temporary);
        return false;
    }
    return ReplaceOrRewrite(temporary);
}

bool StorageList::LoadRecovering() {
    const bool loaded = Load();
    const LoadReport found = lastLoad;
    if (found.state != LoadReport::Refused && found.state != LoadReport::DamagedTail) return loaded;
    wchar_t temporary[300];
    if (!PathWithSuffix(path, L".new", temporary, 300) || !FileExists(temporary)) return loaded;
    const bool whole = LoadFrom(temporary) && lastLoad.state == LoadReport::Whole;
    lastLoad = found;
    if (!whole || !KeepAside(found.state) || !ReplaceFileWith(temporary, path)) return Load();
    keepAsidePending = false;
    return Load();
}

bool StorageList::Reload() {
    StorageItem* madeMeanwhile = head;
    head = tail = nullptr;
    const bool loaded = Load();
    while (StorageItem* entry = madeMeanwhile) {
        madeMeanwhile = entry->next;
        Append(entry);
    }
    return loaded;
}

bool StorageList::Load() {
    return LoadFrom(path);
}

bool StorageList::LoadFrom(const wchar_t* name) {
    Clear();
    lastLoad = LoadReport{};
    // What an earlier load found to keep aside is gone or replaced: only this file counts.
    keepAsidePending = false;
    if (!name[0]) return false;
    FILE* file = OpenFile(name, L"rb");
    if (!file) {
        if (FileExists(name)) lastLoad.state = LoadReport::Unreadable;
        return false;
    }
    if (!ReadHeader(file)) {
        lastLoad.state = ferror(file) ? LoadReport::Unreadable : LoadReport::Refused;
        keepAsidePending = lastLoad.state == LoadReport::Refused;
        fclose(file);
        return false;
    }
    lastLoad.state = LoadReport::Whole;
    // Record offsets are counted rather than asked of the stream: under Wine every ftell is a
    // call into the server, which made it the larger part of loading a long list.
    long offset = version == kNoVersionWord ? 6 : 8;
    // The end of the file between two records is the normal end; anything else is a record
    // cut short or refused, or entries beyond the limit.
    const auto markTail = [&] {
        if (fseek(file, 0, SEEK_END) == 0 && ftell(file) != offset) {
            lastLoad.state = LoadReport::DamagedTail;
            lastLoad.stoppedAt = offset;
            keepAsidePending = true;
        }
    };
    for (;;) {
        if (entryLimit > 0 && lastLoad.entries >= entryLimit) {
            markTail();
            break;
        }
        StorageItem* entry = CreateEntry();
        if (!entry) break;
        if (!entry->Read(file)) {
            delete entry;
            if (ferror(file)) {
                // What was read says nothing about the rest.
                Clear();
                lastLoad = LoadReport{LoadReport::Unreadable};
                break;
            }
            markTail();
            break;
        }
        offset += entry->RecordSize();
        Append(entry);
        ++lastLoad.entries;
    }
    fclose(file);
    return lastLoad.state != LoadReport::Unreadable;
}
