#include "executor/Executor.h"

#include "executor/ActionRequest.h"
#include "executor/HistoryWriter.h"
#include "executor/Telephony.h"
#include "platform/device/PhoneApi.h"
#include "contract/EngineContract.h"

namespace {

int RunAction(int argc, const wchar_t* const* argv, HistoryWriter& history) {
    // The argument count check cannot fail by an exception, so one guard takes in the whole run.
    try {
        int action = 0;
        long option = 0;
        int code = ParseActionArguments(argc, argv, action, option);
        history.Begin(code == kExecutorDone ? static_cast<uint16_t>(action) : kNoAction,
                      static_cast<int32_t>(option));
        if (code != kExecutorDone) return code;

        // Bluetooth comes first and does not depend on what the telephony step achieves.
        DWORD mode = 0;
        if (BluetoothModeForRequest(BluetoothRequest(action, option), mode)) {
            const int result = BthSetMode(mode);
            history.Step(StepBluetooth, result == 0 ? StepMade : StepFailed, result);
        }
        RunTelephonyStep(action, history);
        return kExecutorDone;
    } catch (...) {
        return kExecutorException;
    }
}

} // namespace

int RunExecutor(int argc, const wchar_t* const* argv) {
    HistoryWriter history;
    const int code = RunAction(argc, argv, history);
    history.End(code);
    return code;
}
