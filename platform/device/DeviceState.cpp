#include "platform/device/DeviceState.h"

#include "platform/device/DeviceStore.h"
#include "platform/device/PhoneApi.h"

#include <cwchar>

namespace {

const wchar_t kBluetoothMode[] = L"BluetoothMode";
const wchar_t kEquipmentState[] = L"EquipmentState";
const wchar_t kRegistration[] = L"Registration";
const wchar_t kPowerState[] = L"PowerState";
const wchar_t kTelephonyFails[] = L"TelephonyFails";
const wchar_t kLineCount[] = L"LineCount";

const wchar_t kDefaultLineName[] = L"Cellular Line";

std::wstring LineValueName(size_t index, const wchar_t* field) {
    wchar_t name[32];
    swprintf(name, 32, L"Line%lu%ls", static_cast<unsigned long>(index), field);
    return name;
}

struct FaultName {
    LineFault fault;
    const wchar_t* name;
};

const FaultName kFaultNames[] = {
    {LineFault::None, L"none"},
    {LineFault::ApiVersionFails, L"api-fails"},
    {LineFault::DevCapsFails, L"caps-fails"},
    {LineFault::DevCapsRaises, L"caps-raises"},
    {LineFault::NameNotFilled, L"name-not-filled"},
    {LineFault::NameBeyondRecord, L"name-beyond-record"},
    {LineFault::OpenFails, L"open-fails"},
    {LineFault::ExtVersionFails, L"ext-fails"},
};

} // namespace

bool ResetDevice() {
    return ClearStore();
}

bool ReadDeviceStatus(DeviceStatus& status) {
    DeviceLock lock;
    status.bluetoothMode = ReadStoreNumber(kBluetoothMode, BTH_POWER_OFF);
    status.equipmentState = ReadStoreNumber(kEquipmentState, LINEEQUIPSTATE_FULL);
    status.registration = ReadStoreNumber(kRegistration, LINEREGMODE_AUTOMATIC);
    status.powerState = ReadStoreNumber(kPowerState, POWER_STATE_ON);
    return true;
}

bool WriteDeviceStatus(const DeviceStatus& status) {
    DeviceLock lock;
    return WriteStoreNumber(kBluetoothMode, status.bluetoothMode) &&
           WriteStoreNumber(kEquipmentState, status.equipmentState) &&
           WriteStoreNumber(kRegistration, status.registration) &&
           WriteStoreNumber(kPowerState, status.powerState);
}

bool ReadDeviceConfig(DeviceConfig& config) {
    DeviceLock lock;
    config.telephonyFails = ReadStoreNumber(kTelephonyFails, 0) != 0;
    config.lines.clear();
    const DWORD missing = 0xFFFFFFFF;
    DWORD count = ReadStoreNumber(kLineCount, missing);
    if (count == missing) {
        config.lines.push_back({kDefaultLineName, LineFault::None});
        return true;
    }
    for (size_t index = 0; index < count; ++index) {
        LineDevice line;
        if (!ReadStoreText(LineValueName(index, L"Name").c_str(), line.name)) return false;
        line.fault =
            static_cast<LineFault>(ReadStoreNumber(LineValueName(index, L"Fault").c_str(), 0));
        config.lines.push_back(line);
    }
    return true;
}

bool ConfigureDevice(const DeviceConfig& config) {
    DeviceLock lock;
    for (size_t index = 0; index < config.lines.size(); ++index) {
        const LineDevice& line = config.lines[index];
        if (!WriteStoreText(LineValueName(index, L"Name").c_str(), line.name) ||
            !WriteStoreNumber(LineValueName(index, L"Fault").c_str(),
                              static_cast<DWORD>(line.fault)))
            return false;
    }
    // The count goes last: a reader never sees a line whose values are not written yet.
    return WriteStoreNumber(kTelephonyFails, config.telephonyFails ? 1 : 0) &&
           WriteStoreNumber(kLineCount, static_cast<DWORD>(config.lines.size()));
}

std::vector<std::wstring> ReadDeviceJournal() {
    DeviceLock lock;
    std::vector<std::wstring> lines;
    DWORD count = JournalLineCount();
    for (DWORD number = 1; number <= count; ++number) {
        std::wstring line;
        if (ReadJournalLine(number, line)) lines.push_back(line);
    }
    return lines;
}

bool ClearDeviceJournal() {
    return ClearJournal();
}

std::wstring JournalCallName(const std::wstring& line) {
    return line.substr(0, line.find(L'('));
}

const wchar_t* LineFaultName(LineFault fault) {
    for (const FaultName& entry : kFaultNames)
        if (entry.fault == fault) return entry.name;
    return L"unknown";
}

bool ParseLineFault(const std::wstring& name, LineFault& fault) {
    for (const FaultName& entry : kFaultNames)
        if (name == entry.name) {
            fault = entry.fault;
            return true;
        }
    return false;
}
