#include "engine/FiringSchedule.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "core/model/Firings.h"

namespace {

// Firings are remembered this long: a clock set back by less than this never repeats one.
constexpr uint64_t kFiredMemoryTicks = 2 * kTicksPerDay;
// A recurring entry whose next occurrences have all fired already (the clock went back) gives
// up after this many steps and waits for nothing.
constexpr int kMaxStepsPastFired = 16;

bool IsRecurring(int32_t kind) {
    return kind == Weekly || kind == Monthly || kind == Yearly;
}

} // namespace

bool EntryKey::operator<(const EntryKey& other) const {
    if (when != other.when) return when < other.when;
    return what < other.what;
}

EntryKey KeyOf(const DZItem& item) {
    return {item.When(), item.What()};
}

uint64_t FiringSchedule::NextUnfired(const Tracked& entry, uint64_t after) const {
    // The rule that the coming-up list shows: each step gives the firing after the previous.
    uint64_t reference = after;
    for (int step = 0; step < kMaxStepsPastFired; ++step) {
        const uint64_t next = ToTicks(NextFiring(*entry.item, FromTicks(reference)));
        if (next == kNoInstant) return kNoInstant;
        if (!fired.count({next, entry.key})) return next;
        if (!IsRecurring(entry.item->kind)) return kNoInstant;
        reference = next;
    }
    return kNoInstant;
}

void FiringSchedule::ForgetOldFirings(uint64_t now) {
    while (!fired.empty() && fired.begin()->first + kFiredMemoryTicks < now)
        fired.erase(fired.begin());
}

void FiringSchedule::TakeUp(std::unique_ptr<DZList> fresh, uint64_t now) {
    std::multimap<EntryKey, uint64_t> known;
    for (const Tracked& entry : tracked)
        known.emplace(entry.key, entry.waiting);

    std::vector<Tracked> next;
    int number = 0;
    for (const StorageItem* item = fresh->head; item; item = item->next) {
        ++number;
        if (!item->active) continue;
        // A DZList makes nothing but DZItems.
        const DZItem& action = static_cast<const DZItem&>(*item);
        Tracked entry{&action, KeyOf(action), number, kNoInstant};
        const auto same = known.find(entry.key);
        if (same != known.end()) {
            entry.waiting = same->second;
            known.erase(same);
        } else {
            entry.waiting = NextUnfired(entry, now);
        }
        next.push_back(entry);
    }
    tracked = std::move(next);
    entryCount = static_cast<size_t>(number);
    list = std::move(fresh);
    ForgetOldFirings(now);
}

std::vector<Firing> FiringSchedule::TakeDue(uint64_t now) {
    std::vector<std::pair<const StorageItem*, Firing>> due;
    for (Tracked& entry : tracked) {
        if (entry.waiting == kNoInstant || entry.waiting > now) continue;
        // Two identical entries share their occurrences: the action runs once.
        if (fired.insert({entry.waiting, entry.key}).second) {
            Firing firing;
            firing.entryNumber = entry.number;
            firing.key = entry.key;
            firing.scheduled = entry.waiting;
            WriteActionBlock(entry.key.what.action, entry.key.what.options, firing.block);
            due.emplace_back(entry.item, firing);
        }
        entry.waiting = NextUnfired(entry, std::max(now, entry.waiting));
    }
    PutInFiringOrder(due);
    std::vector<Firing> firings;
    for (const auto& one : due)
        firings.push_back(one.second);
    return firings;
}

void FiringSchedule::PutInFiringOrder(
    std::vector<std::pair<const StorageItem*, Firing>>& due) const {
    std::stable_sort(due.begin(), due.end(), [](const auto& a, const auto& b) {
        return a.second.scheduled < b.second.scheduled;
    });
    // Firings at one instant run in the order that the coming-up list shows for them: the
    // phone ends in the state of the entry listed last. The list is asked for all its firings
    // from just before the instant, since each entry fires there at most once.
    for (auto same = due.begin(); same != due.end();) {
        const uint64_t instant = same->second.scheduled;
        const auto end = std::find_if(
            same, due.end(), [&](const auto& one) { return one.second.scheduled != instant; });
        if (end - same > 1) {
            const std::vector<UpcomingFiring> listed =
                UpcomingFirings(*list, FromTicks(instant - 1), entryCount);
            std::map<const StorageItem*, size_t> place; // in the list's firings at the instant
            for (size_t i = 0; i < listed.size() && ToTicks(listed[i].instant) == instant; ++i)
                place.emplace(listed[i].entry, i);
            const auto placeOf = [&](const StorageItem* item) {
                const auto found = place.find(item);
                return found == place.end() ? listed.size() : found->second;
            };
            std::stable_sort(same, end, [&](const auto& a, const auto& b) {
                return placeOf(a.first) < placeOf(b.first);
            });
        }
        same = end;
    }
}

void FiringSchedule::ClockChanged(uint64_t now) {
    for (Tracked& entry : tracked)
        if (IsRecurring(entry.item->kind) && (entry.waiting == kNoInstant || entry.waiting > now))
            entry.waiting = NextUnfired(entry, now);
}

uint64_t FiringSchedule::NextInstant() const {
    uint64_t earliest = kNoInstant;
    for (const Tracked& entry : tracked)
        earliest = std::min(earliest, entry.waiting);
    return earliest;
}

size_t FiringSchedule::WaitingCount() const {
    return static_cast<size_t>(std::count_if(
        tracked.begin(), tracked.end(), [](const Tracked& e) { return e.waiting != kNoInstant; }));
}
