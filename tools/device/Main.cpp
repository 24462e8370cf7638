// dzdevice: shows, resets and configures the simulated phone and prints its journal of calls.
#include "platform/device/DeviceState.h"
#include "platform/device/PhoneApi.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

const wchar_t kUsage[] =
    L"usage: dzdevice show\n"
    L"       dzdevice reset\n"
    L"       dzdevice lines [NAME[@FAULT] ...]   (no names: no line devices)\n"
    L"       dzdevice telephony ok|fails\n"
    L"       dzdevice journal [clear]\n"
    L"faults: api-fails caps-fails caps-raises name-not-filled name-beyond-record open-fails "
    L"ext-fails\n";

const wchar_t* BluetoothText(uint32_t mode) {
    switch (mode) {
    case BTH_POWER_OFF: return L"off";
    case BTH_CONNECTABLE: return L"connectable";
    case BTH_DISCOVERABLE: return L"discoverable";
    default: return L"unknown";
    }
}

int Show() {
    DeviceStatus status;
    DeviceConfig config;
    if (!ReadDeviceStatus(status) || !ReadDeviceConfig(config)) {
        fwprintf(stderr, L"dzdevice: cannot read the device state\n");
        return 1;
    }
    wprintf(L"bluetooth: %ls\n", BluetoothText(status.bluetoothMode));
    wprintf(L"radio equipment state: %u\n", static_cast<unsigned>(status.equipmentState));
    wprintf(L"registration: %u\n", static_cast<unsigned>(status.registration));
    wprintf(L"power: %ls\n", status.powerState == POWER_STATE_ON ? L"on" : L"off");
    wprintf(L"telephony: %ls\n", config.telephonyFails ? L"fails" : L"ok");
    for (size_t index = 0; index < config.lines.size(); ++index)
        wprintf(L"line %u: \"%ls\" fault %ls\n", static_cast<unsigned>(index),
                config.lines[index].name.c_str(), LineFaultName(config.lines[index].fault));
    return 0;
}

// "NAME" or "NAME@FAULT"; the fault is taken after the last '@'.
bool ParseLine(const std::wstring& text, LineDevice& line) {
    const size_t at = text.rfind(L'@');
    line.name = text.substr(0, at);
    line.fault = LineFault::None;
    return at == std::wstring::npos || ParseLineFault(text.substr(at + 1), line.fault);
}

int ConfigureLines(int count, wchar_t** texts) {
    DeviceConfig config;
    if (!ReadDeviceConfig(config)) return 1;
    config.lines.clear();
    for (int index = 0; index < count; ++index) {
        LineDevice line;
        if (!ParseLine(texts[index], line)) {
            fwprintf(stderr, L"dzdevice: unknown fault in \"%ls\"\n", texts[index]);
            return 2;
        }
        config.lines.push_back(line);
    }
    return ConfigureDevice(config) ? 0 : 1;
}

int ConfigureTelephony(const std::wstring& setting) {
    DeviceConfig config;
    if ((setting != L"ok" && setting != L"fails") || !ReadDeviceConfig(config)) return 2;
    config.telephonyFails = setting == L"fails";
    return ConfigureDevice(config) ? 0 : 1;
}

int Journal() {
    for (const std::wstring& line : ReadDeviceJournal())
        wprintf(L"%ls\n", line.c_str());
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    int result = 2;
    if (command == L"show" && argc == 2)
        result = Show();
    else if (command == L"reset" && argc == 2)
        result = ResetDevice() ? 0 : 1;
    else if (command == L"lines")
        result = ConfigureLines(argc - 2, argv + 2);
    else if (command == L"telephony" && argc == 3)
        result = ConfigureTelephony(argv[2]);
    else if (command == L"journal" && argc == 2)
        result = Journal();
    else if (command == L"journal" && argc == 3 && std::wstring(argv[2]) == L"clear")
        result = ClearDeviceJournal() ? 0 : 1;
    if (result == 2) fwprintf(stderr, L"%ls", kUsage);
    return result;
}
