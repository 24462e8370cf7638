// Arbitrary bytes as the executor's history.dat, as they are and after a header of ours (so
// that the slots are reached without the fuzzer finding the header first). Every record read
// is sealed, lies in the slot its number leads to, comes newest first, survives a write and
// read again unchanged, and has an outcome in words; matching runs to an entry never points
// outside the runs.
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzFiles.h"
#include "core/model/LastRun.h"
#include "core/model/RunHistory.h"
#include "core/text/RunOutcome.h"
#include "core/text/TextKeys.h"

namespace {

bool IsKnownKey(const wchar_t* key) {
    for (const KeyTable& table : kAllKeyTables)
        for (size_t i = 0; i < table.count; ++i)
            if (wcscmp(table.keys[i], key) == 0) return true;
    return false;
}

bool Same(const RunRecord& a, const RunRecord& b) {
    return a.sequence == b.sequence && a.instant.dwLowDateTime == b.instant.dwLowDateTime &&
           a.instant.dwHighDateTime == b.instant.dwHighDateTime && a.action == b.action &&
           a.requester == b.requester && a.option == b.option && a.exitCode == b.exitCode &&
           a.finished == b.finished && std::memcmp(a.states, b.states, sizeof a.states) == 0 &&
           std::memcmp(a.results, b.results, sizeof a.results) == 0;
}

void CheckHistory(const unsigned char* bytes, size_t size) {
    const std::vector<RunRecord> runs = ParseRunHistory(bytes, size);
    FUZZ_CHECK(runs.size() <= kHistorySlots);
    for (size_t i = 0; i < runs.size(); ++i) {
        const RunRecord& run = runs[i];
        FUZZ_CHECK(run.sequence != 0);
        if (i > 0) FUZZ_CHECK(run.sequence < runs[i - 1].sequence);
        FUZZ_CHECK(HistorySlotOffset(run.sequence) + kHistorySlotSize <= size);
        unsigned char slot[kHistorySlotSize];
        EncodeRunRecord(run, slot);
        RunRecord again;
        FUZZ_CHECK(DecodeRunRecord(slot, again) && Same(run, again));
        FUZZ_CHECK(IsKnownKey(RunOutcomeKey(run)));
        FUZZ_CHECK(FirstFailedStep(run) <= kRunStepCount);
    }
    for (uint16_t action : {PhoneOff, PhoneOn, PowerOff}) {
        DZItem entry;
        entry.action = action;
        entry.weekdayMask = kAllWeekdays;
        const RunRecord* last = LastRunOf(entry, runs);
        FUZZ_CHECK(!last || (last >= runs.data() && last < runs.data() + runs.size()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckHistory(data, size);
    std::vector<unsigned char> framed(kHistoryHeaderSize + size);
    EncodeHistoryHeader(framed.data());
    if (size) std::memcpy(framed.data() + kHistoryHeaderSize, data, size);
    CheckHistory(framed.data(), framed.size());
    return 0;
}
