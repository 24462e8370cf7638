#include "engine/FiringSeries.h"

#include <deque>

#include "engine/Firing.h"

struct FiringSeries::Shared {
    Shared() { InitializeCriticalSection(&lock); }
    ~Shared() {
        if (work) CloseHandle(work);
        DeleteCriticalSection(&lock);
    }

    // One line to the journal, unless the series has ended.
    void Write(const std::string& line) {
        EnterCriticalSection(&lock);
        if (journal) journal->Write("%s", line.c_str());
        LeaveCriticalSection(&lock);
    }

    CRITICAL_SECTION lock;      // guards what follows
    Journal* journal = nullptr; // null once the series has ended
    std::deque<Firing> waiting;
    std::wstring libraryPath;
    HANDLE work = nullptr; // auto reset: set when firings were added or the series ended
};

namespace {

void RunFiring(FiringSeries::Shared& shared, const Firing& firing) {
    const std::string entry = DescribeEntry(firing);
    const std::string scheduled = FormatInstant(firing.scheduled);
    const std::string actual = FormatInstant(ToTicks(LocalNow()));
    shared.Write("firing " + entry + " scheduled=" + scheduled + " actual=" + actual);
    const FiringOutcome outcome = CallCallback(firing, shared.libraryPath);
    if (!outcome.note.empty()) shared.Write("note " + entry + ": " + outcome.note);
    shared.Write("fired " + entry + " scheduled=" + scheduled + " actual=" + actual +
                 " result=" + std::to_string(outcome.result));
}

DWORD WINAPI WorkerThread(void* parameter) {
    // The worker holds its own reference: the series may end while a firing runs.
    std::unique_ptr<std::shared_ptr<FiringSeries::Shared>> held(
        static_cast<std::shared_ptr<FiringSeries::Shared>*>(parameter));
    FiringSeries::Shared& shared = **held;
    for (;;) {
        EnterCriticalSection(&shared.lock);
        const bool ended = !shared.journal;
        const bool idle = shared.waiting.empty();
        Firing firing;
        if (!ended && !idle) {
            firing = shared.waiting.front();
            shared.waiting.pop_front();
        }
        LeaveCriticalSection(&shared.lock);
        if (ended) return 0;
        if (idle)
            WaitForSingleObject(shared.work, INFINITE);
        else
            RunFiring(shared, firing);
    }
}

} // namespace

FiringSeries::FiringSeries(Journal& journal) : shared(std::make_shared<Shared>()) {
    shared->journal = &journal;
}

FiringSeries::~FiringSeries() {
    EnterCriticalSection(&shared->lock);
    shared->journal = nullptr;
    LeaveCriticalSection(&shared->lock);
    if (shared->work) SetEvent(shared->work);
}

bool FiringSeries::Start(const std::wstring& libraryPath) {
    shared->libraryPath = libraryPath;
    shared->work = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!shared->work) return false;
    auto* held = new std::shared_ptr<Shared>(shared);
    const HANDLE thread = CreateThread(nullptr, 0, WorkerThread, held, 0, nullptr);
    if (!thread) {
        delete held;
        return false;
    }
    CloseHandle(thread);
    return true;
}

void FiringSeries::Add(const std::vector<Firing>& firings) {
    if (firings.empty()) return;
    EnterCriticalSection(&shared->lock);
    shared->waiting.insert(shared->waiting.end(), firings.begin(), firings.end());
    LeaveCriticalSection(&shared->lock);
    SetEvent(shared->work);
}

size_t FiringSeries::Waiting() const {
    EnterCriticalSection(&shared->lock);
    const size_t count = shared->waiting.size();
    LeaveCriticalSection(&shared->lock);
    return count;
}
