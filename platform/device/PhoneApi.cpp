// The simulated phone behind PhoneApi.h. Handles are valid in the process that obtained them,
// as on the device; the radio, Bluetooth and power state and the journal are shared through
// the device store. Every call is journalled with its arguments and result while the device
// lock is held, so the journal order is the order in which the calls took effect.
#include "platform/device/PhoneApi.h"

#include "platform/device/DeviceState.h"
#include "platform/device/DeviceStore.h"

#include <cstdarg>
#include <cstring>
#include <cwchar>
#include <map>
#include <stdexcept>

namespace {

constexpr DWORD kApiVersion = 0x00020000;       // the telephony version this phone speaks
constexpr DWORD kOldestApiVersion = 0x00010004; // the oldest it still accepts
constexpr DWORD kExtVersion = 0x00010000;       // the cellular extension's version
const wchar_t kNextHandle[] = L"NextHandle";

struct LineApp {
    DWORD deviceCount;
    HANDLE event; // signalled when a line message waits; ours has none to send
};
std::map<HLINEAPP, LineApp> lineApps;
std::map<HLINE, HLINEAPP> openLines;

// Text longer than the buffer (a long application name) is cut, never left unterminated.
std::wstring Format(const wchar_t* format, ...) {
    wchar_t text[512] = {};
    va_list args;
    va_start(args, format);
    vswprintf(text, 512, format, args);
    va_end(args);
    text[511] = L'\0';
    return text;
}

// Pointers show only whether they were given: their values differ from run to run.
const wchar_t* Given(const void* pointer) {
    return pointer ? L"given" : L"null";
}

// "call(arguments) -> result" with telephony errors in hex, as their constants are written.
void Journal(const std::wstring& call, LONG result, const std::wstring& outputs = L"") {
    std::wstring line =
        call + (result < 0 ? Format(L" -> 0x%08lX", static_cast<unsigned long>(result))
                           : Format(L" -> %ld", static_cast<long>(result)));
    if (!outputs.empty()) line += L"; " + outputs;
    AppendJournalLine(line);
}

// Handles are unique across every program on the phone, so a journal never shows one twice.
DWORD NewHandle() {
    DWORD handle = ReadStoreNumber(kNextHandle, 1);
    WriteStoreNumber(kNextHandle, handle + 1);
    return handle;
}

bool FindLine(DWORD device, LineDevice& line) {
    DeviceConfig config;
    if (!ReadDeviceConfig(config) || device >= config.lines.size()) return false;
    line = config.lines[device];
    return true;
}

// Checks the application handle and device index shared by the per-device calls.
LONG CheckDevice(HLINEAPP app, DWORD device, LineDevice& line) {
    auto found = lineApps.find(app);
    if (found == lineApps.end()) return LINEERR_INVALAPPHANDLE;
    if (device >= found->second.deviceCount || !FindLine(device, line)) return LINEERR_BADDEVICEID;
    return 0;
}

// Fills the record as far as its total size allows: the fixed part always, the name only
// when it fits, with the needed and used sizes telling the caller what happened.
void FillDevCaps(DWORD device, const LineDevice& line, LINEDEVCAPS* caps) {
    const DWORD total = caps->dwTotalSize;
    std::memset(caps, 0, sizeof(LINEDEVCAPS));
    caps->dwTotalSize = total;
    caps->dwPermanentLineID = device + 1;
    caps->dwStringFormat = STRINGFORMAT_UNICODE;
    caps->dwNumAddresses = 1;
    caps->dwMediaModes = LINEMEDIAMODE_INTERACTIVEVOICE | LINEMEDIAMODE_DATAMODEM;
    caps->dwMaxNumActiveCalls = 1;

    const DWORD nameSize = static_cast<DWORD>((line.name.size() + 1) * sizeof(wchar_t));
    const DWORD nameOffset = sizeof(LINEDEVCAPS);
    caps->dwNeededSize = nameOffset + nameSize;
    caps->dwUsedSize = sizeof(LINEDEVCAPS);
    if (line.fault == LineFault::NameBeyondRecord) {
        caps->dwLineNameOffset = total + 16;
        caps->dwLineNameSize = nameSize;
        caps->dwUsedSize = caps->dwLineNameOffset + nameSize;
        return;
    }
    if (total < caps->dwNeededSize) return;
    std::memcpy(reinterpret_cast<BYTE*>(caps) + nameOffset, line.name.c_str(), nameSize);
    caps->dwLineNameOffset = nameOffset;
    caps->dwLineNameSize = nameSize;
    if (line.fault != LineFault::NameNotFilled) caps->dwUsedSize = caps->dwNeededSize;
}

} // namespace

int WINAPI BthSetMode(DWORD dwMode) {
    DeviceLock lock;
    int result = ERROR_INVALID_PARAMETER;
    DeviceStatus status;
    if (dwMode <= BTH_DISCOVERABLE && ReadDeviceStatus(status)) {
        status.bluetoothMode = dwMode;
        result = WriteDeviceStatus(status) ? ERROR_SUCCESS : ERROR_GEN_FAILURE;
    }
    Journal(Format(L"BthSetMode(%lu)", dwMode), result);
    return result;
}

LONG WINAPI lineInitializeEx(HLINEAPP* lphLineApp, HINSTANCE hInstance, LINECALLBACK lpfnCallback,
                             LPCWSTR lpszFriendlyAppName, DWORD* lpdwNumDevs, DWORD* lpdwAPIVersion,
                             LINEINITIALIZEEXPARAMS* lpLineInitializeExParams) {
    DeviceLock lock;
    std::wstring call = Format(
        L"lineInitializeEx(instance=%ls, callback=%ls, name=\"%ls\", apiVersion=0x%08lX, "
        L"paramsSize=%lu, options=%lu)",
        Given(hInstance), Given(reinterpret_cast<const void*>(lpfnCallback)),
        lpszFriendlyAppName ? lpszFriendlyAppName : L"(null)", lpdwAPIVersion ? *lpdwAPIVersion : 0,
        lpLineInitializeExParams ? lpLineInitializeExParams->dwTotalSize : 0,
        lpLineInitializeExParams ? lpLineInitializeExParams->dwOptions : 0);
    DeviceConfig config;
    LONG result = 0;
    if (!lphLineApp || !lpdwNumDevs || !lpdwAPIVersion || !lpLineInitializeExParams)
        result = LINEERR_INVALPOINTER;
    else if (lpLineInitializeExParams->dwTotalSize < sizeof(LINEINITIALIZEEXPARAMS))
        result = LINEERR_STRUCTURETOOSMALL;
    else if (!ReadDeviceConfig(config) || config.telephonyFails)
        result = LINEERR_NODRIVER;
    if (result != 0) {
        Journal(call, result);
        return result;
    }
    HLINEAPP app = NewHandle();
    DWORD deviceCount = static_cast<DWORD>(config.lines.size());
    HANDLE event = nullptr;
    if (lpLineInitializeExParams->dwOptions == LINEINITIALIZEEXOPTION_USEEVENT) {
        event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        lpLineInitializeExParams->Handles.hEvent = event;
    }
    lineApps[app] = {deviceCount, event};
    *lphLineApp = app;
    *lpdwNumDevs = deviceCount;
    *lpdwAPIVersion = kApiVersion;
    lpLineInitializeExParams->dwUsedSize = sizeof(LINEINITIALIZEEXPARAMS);
    lpLineInitializeExParams->dwNeededSize = sizeof(LINEINITIALIZEEXPARAMS);
    Journal(call, 0, Format(L"app=%lu devices=%lu", app, deviceCount));
    return 0;
}

LONG WINAPI lineNegotiateAPIVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPILowVersion,
                                    DWORD dwAPIHighVersion, DWORD* lpdwAPIVersion,
                                    LINEEXTENSIONID* lpExtensionID) {
    DeviceLock lock;
    std::wstring call =
        Format(L"lineNegotiateAPIVersion(app=%lu, device=%lu, low=0x%08lX, high=0x%08lX)", hLineApp,
               dwDeviceID, dwAPILowVersion, dwAPIHighVersion);
    LineDevice line;
    LONG result = CheckDevice(hLineApp, dwDeviceID, line);
    if (result == 0 && (!lpdwAPIVersion || !lpExtensionID)) result = LINEERR_INVALPOINTER;
    if (result == 0 && (line.fault == LineFault::ApiVersionFails || dwAPILowVersion > kApiVersion ||
                        dwAPIHighVersion < kOldestApiVersion || dwAPILowVersion > dwAPIHighVersion))
        result = LINEERR_INCOMPATIBLEAPIVERSION;
    if (result != 0) {
        Journal(call, result);
        return result;
    }
    *lpdwAPIVersion = dwAPIHighVersion < kApiVersion ? dwAPIHighVersion : kApiVersion;
    std::memset(lpExtensionID, 0, sizeof(LINEEXTENSIONID));
    Journal(call, 0, Format(L"apiVersion=0x%08lX", *lpdwAPIVersion));
    return 0;
}

LONG WINAPI lineGetDevCaps(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion,
                           DWORD dwExtVersion, LINEDEVCAPS* lpLineDevCaps) {
    DeviceLock lock;
    std::wstring call =
        Format(L"lineGetDevCaps(app=%lu, device=%lu, apiVersion=0x%08lX, extVersion=0x%08lX, "
               L"totalSize=%lu)",
               hLineApp, dwDeviceID, dwAPIVersion, dwExtVersion,
               lpLineDevCaps ? lpLineDevCaps->dwTotalSize : 0);
    LineDevice line;
    LONG result = CheckDevice(hLineApp, dwDeviceID, line);
    if (result == 0 && !lpLineDevCaps) result = LINEERR_INVALPOINTER;
    if (result == 0 && lpLineDevCaps->dwTotalSize < sizeof(LINEDEVCAPS))
        result = LINEERR_STRUCTURETOOSMALL;
    if (result == 0 && line.fault == LineFault::DevCapsFails) result = LINEERR_OPERATIONFAILED;
    if (result == 0 && line.fault == LineFault::DevCapsRaises) {
        AppendJournalLine(call + L" -> raised");
        throw std::runtime_error("line device driver fault");
    }
    if (result != 0) {
        Journal(call, result);
        return result;
    }
    FillDevCaps(dwDeviceID, line, lpLineDevCaps);
    Journal(call, 0,
            Format(L"needed=%lu used=%lu", lpLineDevCaps->dwNeededSize, lpLineDevCaps->dwUsedSize));
    return 0;
}

LONG WINAPI lineOpen(HLINEAPP hLineApp, DWORD dwDeviceID, HLINE* lphLine, DWORD dwAPIVersion,
                     DWORD dwExtVersion, DWORD_PTR dwCallbackInstance, DWORD dwPrivileges,
                     DWORD dwMediaModes, const LINECALLPARAMS* lpCallParams) {
    DeviceLock lock;
    std::wstring call = Format(
        L"lineOpen(app=%lu, device=%lu, apiVersion=0x%08lX, extVersion=0x%08lX, instance=%lu, "
        L"privileges=%lu, mediaModes=0x%lX, callParams=%ls)",
        hLineApp, dwDeviceID, dwAPIVersion, dwExtVersion,
        static_cast<unsigned long>(dwCallbackInstance), dwPrivileges, dwMediaModes,
        Given(lpCallParams));
    LineDevice line;
    LONG result = CheckDevice(hLineApp, dwDeviceID, line);
    if (result == 0 && !lphLine) result = LINEERR_INVALPOINTER;
    if (result == 0 && line.fault == LineFault::OpenFails) result = LINEERR_RESOURCEUNAVAIL;
    if (result != 0) {
        Journal(call, result);
        return result;
    }
    HLINE handle = NewHandle();
    openLines[handle] = hLineApp;
    *lphLine = handle;
    Journal(call, 0, Format(L"line=%lu", handle));
    return 0;
}

LONG WINAPI lineNegotiateExtVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion,
                                    DWORD dwExtLowVersion, DWORD dwExtHighVersion,
                                    DWORD* lpdwExtVersion) {
    DeviceLock lock;
    std::wstring call =
        Format(L"lineNegotiateExtVersion(app=%lu, device=%lu, apiVersion=0x%08lX, low=0x%08lX, "
               L"high=0x%08lX)",
               hLineApp, dwDeviceID, dwAPIVersion, dwExtLowVersion, dwExtHighVersion);
    LineDevice line;
    LONG result = CheckDevice(hLineApp, dwDeviceID, line);
    if (result == 0 && !lpdwExtVersion) result = LINEERR_INVALPOINTER;
    if (result == 0 && (line.fault == LineFault::ExtVersionFails || dwExtLowVersion > kExtVersion ||
                        dwExtHighVersion < kExtVersion))
        result = LINEERR_INCOMPATIBLEEXTVERSION;
    if (result != 0) {
        Journal(call, result);
        return result;
    }
    *lpdwExtVersion = kExtVersion;
    Journal(call, 0, Format(L"extVersion=0x%08lX", kExtVersion));
    return 0;
}

LONG WINAPI lineSetEquipmentState(HLINE hLine, DWORD dwState) {
    DeviceLock lock;
    std::wstring call = Format(L"lineSetEquipmentState(line=%lu, state=%lu)", hLine, dwState);
    LONG result = 0;
    DeviceStatus status;
    if (openLines.find(hLine) == openLines.end())
        result = LINEERR_INVALLINEHANDLE;
    else if (dwState < LINEEQUIPSTATE_MINIMUM || dwState > LINEEQUIPSTATE_FULL)
        result = LINEERR_INVALPARAM;
    else if (!ReadDeviceStatus(status))
        result = LINEERR_OPERATIONFAILED;
    if (result == 0) {
        status.equipmentState = dwState;
        // A radio that is not fully on drops its network registration.
        if (dwState != LINEEQUIPSTATE_FULL) status.registration = 0;
        if (!WriteDeviceStatus(status)) result = LINEERR_OPERATIONFAILED;
    }
    Journal(call, result);
    return result;
}

LONG WINAPI lineRegister(HLINE hLine, DWORD dwRegisterMode, LPCWSTR lpszOperator,
                         DWORD dwOperatorFormat) {
    DeviceLock lock;
    std::wstring call =
        Format(L"lineRegister(line=%lu, mode=%lu, operator=%ls, format=%lu)", hLine, dwRegisterMode,
               lpszOperator ? lpszOperator : L"(null)", dwOperatorFormat);
    LONG result = 0;
    DeviceStatus status;
    if (openLines.find(hLine) == openLines.end())
        result = LINEERR_INVALLINEHANDLE;
    else if (dwRegisterMode < LINEREGMODE_AUTOMATIC || dwRegisterMode > LINEREGMODE_MANAUTO)
        result = LINEERR_INVALPARAM;
    else if (!ReadDeviceStatus(status))
        result = LINEERR_OPERATIONFAILED;
    else if (status.equipmentState != LINEEQUIPSTATE_FULL)
        result = LINEERR_OPERATIONUNAVAIL; // no network without a radio
    if (result == 0) {
        status.registration = dwRegisterMode;
        if (!WriteDeviceStatus(status)) result = LINEERR_OPERATIONFAILED;
    }
    Journal(call, result);
    return result;
}

LONG WINAPI lineClose(HLINE hLine) {
    DeviceLock lock;
    LONG result = openLines.erase(hLine) ? 0 : LINEERR_INVALLINEHANDLE;
    Journal(Format(L"lineClose(line=%lu)", hLine), result);
    return result;
}

LONG WINAPI lineShutdown(HLINEAPP hLineApp) {
    DeviceLock lock;
    LONG result = LINEERR_INVALAPPHANDLE;
    auto app = lineApps.find(hLineApp);
    if (app != lineApps.end()) {
        if (app->second.event) CloseHandle(app->second.event);
        lineApps.erase(app);
        result = 0;
        // Shutting down closes whatever lines the application left open.
        for (auto line = openLines.begin(); line != openLines.end();)
            line = line->second == hLineApp ? openLines.erase(line) : std::next(line);
    }
    Journal(Format(L"lineShutdown(app=%lu)", hLineApp), result);
    return result;
}

DWORD WINAPI SetSystemPowerState(LPCWSTR pwsSystemState, DWORD StateFlags, DWORD Options) {
    DeviceLock lock;
    std::wstring call = Format(L"SetSystemPowerState(name=%ls, flags=0x%08lX, options=%lu)",
                               pwsSystemState ? pwsSystemState : L"(null)", StateFlags, Options);
    DeviceStatus status;
    DWORD result = ERROR_GEN_FAILURE;
    if (ReadDeviceStatus(status)) {
        status.powerState = StateFlags;
        if (WriteDeviceStatus(status)) result = ERROR_SUCCESS;
    }
    Journal(call, static_cast<LONG>(result));
    return result;
}
