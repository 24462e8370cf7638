#pragma once
// "history.dat": the executor's record of its last runs, beside it. A 16-byte header, then a
// ring of kHistorySlots slots of kHistorySlotSize bytes; run number n lives in slot
// (n - 1) % kHistorySlots, so a new run replaces the oldest one. Every slot ends with a seal:
// a CRC-32 of the bytes before it, written after them. A slot whose seal does not match (never
// written, or cut off by a crash or a power cut between its two writes) is no record, and the
// other slots are never touched by the write of one, so a crash loses at most the run that was
// being written. Portable: the executor writes it, the program and dzinspect read it.
#include "platform/core/Win32Core.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kHistorySlots = 200;
constexpr size_t kHistoryHeaderSize = 16;
constexpr size_t kHistorySlotSize = 80;
constexpr size_t kHistorySealOffset = kHistorySlotSize - 4;
constexpr size_t kHistoryFileSize = kHistoryHeaderSize + kHistorySlots * kHistorySlotSize;

// The steps of a run, in the order they are made.
enum RunStep : uint8_t {
    StepBluetooth, // BthSetMode
    StepTelephony, // lineInitializeEx
    StepFindLine,  // a line device named "Cellular Line"
    StepOpenLine,  // lineOpen
    StepExtension, // lineNegotiateExtVersion
    StepEquipment, // lineSetEquipmentState
    StepRegister,  // lineRegister
    StepPowerOff,  // SetSystemPowerState, or the user's Cancel on the notice
    kRunStepCount
};

enum StepState : uint8_t {
    StepNotReached = 0,
    StepMade = 1,
    StepFailed = 2,
    StepCancelled = 3, // the power-off notice's Cancel
};

// Who asked for the run: the engine, or the program's Run now.
enum RunRequester : uint16_t { RequestedByEngine = 0, RequestedByRunNow = 1 };

// The action of a run whose command line named none (exit codes -9 and -10).
constexpr uint16_t kNoAction = 0xFFFF;

struct RunRecord {
    uint32_t sequence = 0; // 1 for the first run ever; 0 in no record
    FILETIME instant = {}; // local time at the start of the run
    uint16_t action = kNoAction;
    uint16_t requester = RequestedByEngine;
    int32_t option = 0;
    int32_t exitCode = 0;
    bool finished = false; // false while running, or when the run never ended
    uint8_t states[kRunStepCount] = {};
    int32_t results[kRunStepCount] = {}; // the call's result where it gave one
};

void EncodeHistoryHeader(unsigned char header[kHistoryHeaderSize]);
bool HistoryHeaderIsOurs(const unsigned char* bytes, size_t size);

// The slot's bytes with the seal in its last four.
void EncodeRunRecord(const RunRecord& record, unsigned char slot[kHistorySlotSize]);
// False for an empty, torn or otherwise unsealed slot.
bool DecodeRunRecord(const unsigned char slot[kHistorySlotSize], RunRecord& record);

// Where run number sequence (from 1) lives in the file.
size_t HistorySlotOffset(uint32_t sequence);

// Every sealed record of a history file's bytes, newest first; none for a foreign header. A
// file cut short keeps the whole slots before its end.
std::vector<RunRecord> ParseRunHistory(const unsigned char* bytes, size_t size);
// The same from the file; empty when it is missing or unreadable.
std::vector<RunRecord> LoadRunHistory(const wchar_t* path);

// The first step that failed or was cancelled, or kRunStepCount when none did.
RunStep FirstFailedStep(const RunRecord& record);
// The run came to its end: the executor recorded its exit code, or it asked the phone to
// switch off, which ends the executor with the phone before it can record more.
bool RunEnded(const RunRecord& record);
// The run did not do what it was asked: a step failed, the executor ended with another code
// than done, or it never ended. A power-off that the user cancelled is no failure.
bool RunFailed(const RunRecord& record);
bool RunCancelled(const RunRecord& record);
