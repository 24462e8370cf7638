#include "engine/Firing.h"

#include <cstdio>

#include "contract/EngineContract.h"

namespace {

constexpr int kCallbackUnavailable = -1;

volatile LONG g_running = 0;

struct FiringJob {
    Firing firing;
    std::wstring libraryPath;
    Journal* journal;
};

std::string KindText(int32_t kind) {
    switch (kind) {
    case Weekly: return "weekly";
    case Once: return "once";
    case Next24Hours: return "next24hours";
    case Monthly: return "monthly";
    case Yearly: return "yearly";
    default: return "kind " + std::to_string(kind);
    }
}

int CallCallback(const FiringJob& job) {
    const HMODULE library = LoadLibraryW(job.libraryPath.c_str());
    if (!library) {
        job.journal->Write("note %s: callback library \"%s\" not loaded (error %lu)",
                           DescribeEntry(job.firing).c_str(), Utf8(job.libraryPath).c_str(),
                           GetLastError());
        return kCallbackUnavailable;
    }
    int result = kCallbackUnavailable;
    const auto callback = reinterpret_cast<TarvikEngineFuncType>(
        reinterpret_cast<void*>(GetProcAddress(library, DZ_CALLBACK_EXPORT)));
    if (callback) {
        // The block is ours and outlives the call; the callback only reads it.
        result = callback(0, 0, job.firing.block);
    } else {
        job.journal->Write("note %s: callback library has no %s", DescribeEntry(job.firing).c_str(),
                           DZ_CALLBACK_EXPORT);
    }
    FreeLibrary(library);
    return result;
}

void JournalResult(const FiringJob& job, uint64_t actual, int result) {
    job.journal->Write(
        "fired %s scheduled=%s actual=%s result=%d", DescribeEntry(job.firing).c_str(),
        FormatInstant(job.firing.scheduled).c_str(), FormatInstant(actual).c_str(), result);
}

DWORD WINAPI FiringThread(void* parameter) {
    FiringJob* job = static_cast<FiringJob*>(parameter);
    const uint64_t actual = ToTicks(LocalNow());
    job->journal->Write("firing %s scheduled=%s actual=%s", DescribeEntry(job->firing).c_str(),
                        FormatInstant(job->firing.scheduled).c_str(),
                        FormatInstant(actual).c_str());
    JournalResult(*job, actual, CallCallback(*job));
    delete job;
    InterlockedDecrement(&g_running);
    return 0;
}

} // namespace

std::string DescribeEntry(const Firing& firing) {
    char text[160];
    snprintf(text, sizeof text, "entry %d (%s %s, action %u, options %u)", firing.entryNumber,
             KindText(firing.key.when.kind).c_str(),
             FormatInstant(ToTicks(firing.key.when.startTime)).c_str(), firing.key.what.action,
             firing.key.what.options);
    return text;
}

void StartFiring(const Firing& firing, const std::wstring& libraryPath, Journal& journal) {
    FiringJob* job = new FiringJob{firing, libraryPath, &journal};
    InterlockedIncrement(&g_running);
    const HANDLE thread = CreateThread(nullptr, 0, FiringThread, job, 0, nullptr);
    if (thread) {
        CloseHandle(thread);
        return;
    }
    journal.Write("note %s: no worker thread (error %lu)", DescribeEntry(firing).c_str(),
                  GetLastError());
    JournalResult(*job, ToTicks(LocalNow()), kCallbackUnavailable);
    delete job;
    InterlockedDecrement(&g_running);
}

long RunningFirings() {
    return g_running;
}
