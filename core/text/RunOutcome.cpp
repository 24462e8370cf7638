#include "core/text/RunOutcome.h"

#include "contract/EngineContract.h"
#include "core/text/TextKeys.h"

static_assert(sizeof kStepFailedKeys / sizeof kStepFailedKeys[0] == kRunStepCount,
              "one text per step");

const wchar_t* RunOutcomeKey(const RunRecord& run) {
    if (run.exitCode == kExecutorException) return L"DLG_RUN_EXCEPTION";
    if (run.exitCode == kExecutorUnknownAction || run.exitCode == kExecutorTooFewArguments)
        return L"DLG_RUN_NOT_UNDERSTOOD";
    const RunStep failed = FirstFailedStep(run);
    if (failed != kRunStepCount)
        return run.states[failed] == StepCancelled ? L"DLG_RUN_CANCELLED" : kStepFailedKeys[failed];
    if (!RunEnded(run)) return L"DLG_RUN_UNFINISHED";
    return run.exitCode == kExecutorDone ? L"DLG_RUN_DONE" : L"DLG_RUN_EXCEPTION";
}
