#include "executor/ActionRequest.h"

#include "platform/device/PhoneApi.h"
#include "contract/EngineContract.h"

#include <cstdlib>
#include <cwchar>

namespace {

// The action token is the whole argument: "1 " or "01" is no action.
bool ParseActionToken(const wchar_t* token, int& action) {
    // PhoneOff, PhoneOn and PowerOff in decimal.
    static const wchar_t* const kTokens[kActionCodeCount] = {L"0", L"1", L"2"};
    for (int code = 0; code < kActionCodeCount; ++code)
        if (wcscmp(token, kTokens[code]) == 0) {
            action = code;
            return true;
        }
    return false;
}

} // namespace

std::vector<std::wstring> SplitCommandLine(const wchar_t* commandLine) {
    std::vector<std::wstring> arguments;
    const wchar_t* p = commandLine ? commandLine : L"";
    for (;;) {
        while (*p == L' ' || *p == L'\t')
            ++p;
        if (!*p) return arguments;
        std::wstring argument;
        bool quoted = false;
        for (; *p && (quoted || (*p != L' ' && *p != L'\t')); ++p) {
            if (*p == L'"')
                quoted = !quoted;
            else
                argument += *p;
        }
        arguments.push_back(argument);
    }
}

int ParseActionArguments(int argc, const wchar_t* const* argv, int& action, long& option) {
    if (!argv || argc < 3) return kExecutorTooFewArguments;
    if (!ParseActionToken(argv[1], action)) return kExecutorUnknownAction;
    // _wtol skips leading blanks, takes a sign and digits, and gives 0 for anything else.
    option = _wtol(argv[2]);
    return kExecutorDone;
}

long BluetoothRequest(int action, long option) {
    return action == PhoneOff || option == kOptionsNone ? kOptionsNone : option;
}

bool BluetoothModeForRequest(long request, DWORD& mode) {
    switch (request) {
    case kOptionsNone: mode = BTH_POWER_OFF; return true;
    case kOptionsBluetooth: mode = BTH_CONNECTABLE; return true;
    case kOptionsDiscoverable: mode = BTH_DISCOVERABLE; return true;
    default: return false;
    }
}
