#include "core/model/StorageList.h"

#include <algorithm>
#include <cwchar>
#include <new>
#include <string>

#include "platform/core/FileIo.h"
#include "core/model/BinaryIo.h"
#include "core/model/KeptAside.h"
#include "contract/EngineContract.h"
#include "core/model/Recurrence.h"
#include "platform/core/BoundedText.h"
#include "platform/core/ProgramDirectory.h"

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

PowerCutForTests* g_powerCut = nullptr;

// One step of a save is done; false once the power went out (tests only).
bool PowerStays() {
    if (g_powerCut && !g_powerCut->cut && ++g_powerCut->steps == g_powerCut->cutAfter)
        g_powerCut->cut = true;
    return !g_powerCut || !g_powerCut->cut;
}

bool PowerWentOut() {
    return g_powerCut && g_powerCut->cut;
}

constexpr size_t kPage = 4096;

// A page at a time, each handed to the system at once, as the stream's 4 KB buffer does anyway:
// a power cut between two pages leaves the first new and the rest old.
bool WritePages(FILE* out, const std::string& bytes) {
    for (size_t at = 0; at < bytes.size(); at += kPage) {
        const size_t n = std::min(kPage, bytes.size() - at);
        if (fwrite(bytes.data() + at, 1, n, out) != n || fflush(out) != 0 || !PowerStays())
            return false;
    }
    return true;
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
    bool ok = WritePages(out, bytes) && SetFileSize(out, static_cast<long>(bytes.size())) &&
              PowerStays() && FlushToDisk(out) && PowerStays() && fseek(out, 0, SEEK_SET) == 0 &&
              ReadAll(out, check) && check == bytes;
    ok = (fclose(out) == 0) && ok;
    return ok ? Rewrite::Done : Rewrite::Broken;
}

// Puts the marked file in the target's place. The replace step moves it over the target in one
// step. Under Wine it cannot while another program holds the target open (13 of 1,000 saves
// failed with two readers each holding it 300 ms): then the target is rewritten in place. The
// marked file stays beside it until the rewrite has been read back, so that a start after a
// power cut half-way finishes the save from it (LoadRecovering).
Rewrite Finish(const wchar_t* marked, const wchar_t* target) {
    const bool refused = g_powerCut && g_powerCut->replaceRefused;
    if (!refused && ReplaceFileWith(marked, target)) {
        PowerStays();
        return Rewrite::Done;
    }
    const Rewrite rewrite =
        FileExists(target) ? RewriteInPlace(marked, target) : Rewrite::Untouched;
    if (rewrite == Rewrite::Done && !PowerWentOut()) DeleteFilePath(marked);
    return rewrite;
}

} // namespace

void SetPowerCutForTests(PowerCutForTests* cut) {
    g_powerCut = cut;
}

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

// The files of a save: the list's file itself (a symbolic link is followed, so that the file it
// names is written and the link stays a link) and, beside it, the temporary file and the same
// file once marked whole.
bool StorageList::SaveFiles(wchar_t (&target)[300], wchar_t (&temporary)[300],
                            wchar_t (&marked)[300]) {
    if (!path[0]) return false;
    if (!ResolvedPath(path, target, 300)) swprintf(target, 300, L"%ls", path);
    return PathWithSuffix(target, L".new", temporary, 300) &&
           PathWithSuffix(target, L".ready", marked, 300);
}

// A save failed at file: when something stands there, no save succeeds until it is removed.
bool StorageList::Blocked(const wchar_t* file) {
    if (FileExists(file)) {
        lastSave.state = SaveReport::Blocked;
        swprintf(lastSave.blockedBy, 300, L"%ls", file);
    }
    return false;
}

// A file on disk that may hold entries the user still wants is copied aside once, before the
// first save replaces it; false while that could not be done.
bool StorageList::KeepAsideBeforeReplacing(const wchar_t* target) {
    if (keepAsideAs &&
        (!FileExists(target) || KeepAside(target, target, keepAsideAs, false, keptAs)))
        keepAsideAs = nullptr;
    return !keepAsideAs;
}

// The list goes to the temporary file, flushed to the disk, and is then marked whole by a step
// of its own, a rename: a start that finds the marked file finishes the save from it, while the
// temporary file may have been cut short anywhere and is never read.
bool StorageList::WriteMarked(const wchar_t* temporary, const wchar_t* marked) {
    FILE* file = OpenFile(temporary, L"wb");
    if (!file) return Blocked(temporary);
    bool ok = WriteAll(file) && PowerStays() && FlushToDisk(file) && PowerStays();
    ok = (fclose(file) == 0) && ok;
    if (PowerWentOut()) return false;
    if (ok && ReplaceFileWith(temporary, marked)) return PowerStays();
    DeleteFilePath(temporary);
    return ok ? Blocked(marked) : false;
}

bool StorageList::KeepAsideNow() {
    wchar_t target[300], temporary[300], marked[300];
    if (!keepAsideAs || !SaveFiles(target, temporary, marked)) return false;
    return KeepAsideBeforeReplacing(target) && keptAs[0];
}

bool StorageList::Save() {
    // A failed save, wherever it stops, leaves the previous file whole.
    lastSave = SaveReport{SaveReport::Failed};
    wchar_t target[300], temporary[300], marked[300];
    if (!SaveFiles(target, temporary, marked)) return false;
    // A file that exists but could not be read may hold any number of entries: it is never
    // replaced by a list that does not have them. Wine's replace ignores the read-only
    // attribute, so that is checked here.
    if (lastLoad.state == LoadReport::Unreadable || IsReadOnlyFile(target)) return false;
    if (IsFolder(temporary)) return Blocked(temporary);
    if (IsFolder(marked)) return Blocked(marked);
    if (!KeepAsideBeforeReplacing(target) || !WriteMarked(temporary, marked)) return false;
    const Rewrite finished = Finish(marked, target);
    if (PowerWentOut()) return false;
    // The change is reported as not saved: a start must not finish it later either.
    if (finished == Rewrite::Untouched) DeleteFilePath(marked);
    if (finished != Rewrite::Done) return false;
    lastSave.state = SaveReport::Saved;
    return true;
}

bool StorageList::LoadRecovering() {
    wchar_t target[300], temporary[300], marked[300];
    if (!SaveFiles(target, temporary, marked)) return Load();
    if (FileExists(temporary) && !IsFolder(temporary))
        KeepAside(target, temporary, L"unfinished", true);
    if (!FileExists(marked) || IsFolder(marked)) return Load();
    if (!LoadFrom(marked) || lastLoad.state != LoadReport::Whole) {
        KeepAside(target, marked, L"unfinished", true);
        return Load();
    }
    // The marked file holds the list of the last save: its entries stay, and it takes the
    // place of the file on disk once that is kept aside. What cannot be done now, the next
    // save does.
    keepAsideAs = L"replaced";
    if (!KeepAsideBeforeReplacing(target) || Finish(marked, target) != Rewrite::Done) return true;
    const bool loaded = Load();
    lastLoad.saveFinished = true;
    return loaded;
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
    keepAsideAs = nullptr;
    if (!name[0]) return false;
    FILE* file = OpenFile(name, L"rb");
    if (!file) {
        if (FileExists(name)) lastLoad.state = LoadReport::Unreadable;
        return false;
    }
    if (!ReadHeader(file)) {
        lastLoad.state = ferror(file) ? LoadReport::Unreadable : LoadReport::Refused;
        if (lastLoad.state == LoadReport::Refused) keepAsideAs = L"refused";
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
            keepAsideAs = L"damaged";
        }
    };
    for (;;) {
        if (entryLimit > 0 && lastLoad.entries >= entryLimit) {
            markTail();
            if (lastLoad.state == LoadReport::DamagedTail) {
                lastLoad.overLimit = true;
                keepAsideAs = L"too-many";
            }
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
