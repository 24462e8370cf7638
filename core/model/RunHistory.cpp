#include "core/model/RunHistory.h"

#include "contract/EngineContract.h"
#include "platform/core/FileIo.h"

#include <algorithm>
#include <cstring>

namespace {

const unsigned char kMagic[8] = {'D', 'Z', 'H', 'I', 'S', 'T', '0', '1'};

// Slot fields, little-endian; the steps' states are one byte each, their results 32 bits.
constexpr size_t kSequenceAt = 0, kInstantAt = 4, kActionAt = 12, kRequesterAt = 14, kOptionAt = 16,
                 kExitCodeAt = 20, kFinishedAt = 24, kStatesAt = 25,
                 kResultsAt = kStatesAt + kRunStepCount;
static_assert(kResultsAt + 4 * kRunStepCount <= kHistorySealOffset, "the fields fit the slot");

void Put16(unsigned char* at, uint32_t v) {
    at[0] = static_cast<unsigned char>(v);
    at[1] = static_cast<unsigned char>(v >> 8);
}
void Put32(unsigned char* at, uint32_t v) {
    Put16(at, v);
    Put16(at + 2, v >> 16);
}
uint16_t Get16(const unsigned char* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}
uint32_t Get32(const unsigned char* at) {
    return Get16(at) | static_cast<uint32_t>(Get16(at + 2)) << 16;
}

// CRC-32 (the polynomial of zip), bit by bit: 76 bytes a slot, 200 slots take well under a
// millisecond, so no table is kept.
uint32_t Crc32(const unsigned char* bytes, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

} // namespace

void EncodeHistoryHeader(unsigned char header[kHistoryHeaderSize]) {
    std::memset(header, 0, kHistoryHeaderSize);
    std::memcpy(header, kMagic, sizeof kMagic);
    Put16(header + 8, kHistorySlots);
    Put16(header + 10, kHistorySlotSize);
}

bool HistoryHeaderIsOurs(const unsigned char* bytes, size_t size) {
    unsigned char ours[kHistoryHeaderSize];
    EncodeHistoryHeader(ours);
    return size >= kHistoryHeaderSize && std::memcmp(bytes, ours, kHistoryHeaderSize) == 0;
}

void EncodeRunRecord(const RunRecord& record, unsigned char slot[kHistorySlotSize]) {
    std::memset(slot, 0, kHistorySlotSize);
    Put32(slot + kSequenceAt, record.sequence);
    Put32(slot + kInstantAt, record.instant.dwLowDateTime);
    Put32(slot + kInstantAt + 4, record.instant.dwHighDateTime);
    Put16(slot + kActionAt, record.action);
    Put16(slot + kRequesterAt, record.requester);
    Put32(slot + kOptionAt, static_cast<uint32_t>(record.option));
    Put32(slot + kExitCodeAt, static_cast<uint32_t>(record.exitCode));
    slot[kFinishedAt] = record.finished ? 1 : 0;
    for (int step = 0; step < kRunStepCount; ++step) {
        slot[kStatesAt + step] = record.states[step];
        Put32(slot + kResultsAt + 4 * step, static_cast<uint32_t>(record.results[step]));
    }
    Put32(slot + kHistorySealOffset, Crc32(slot, kHistorySealOffset));
}

bool DecodeRunRecord(const unsigned char slot[kHistorySlotSize], RunRecord& record) {
    if (Get32(slot + kHistorySealOffset) != Crc32(slot, kHistorySealOffset)) return false;
    RunRecord r;
    r.sequence = Get32(slot + kSequenceAt);
    if (r.sequence == 0) return false;
    r.instant.dwLowDateTime = Get32(slot + kInstantAt);
    r.instant.dwHighDateTime = Get32(slot + kInstantAt + 4);
    r.action = Get16(slot + kActionAt);
    r.requester = Get16(slot + kRequesterAt);
    r.option = static_cast<int32_t>(Get32(slot + kOptionAt));
    r.exitCode = static_cast<int32_t>(Get32(slot + kExitCodeAt));
    r.finished = slot[kFinishedAt] != 0;
    for (int step = 0; step < kRunStepCount; ++step) {
        r.states[step] = slot[kStatesAt + step];
        r.results[step] = static_cast<int32_t>(Get32(slot + kResultsAt + 4 * step));
    }
    record = r;
    return true;
}

size_t HistorySlotOffset(uint32_t sequence) {
    return kHistoryHeaderSize + ((sequence - 1) % kHistorySlots) * kHistorySlotSize;
}

std::vector<RunRecord> ParseRunHistory(const unsigned char* bytes, size_t size) {
    std::vector<RunRecord> records;
    if (!HistoryHeaderIsOurs(bytes, size)) return records;
    for (size_t at = kHistoryHeaderSize; at + kHistorySlotSize <= size && at < kHistoryFileSize;
         at += kHistorySlotSize) {
        RunRecord record;
        // A record in a slot that its number does not lead to was not written there.
        if (DecodeRunRecord(bytes + at, record) && HistorySlotOffset(record.sequence) == at)
            records.push_back(record);
    }
    std::sort(records.begin(), records.end(),
              [](const RunRecord& a, const RunRecord& b) { return a.sequence > b.sequence; });
    return records;
}

std::vector<RunRecord> LoadRunHistory(const wchar_t* path) {
    std::vector<unsigned char> bytes(kHistoryFileSize);
    FILE* file = OpenFile(path, L"rb");
    if (!file) return {};
    const size_t size = fread(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    return ParseRunHistory(bytes.data(), size);
}

RunStep FirstFailedStep(const RunRecord& record) {
    for (int step = 0; step < kRunStepCount; ++step)
        if (record.states[step] == StepFailed || record.states[step] == StepCancelled)
            return static_cast<RunStep>(step);
    return kRunStepCount;
}

bool RunEnded(const RunRecord& record) {
    return record.finished || record.states[StepPowerOff] == StepMade;
}

bool RunCancelled(const RunRecord& record) {
    return record.states[StepPowerOff] == StepCancelled;
}

bool RunFailed(const RunRecord& record) {
    const RunStep step = FirstFailedStep(record);
    return record.exitCode != kExecutorDone ||
           (step != kRunStepCount && record.states[step] == StepFailed) ||
           (!RunEnded(record) && !RunCancelled(record));
}
