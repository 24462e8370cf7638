#include "executor/HistoryWriter.h"

#include "contract/EngineContract.h"
#include "platform/core/Clock.h"

#include <cstdlib>
#include <cwchar>

namespace {

// Executors started together each claim a run number under this lock; it is held only while
// the file is read and the first form written (a few milliseconds under Wine), and a run that
// does not get it within the wait keeps no history rather than wait longer.
const wchar_t kClaimMutex[] = L"DozaraHistoryClaim";
constexpr DWORD kClaimWaitMs = 2000;

bool HistoryPath(wchar_t* path, DWORD size) {
    const DWORD length = GetModuleFileNameW(nullptr, path, size);
    if (length == 0 || length >= size) return false;
    wchar_t* slash = wcsrchr(path, L'\\');
    if (!slash) return false;
    const size_t folder = static_cast<size_t>(slash - path) + 1;
    const size_t name = wcslen(DZ_HISTORY_FILE);
    if (folder + name >= size) return false;
    wcscpy(path + folder, DZ_HISTORY_FILE);
    return true;
}

// Counts the writes for the test seam and ends the process after the chosen one.
void CountWrite() {
    static long written = 0;
    static const long stopAfter = [] {
        char text[16];
        const DWORD length = GetEnvironmentVariableA(kHistoryStopVariable, text, sizeof text);
        return length > 0 && length < sizeof text ? atol(text) : 0L;
    }();
    if (stopAfter > 0 && ++written == stopAfter)
        TerminateProcess(GetCurrentProcess(), kHistoryStopExitCode);
}

bool WriteAt(HANDLE file, size_t offset, const unsigned char* bytes, DWORD size) {
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    DWORD written = 0;
    const bool whole =
        WriteFile(file, bytes, size, &written, &at) && written == size && FlushFileBuffers(file);
    CountWrite();
    return whole;
}

bool RequestedByUser() {
    wchar_t value[4];
    const DWORD length = GetEnvironmentVariableW(DZ_RUN_NOW_VARIABLE, value, 4);
    return length == 1 && value[0] == L'1';
}

// The next run number: one after the newest sealed record. A file that is not a history yet
// (new, empty or foreign) gets its header first.
bool ClaimSequence(HANDLE file, uint32_t& sequence) {
    static unsigned char bytes[kHistoryFileSize];
    DWORD read = 0;
    OVERLAPPED at = {};
    if (!ReadFile(file, bytes, sizeof bytes, &read, &at) && GetLastError() != ERROR_HANDLE_EOF)
        return false;
    if (!HistoryHeaderIsOurs(bytes, read)) {
        unsigned char header[kHistoryHeaderSize];
        EncodeHistoryHeader(header);
        if (!WriteAt(file, 0, header, sizeof header)) return false;
        read = 0; // slots left from before are unsealed or lie where their number does not lead
    }
    const std::vector<RunRecord> records = ParseRunHistory(bytes, read);
    sequence = records.empty() ? 1 : records.front().sequence + 1;
    return true;
}

} // namespace

HistoryWriter::~HistoryWriter() {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

void HistoryWriter::Begin(uint16_t action, int32_t option) {
    try {
        Open(action, option);
    } catch (...) {
        // Reading the records can run out of memory; the run goes on without a history.
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
}

void HistoryWriter::Open(uint16_t action, int32_t option) {
    record.instant = LocalNow();
    record.action = action;
    record.option = option;
    record.requester = RequestedByUser() ? RequestedByRunNow : RequestedByEngine;
    wchar_t path[MAX_PATH];
    if (!HistoryPath(path, MAX_PATH)) return;
    const HANDLE claim = CreateMutexW(nullptr, FALSE, kClaimMutex);
    if (!claim) return;
    const DWORD waited = WaitForSingleObject(claim, kClaimWaitMs);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
        file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE && !ClaimSequence(file, record.sequence)) {
            CloseHandle(file);
            file = INVALID_HANDLE_VALUE;
        }
        Write();
        ReleaseMutex(claim);
    }
    CloseHandle(claim);
}

void HistoryWriter::Step(RunStep step, StepState state, int32_t result) {
    record.states[step] = state;
    record.results[step] = result;
    Write();
}

void HistoryWriter::End(int exitCode) {
    record.exitCode = exitCode;
    record.finished = true;
    Write();
}

// The body first and the seal after it, each flushed: the seal never reaches the disk before
// the body it vouches for, so a slot is either the whole new record, or unsealed and no record.
// Only this run's slot is written; every other record stays as it was.
void HistoryWriter::Write() {
    if (file == INVALID_HANDLE_VALUE) return;
    unsigned char slot[kHistorySlotSize];
    EncodeRunRecord(record, slot);
    const size_t offset = HistorySlotOffset(record.sequence);
    if (!WriteAt(file, offset, slot, kHistorySealOffset) ||
        !WriteAt(file, offset + kHistorySealOffset, slot + kHistorySealOffset,
                 kHistorySlotSize - kHistorySealOffset)) {
        CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
}
