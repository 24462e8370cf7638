#include "executor/Executor.h"

#include "executor/ActionRequest.h"
#include "executor/Telephony.h"
#include "platform/device/PhoneApi.h"
#include "contract/EngineContract.h"

int RunExecutor(int argc, const wchar_t* const* argv) {
    // The argument count check cannot fail by an exception, so one guard takes in the whole run.
    try {
        int action = 0;
        long option = 0;
        int code = ParseActionArguments(argc, argv, action, option);
        if (code != kExecutorDone) return code;

        // Bluetooth comes first and does not depend on what the telephony step achieves.
        DWORD mode = 0;
        if (BluetoothModeForRequest(BluetoothRequest(action, option), mode)) BthSetMode(mode);
        RunTelephonyStep(action);
        return kExecutorDone;
    } catch (...) {
        return kExecutorException;
    }
}
