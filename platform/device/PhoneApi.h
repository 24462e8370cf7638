#pragma once
// The phone's Bluetooth, telephony, cellular-extension and power interfaces, as the executor
// calls them. On the desktop these come from our simulated phone (dz_device) instead of the
// device's libraries; the desktop's own telephony headers are not used, since they lack the
// cellular extension and would clash with these declarations.
//
// The functions have C++ linkage: the desktop's SetSystemPowerState(BOOL, BOOL) has C linkage,
// and the phone's three-argument form can only stand beside it as an overload.
#include <windows.h>

typedef DWORD HLINEAPP;
typedef DWORD HLINE;

// Bluetooth radio modes.
constexpr DWORD BTH_POWER_OFF = 0;
constexpr DWORD BTH_CONNECTABLE = 1;
constexpr DWORD BTH_DISCOVERABLE = 2;

constexpr DWORD LINEINITIALIZEEXOPTION_USEHIDDENWINDOW = 1;
constexpr DWORD LINEINITIALIZEEXOPTION_USEEVENT = 2;
constexpr DWORD LINEINITIALIZEEXOPTION_USECOMPLETIONPORT = 3;

constexpr DWORD LINECALLPRIVILEGE_NONE = 1;
constexpr DWORD LINECALLPRIVILEGE_MONITOR = 2;
constexpr DWORD LINECALLPRIVILEGE_OWNER = 4;

constexpr DWORD LINEMEDIAMODE_INTERACTIVEVOICE = 0x00000004;
constexpr DWORD LINEMEDIAMODE_DATAMODEM = 0x00000010;

constexpr DWORD STRINGFORMAT_UNICODE = 3;

// Radio equipment states of the cellular extension.
constexpr DWORD LINEEQUIPSTATE_MINIMUM = 1;
constexpr DWORD LINEEQUIPSTATE_RXONLY = 2;
constexpr DWORD LINEEQUIPSTATE_TXONLY = 3;
constexpr DWORD LINEEQUIPSTATE_NOTXRX = 4;
constexpr DWORD LINEEQUIPSTATE_FULL = 5;

constexpr DWORD LINEREGMODE_AUTOMATIC = 1;
constexpr DWORD LINEREGMODE_MANUAL = 2;
constexpr DWORD LINEREGMODE_MANAUTO = 3;

constexpr DWORD POWER_STATE_ON = 0x00010000;
constexpr DWORD POWER_STATE_OFF = 0x00020000;

constexpr LONG LINEERR_BADDEVICEID = static_cast<LONG>(0x80000002);
constexpr LONG LINEERR_INCOMPATIBLEAPIVERSION = static_cast<LONG>(0x8000000C);
constexpr LONG LINEERR_INCOMPATIBLEEXTVERSION = static_cast<LONG>(0x8000000D);
constexpr LONG LINEERR_INVALAPPHANDLE = static_cast<LONG>(0x80000014);
constexpr LONG LINEERR_INVALLINEHANDLE = static_cast<LONG>(0x8000002B);
constexpr LONG LINEERR_INVALPARAM = static_cast<LONG>(0x80000032);
constexpr LONG LINEERR_INVALPOINTER = static_cast<LONG>(0x80000035);
constexpr LONG LINEERR_NODRIVER = static_cast<LONG>(0x80000043);
constexpr LONG LINEERR_OPERATIONFAILED = static_cast<LONG>(0x80000048);
constexpr LONG LINEERR_OPERATIONUNAVAIL = static_cast<LONG>(0x80000049);
constexpr LONG LINEERR_RESOURCEUNAVAIL = static_cast<LONG>(0x8000004B);
constexpr LONG LINEERR_STRUCTURETOOSMALL = static_cast<LONG>(0x8000004D);

struct LINEINITIALIZEEXPARAMS {
    DWORD dwTotalSize;
    DWORD dwNeededSize;
    DWORD dwUsedSize;
    DWORD dwOptions;
    union {
        HANDLE hEvent;
        HANDLE hCompletionPort;
    } Handles;
    DWORD dwCompletionKey;
};
// The phone is a 32-bit system, where the handle is 4 bytes wide; tools/compile32.sh builds for
// it and checks this. The 64-bit build here carries an 8-byte handle and pads the record to 32.
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(LINEINITIALIZEEXPARAMS) == 24, "the initialize record has the device's size");
#endif

struct LINEEXTENSIONID {
    DWORD dwExtensionID0;
    DWORD dwExtensionID1;
    DWORD dwExtensionID2;
    DWORD dwExtensionID3;
};

struct LINEDIALPARAMS {
    DWORD dwDialPause;
    DWORD dwDialSpeed;
    DWORD dwDigitDuration;
    DWORD dwWaitForDialtone;
};

// A line device's capabilities: this fixed part, followed by variable data (the line name
// among it) that the offset and size fields locate relative to the start of the record.
struct LINEDEVCAPS {
    DWORD dwTotalSize;
    DWORD dwNeededSize;
    DWORD dwUsedSize;
    DWORD dwProviderInfoSize;
    DWORD dwProviderInfoOffset;
    DWORD dwSwitchInfoSize;
    DWORD dwSwitchInfoOffset;
    DWORD dwPermanentLineID;
    DWORD dwLineNameSize;
    DWORD dwLineNameOffset;
    DWORD dwStringFormat;
    DWORD dwAddressModes;
    DWORD dwNumAddresses;
    DWORD dwBearerModes;
    DWORD dwMaxRate;
    DWORD dwMediaModes;
    DWORD dwGenerateToneModes;
    DWORD dwGenerateToneMaxNumFreq;
    DWORD dwGenerateDigitModes;
    DWORD dwMonitorToneMaxNumFreq;
    DWORD dwMonitorToneMaxNumEntries;
    DWORD dwMonitorDigitModes;
    DWORD dwGatherDigitsMinTimeout;
    DWORD dwGatherDigitsMaxTimeout;
    DWORD dwMedCtlDigitMaxListSize;
    DWORD dwMedCtlMediaMaxListSize;
    DWORD dwMedCtlToneMaxListSize;
    DWORD dwMedCtlCallStateMaxListSize;
    DWORD dwDevCapFlags;
    DWORD dwMaxNumActiveCalls;
    DWORD dwAnswerMode;
    DWORD dwRingModes;
    DWORD dwLineStates;
    DWORD dwUUIAcceptSize;
    DWORD dwUUIAnswerSize;
    DWORD dwUUIMakeCallSize;
    DWORD dwUUIDropSize;
    DWORD dwUUISendUserUserInfoSize;
    DWORD dwUUICallInfoSize;
    LINEDIALPARAMS MinDialParams;
    LINEDIALPARAMS MaxDialParams;
    LINEDIALPARAMS DefaultDialParams;
    DWORD dwNumTerminals;
    DWORD dwTerminalCapsSize;
    DWORD dwTerminalCapsOffset;
    DWORD dwTerminalTextEntrySize;
    DWORD dwTerminalTextSize;
    DWORD dwTerminalTextOffset;
    DWORD dwDevSpecificSize;
    DWORD dwDevSpecificOffset;
    DWORD dwLineFeatures;
    DWORD dwSettableDevStatus;
    DWORD dwDeviceClassesSize;
    DWORD dwDeviceClassesOffset;
    GUID PermanentLineGuid;
    DWORD dwAddressTypes;
    GUID ProtocolGuid;
    DWORD dwAvailableTracking;
};
static_assert(sizeof(LINEDEVCAPS) == 292, "the capability record has the device's layout");

struct LINECALLPARAMS;

typedef void(CALLBACK* LINECALLBACK)(DWORD hDevice, DWORD dwMessage, DWORD_PTR dwInstance,
                                     DWORD_PTR dwParam1, DWORD_PTR dwParam2, DWORD_PTR dwParam3);

// Bluetooth utility library.
int WINAPI BthSetMode(DWORD dwMode);

// Telephony.
LONG WINAPI lineInitializeEx(HLINEAPP* lphLineApp, HINSTANCE hInstance, LINECALLBACK lpfnCallback,
                             LPCWSTR lpszFriendlyAppName, DWORD* lpdwNumDevs, DWORD* lpdwAPIVersion,
                             LINEINITIALIZEEXPARAMS* lpLineInitializeExParams);
LONG WINAPI lineNegotiateAPIVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPILowVersion,
                                    DWORD dwAPIHighVersion, DWORD* lpdwAPIVersion,
                                    LINEEXTENSIONID* lpExtensionID);
LONG WINAPI lineGetDevCaps(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion,
                           DWORD dwExtVersion, LINEDEVCAPS* lpLineDevCaps);
LONG WINAPI lineOpen(HLINEAPP hLineApp, DWORD dwDeviceID, HLINE* lphLine, DWORD dwAPIVersion,
                     DWORD dwExtVersion, DWORD_PTR dwCallbackInstance, DWORD dwPrivileges,
                     DWORD dwMediaModes, const LINECALLPARAMS* lpCallParams);
LONG WINAPI lineNegotiateExtVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion,
                                    DWORD dwExtLowVersion, DWORD dwExtHighVersion,
                                    DWORD* lpdwExtVersion);
LONG WINAPI lineClose(HLINE hLine);
LONG WINAPI lineShutdown(HLINEAPP hLineApp);

// Cellular extension library.
LONG WINAPI lineSetEquipmentState(HLINE hLine, DWORD dwState);
LONG WINAPI lineRegister(HLINE hLine, DWORD dwRegisterMode, LPCWSTR lpszOperator,
                         DWORD dwOperatorFormat);

// Power management.
DWORD WINAPI SetSystemPowerState(LPCWSTR pwsSystemState, DWORD StateFlags, DWORD Options);
