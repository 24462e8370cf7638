#pragma once
// The engine's own names and files, beyond what it shares with the program
// (contract/EngineContract.h).

// Held by the running engine for its whole run: a second engine finds it and ends at once, and
// "tarvikengine.exe /stop" waits on it to learn that the engine has ended.
#define DZ_ENGINE_INSTANCE_MUTEX L"DozaraEngineInstance"
// Set by "tarvikengine.exe /stop": the running engine ends.
#define DZ_ENGINE_STOP_EVENT L"DozaraEngineStop"

// Beside the engine: the registration written by the install step, and the journal.
#define DZ_ENGINE_REGISTRATION_FILE L"tarvikengine.ini"
#define DZ_ENGINE_JOURNAL_FILE L"tarvikengine.log"
// The registration's one setting: the folder of the program, storage.dat and DozaraDLL.
#define DZ_REGISTRATION_PROGRAM_FOLDER L"ProgramFolder"

// Exit codes of tarvikengine.exe.
constexpr int kEngineExitStopped = 0;        // ran and was stopped, or /stop ended an engine
constexpr int kEngineExitAlreadyRunning = 1; // another engine runs; this one ended at once
constexpr int kEngineExitNoEngine = 2;       // /stop found no engine running
constexpr int kEngineExitStopTimedOut = 3;   // /stop: the engine did not end in time
constexpr int kEngineExitStartFailed = 4;    // the named events or the firing thread failed

// How long /stop waits for the running engine to end.
constexpr unsigned long kEngineStopTimeoutMs = 10000;

// How long one firing may take: the callback waits for the executor, and firings run one after
// another, so an executor that hangs would hold up every later firing. At this limit the
// engine ends it and the next firing runs. A firing's whole run under Wine (callback, executor
// start, the action on the phone) takes about 0.23 s; the slowest seen was 0.43 s of 24
// ("one firing's run" in bench/engine) and 0.64 s of 100 due at once. The limit is fifteen
// times that slowest run, room for a machine under load, and a hang holds up the firings after
// it by seconds, not minutes.
constexpr unsigned long kFiringLimitMs = 10000;
// The exit code that an executor ended at the limit gets, and so the callback's result that
// the journal shows for it.
constexpr int kExecutorEndedAtLimit = -2;
