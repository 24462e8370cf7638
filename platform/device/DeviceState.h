#pragma once
// Reading and configuring the simulated phone. Its state is shared by every program in the
// same Wine prefix and outlives them: the status strip reads it, tests and dzdevice.exe
// configure it and read its journal of calls.
#include <cstdint>
#include <string>
#include <vector>

struct DeviceStatus {
    uint32_t bluetoothMode;  // BTH_POWER_OFF, BTH_CONNECTABLE or BTH_DISCOVERABLE
    uint32_t equipmentState; // LINEEQUIPSTATE_MINIMUM ... LINEEQUIPSTATE_FULL
    uint32_t registration;   // 0 when not registered, else the LINEREGMODE_... used
    uint32_t powerState;     // POWER_STATE_ON, or the flags of the last power request
};

// How one line device misbehaves, so that every branch of a caller can be reached.
enum class LineFault : uint32_t {
    None = 0,
    ApiVersionFails,  // lineNegotiateAPIVersion fails
    DevCapsFails,     // lineGetDevCaps fails
    DevCapsRaises,    // lineGetDevCaps raises an exception, as a crashing driver would
    NameNotFilled,    // the name is written but lies beyond the bytes reported as filled
    NameBeyondRecord, // the name's offset points past the record and the filled size lies
    OpenFails,        // lineOpen fails
    ExtVersionFails,  // lineNegotiateExtVersion fails
};

struct LineDevice {
    std::wstring name;
    LineFault fault = LineFault::None;
};

struct DeviceConfig {
    bool telephonyFails = false; // lineInitializeEx fails
    std::vector<LineDevice> lines;
};

// The phone as it comes: Bluetooth off, radio on and registered, powered on, one line device
// named "Cellular Line", an empty journal.
bool ResetDevice();

bool ReadDeviceStatus(DeviceStatus& status);
bool WriteDeviceStatus(const DeviceStatus& status);
bool ReadDeviceConfig(DeviceConfig& config);
bool ConfigureDevice(const DeviceConfig& config);

// One line per call, oldest first: "name(arguments) -> result".
std::vector<std::wstring> ReadDeviceJournal();
bool ClearDeviceJournal();

// The function name of a journal line: the text before its opening parenthesis.
std::wstring JournalCallName(const std::wstring& line);

// Short names of the faults, as dzdevice.exe and its documentation use them.
const wchar_t* LineFaultName(LineFault fault);
bool ParseLineFault(const std::wstring& name, LineFault& fault);
