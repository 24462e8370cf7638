#include "core/model/LastRun.h"

#include "contract/EngineContract.h"
#include "platform/core/Calendar.h"
#include "core/model/Firings.h"

const RunRecord* LastRunOf(const DZItem& entry, const std::vector<RunRecord>& runs) {
    const uint16_t option = OptionTokenOf(entry.options);
    for (const RunRecord& run : runs) {
        if (run.action != entry.action || run.option != option) continue;
        const uint64_t began = ToTicks(run.instant);
        const uint64_t window = static_cast<uint64_t>(kRunMatchSeconds) * kTicksPerSecond;
        if (began < window) continue;
        // The first firing after the window opened, if the run began at it or after it.
        const FILETIME firing = NextFiring(entry, FromTicks(began - window));
        if (!IsNever(firing) && ToTicks(firing) <= began) return &run;
    }
    return nullptr;
}
