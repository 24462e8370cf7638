#pragma once
// What the program, the callback library, the executor and the scheduling engine agree on. It
// stands in a folder of its own because all four include it and none of them owns it.
#include <cstdint>

// Set by the engine once it is ready; it holds a handle for as long as it runs.
#define DZ_ENGINE_READY_EVENT L"TARVIKENGINEREADY"
// Set by the program after every successful save of "storage.dat"; created by the engine.
#define DZ_ENGINE_REFRESH_EVENT L"TARVIKENGINEREFRESH"
// The engine's program file below the program files folder.
#define DZ_ENGINE_RELATIVE_PATH L"\\Velmorix\\TarvikEngine\\tarvikengine.exe"
// Waiting for a launched engine to become ready.
constexpr unsigned long kEngineReadyTimeoutMs = 10000;

#define DZ_STORAGE_FILE L"storage.dat"
#define DZ_CALLBACK_LIBRARY L"DozaraDLL.dll"
#define DZ_CALLBACK_EXPORT "TarvikEngineFunc"
#define DZ_EXECUTOR_FILE L"DozaraUtil.exe"
// The executor's power-off notice, beside it, and its one export: int (void), nonzero to switch
// off. Loaded only for a power-off.
#define DZ_NOTICE_LIBRARY L"DozaraNotice.dll"
#define DZ_NOTICE_EXPORT "DozaraPowerOffNotice"
// The executor's record of its last runs, beside it; the program and dzinspect read it.
#define DZ_HISTORY_FILE L"history.dat"
// Set to "1" in the program's environment while its Run now calls the callback: the executor
// inherits it and records the run as asked for by the user, not the engine. The command line
// stays the engine's.
#define DZ_RUN_NOW_VARIABLE L"DOZARA_RUN_NOW"

// The action block: the last four bytes of an action entry's record, and what the engine
// passes to TarvikEngineFunc. Little-endian, no alignment.
constexpr int kActionBlockSize = 4;
constexpr int kActionBlockActionOffset = 0;  // 16-bit action code
constexpr int kActionBlockOptionsOffset = 2; // 16-bit option bits, low byte first

inline uint16_t ActionBlockAction(const unsigned char* block) {
    return static_cast<uint16_t>(block[kActionBlockActionOffset] |
                                 (block[kActionBlockActionOffset + 1] << 8));
}
inline uint16_t ActionBlockOptions(const unsigned char* block) {
    return static_cast<uint16_t>(block[kActionBlockOptionsOffset] |
                                 (block[kActionBlockOptionsOffset + 1] << 8));
}
inline void WriteActionBlock(uint16_t action, uint16_t options, unsigned char* block) {
    block[kActionBlockActionOffset] = static_cast<unsigned char>(action);
    block[kActionBlockActionOffset + 1] = static_cast<unsigned char>(action >> 8);
    block[kActionBlockOptionsOffset] = static_cast<unsigned char>(options);
    block[kActionBlockOptionsOffset + 1] = static_cast<unsigned char>(options >> 8);
}

// The action codes; the executor takes each as its decimal token.
enum ActionCode : uint16_t {
    PhoneOff = 0,
    PhoneOn = 1,
    PowerOff = 2,
};
constexpr int kActionCodeCount = 3;

// The option bits that an action entry stores.
constexpr uint16_t kOptionBluetooth = 1;    // Bluetooth off with PhoneOff, on with PhoneOn
constexpr uint16_t kOptionDiscoverable = 2; // Bluetooth discoverable, with PhoneOn

// A power-off first shows the user a notice for this many seconds (the executor's), so a
// power-off's run takes that much longer than any other; the engine waits for it.
constexpr int kPowerOffNoticeSeconds = 30;

// The option values that the callback passes on and the executor knows; the callback turns
// any other value into kOptionsNone.
constexpr uint16_t kOptionsNone = 0;
constexpr uint16_t kOptionsBluetooth = kOptionBluetooth;
constexpr uint16_t kOptionsDiscoverable = kOptionBluetooth | kOptionDiscoverable;

// The option token that the callback passes on for an entry's option bits: the values the
// executor knows as they are, any other value as kOptionsNone. The run history records it.
inline uint16_t OptionTokenOf(uint16_t options) {
    return options == kOptionsBluetooth || options == kOptionsDiscoverable ? options : kOptionsNone;
}

// TarvikEngineFunc(unused, unused, action block) -> executor exit code, or -1.
typedef int (*TarvikEngineFuncType)(uintptr_t, uintptr_t, const unsigned char*);

// Exit codes of the executor, which TarvikEngineFunc hands back unchanged, and its own code
// for an executor that could not be started.
constexpr int kExecutorDone = 0;
constexpr int kExecutorNotStarted = -1;
constexpr int kExecutorException = -3;
constexpr int kExecutorUnknownAction = -9;
constexpr int kExecutorTooFewArguments = -10;
