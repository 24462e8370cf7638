#pragma once
// The executor's side of "history.dat" (core/model/RunHistory.h): one record per run, written
// again after every step so that a run cut short still shows how far it came. Nothing here
// changes what the executor does or returns: a history that cannot be opened or written is
// given up silently, and no call throws.
#include "core/model/RunHistory.h"

#include <windows.h>

class HistoryWriter {
  public:
    HistoryWriter() = default;
    HistoryWriter(const HistoryWriter&) = delete;
    HistoryWriter& operator=(const HistoryWriter&) = delete;
    ~HistoryWriter();

    // Claims the next run number in the history beside the executor and writes its first form.
    void Begin(uint16_t action, int32_t option);
    void Step(RunStep step, StepState state, int32_t result);
    void End(int exitCode);

  private:
    void Open(uint16_t action, int32_t option);
    void Write();

    HANDLE file = INVALID_HANDLE_VALUE;
    RunRecord record;
};

// Test seam: with the environment variable DZ_HISTORY_STOP_AFTER=N the executor ends itself
// at once after its N-th write to the history file, as a crash or a power cut would stop it.
constexpr char kHistoryStopVariable[] = "DZ_HISTORY_STOP_AFTER";
constexpr UINT kHistoryStopExitCode = 0x5707;
