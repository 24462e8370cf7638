#include "executor/Telephony.h"

#include "contract/EngineContract.h"
#include "executor/LineName.h"
#include "executor/PowerOffNotice.h"
#include "platform/device/PhoneApi.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace {

const wchar_t kAppName[] = L"DozaraUtil";
const wchar_t kCellularLineName[] = L"Cellular Line";
constexpr DWORD kTelephonyVersion = 0x00020000;
constexpr DWORD kCellularExtVersion = 0x00010000;

// The registration and the open line of one run: the line is closed first, then the
// registration ended, each only when it was obtained.
struct TelephonySession {
    HLINEAPP app = 0;
    bool registered = false;
    HLINE line = 0;
    bool lineOpen = false;

    TelephonySession() = default;
    TelephonySession(const TelephonySession&) = delete;
    TelephonySession& operator=(const TelephonySession&) = delete;
    ~TelephonySession() {
        if (lineOpen) lineClose(line);
        if (registered) lineShutdown(app);
    }
};

bool IsCellularLine(HLINEAPP app, DWORD device) {
    DWORD apiVersion = 0;
    LINEEXTENSIONID extensionId = {};
    if (lineNegotiateAPIVersion(app, device, kTelephonyVersion, kTelephonyVersion, &apiVersion,
                                &extensionId) != 0)
        return false;

    LINEDEVCAPS probe = {};
    probe.dwTotalSize = sizeof(probe);
    if (lineGetDevCaps(app, device, apiVersion, 0, &probe) != 0) return false;

    // The whole record is never smaller than its fixed part, whatever the first query claims.
    const size_t size = std::max<size_t>(probe.dwNeededSize, sizeof(LINEDEVCAPS));
    std::unique_ptr<unsigned char[]> block(new (std::nothrow) unsigned char[size]);
    if (!block) return false;
    std::memset(block.get(), 0, size);
    LINEDEVCAPS* caps = reinterpret_cast<LINEDEVCAPS*>(block.get());
    caps->dwTotalSize = static_cast<DWORD>(size);
    return lineGetDevCaps(app, device, apiVersion, 0, caps) == 0 &&
           LineNameIs(caps, size, kCellularLineName);
}

// Records a call's result: 0 is made, anything else failed. True when it was made.
bool Record(HistoryWriter& history, RunStep step, LONG result) {
    history.Step(step, result == 0 ? StepMade : StepFailed, result);
    return result == 0;
}

void PowerOffNow(HistoryWriter& history) {
    if (!PowerOffConfirmed()) {
        history.Step(StepPowerOff, StepCancelled, 0);
        return;
    }
    // A phone that switches off ends this process within the call: the history says so first.
    history.Step(StepPowerOff, StepMade, 0);
    Record(history, StepPowerOff,
           static_cast<LONG>(SetSystemPowerState(nullptr, POWER_STATE_OFF, 0)));
}

void Act(int action, HLINE line, HistoryWriter& history) {
    switch (action) {
    case PhoneOff:
        Record(history, StepEquipment, lineSetEquipmentState(line, LINEEQUIPSTATE_MINIMUM));
        break;
    case PhoneOn:
        Record(history, StepEquipment, lineSetEquipmentState(line, LINEEQUIPSTATE_FULL));
        Record(history, StepRegister, lineRegister(line, LINEREGMODE_AUTOMATIC, nullptr, 0));
        break;
    case PowerOff: PowerOffNow(history); break;
    }
}

} // namespace

void RunTelephonyStep(int action, HistoryWriter& history) {
    TelephonySession session;
    DWORD deviceCount = 0;
    DWORD apiVersion = kTelephonyVersion;
    // The event that this option asks for is never waited on: no line message is needed.
    LINEINITIALIZEEXPARAMS params = {};
    params.dwTotalSize = sizeof(params);
    params.dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
    if (!Record(history, StepTelephony,
                lineInitializeEx(&session.app, nullptr, nullptr, kAppName, &deviceCount,
                                 &apiVersion, &params)))
        return;
    session.registered = true;

    // Every device is examined; when several carry the name, the last one is used.
    bool found = false;
    DWORD cellular = 0;
    for (DWORD device = 0; device < deviceCount; ++device)
        if (IsCellularLine(session.app, device)) {
            cellular = device;
            found = true;
        }
    // The found line's index, or the number of devices that were examined.
    history.Step(StepFindLine, found ? StepMade : StepFailed,
                 static_cast<int32_t>(found ? cellular : deviceCount));
    if (!found) return;

    if (!Record(history, StepOpenLine,
                lineOpen(session.app, cellular, &session.line, apiVersion, 0, 0,
                         LINECALLPRIVILEGE_OWNER,
                         LINEMEDIAMODE_INTERACTIVEVOICE | LINEMEDIAMODE_DATAMODEM, nullptr)))
        return;
    session.lineOpen = true;

    DWORD extVersion = 0;
    if (!Record(history, StepExtension,
                lineNegotiateExtVersion(session.app, cellular, apiVersion, kCellularExtVersion,
                                        kCellularExtVersion, &extVersion)))
        return;
    Act(action, session.line, history);
}
