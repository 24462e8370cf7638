#pragma once
// Which occurrence of which entry fires next. The engine hands it every fresh load of
// "storage.dat" and the current local time; it answers with the occurrences that are due and
// remembers what has fired, so that no occurrence ever fires twice, across reloads and clock
// changes alike.
#include <cstdint>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "core/model/DZItem.h"
#include "core/model/DZList.h"
#include "contract/EngineContract.h"

// What identifies an entry when the file gives no ids: everything stored about it apart from
// its active flag (an inactive entry is not scheduled at all).
struct EntryKey {
    Schedule when;
    ActionChoice what;

    bool operator<(const EntryKey& other) const;
};

EntryKey KeyOf(const DZItem& item);

// One occurrence to fire now.
struct Firing {
    int entryNumber = 0; // position in the file, 1 for the first entry
    EntryKey key;
    uint64_t scheduled = 0; // the occurrence's local instant, FILETIME ticks
    unsigned char block[kActionBlockSize] = {};
};

constexpr uint64_t kNoInstant = 0x7FFFFFFFFFFFFFFFull; // the ticks of kNever

class FiringSchedule {
  public:
    // Takes up the entries of a fresh load. An entry that was known before, unchanged, keeps
    // the occurrence it waited for (even one that has just become due); an entry new to the
    // engine waits for its first occurrence after now, so a one-time instant that has already
    // passed never fires.
    void TakeUp(std::unique_ptr<DZList> list, uint64_t now);

    // The occurrences due at now, each once, in firing order: the earliest first, and those at
    // one instant as the coming-up list orders them. Recurring entries then wait for their
    // next one.
    std::vector<Firing> TakeDue(uint64_t now);

    // The local clock moved by other than the passing of time: recurring entries look for
    // their next occurrence afresh. Occurrences that the change has left behind stay due.
    void ClockChanged(uint64_t now);

    uint64_t NextInstant() const; // kNoInstant when nothing waits
    size_t EntryCount() const { return entryCount; }
    size_t WaitingCount() const;

  private:
    struct Tracked {
        const DZItem* item;
        EntryKey key;
        int number;
        uint64_t waiting; // the occurrence it waits for, kNoInstant when none
    };

    uint64_t NextUnfired(const Tracked& entry, uint64_t after) const;
    void ForgetOldFirings(uint64_t now);
    void PutInFiringOrder(std::vector<std::pair<const StorageItem*, Firing>>& due) const;

    std::unique_ptr<DZList> list;
    std::vector<Tracked> tracked; // active entries only
    size_t entryCount = 0;
    std::set<std::pair<uint64_t, EntryKey>> fired; // by instant, oldest first
};
