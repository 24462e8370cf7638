// Load and Save of "storage.dat" with 100,000 action entries against reading and writing the
// same bytes with plain fread/fwrite, and Load of 10,000, 100,000 and 1,000,000 entries to
// show that loading grows linearly.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "common/RatioTable.h"
#include "platform/core/FileIo.h"
#include "core/model/DZItem.h"
#include "core/model/DZList.h"

namespace {

// Scratch files under $TMPDIR (or /tmp), removed at the end.
std::string Scratch(const std::string& name) {
    static const std::string folder = [] {
        const char* tmp = getenv("TMPDIR");
        std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/dz-bench-storage-" +
                           std::to_string(getpid()) + "/";
        mkdir(path.c_str(), 0700);
        return path;
    }();
    return folder + name;
}

std::wstring Wide(const std::string& path) {
    wchar_t wide[260];
    NativePathToWide(path.c_str(), wide, 260);
    return wide;
}

// n action entries as the program makes them: mostly weekly, once and within 24 hours, with a
// monthly one in every five.
void Fill(DZList& list, int64_t n) {
    const int32_t kinds[] = {Weekly, Once, Next24Hours, Weekly, Monthly};
    for (int64_t i = 0; i < n; ++i) {
        auto* e = new DZItem();
        e->kind = kinds[i % 5];
        e->action = static_cast<uint16_t>(i % 3);
        e->options = static_cast<uint16_t>(i % 4);
        list.Append(e);
    }
}

// The file of n entries, saved once per run.
std::string StorageFile(int64_t n) {
    const std::string path = Scratch("storage-" + std::to_string(n) + ".dat");
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        DZList list;
        swprintf(list.path, 260, L"%ls", Wide(path).c_str());
        Fill(list, n);
        if (!list.Save()) fprintf(stderr, "bench: could not write %s\n", path.c_str());
    }
    return path;
}

std::vector<char> Bytes(const std::string& path) {
    std::vector<char> bytes;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        char buffer[65536];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
        fclose(f);
    }
    return bytes;
}

void Load(benchmark::State& state) {
    const std::string path = StorageFile(state.range(0));
    DZList list;
    swprintf(list.path, 260, L"%ls", Wide(path).c_str());
    for (auto _ : state) {
        if (!list.Load() || list.LastLoad().entries != state.range(0))
            state.SkipWithError("load failed");
        state.PauseTiming();
        list.Clear();
        state.ResumeTiming();
    }
}

// What Load spends on making the entries alone: the list's CreateEntry and Append.
void CreateEntries(benchmark::State& state) {
    DZList list;
    for (auto _ : state) {
        for (int64_t i = 0; i < state.range(0); ++i)
            list.Append(list.CreateEntry());
        state.PauseTiming();
        list.Clear();
        state.ResumeTiming();
    }
}

void FreadSameBytes(benchmark::State& state) {
    const std::string path = StorageFile(state.range(0));
    std::vector<char> buffer(65536);
    for (auto _ : state) {
        FILE* f = fopen(path.c_str(), "rb");
        size_t total = 0, n;
        while ((n = fread(buffer.data(), 1, buffer.size(), f)) > 0)
            total += n;
        fclose(f);
        benchmark::DoNotOptimize(total);
    }
}

void Save(benchmark::State& state) {
    DZList list;
    swprintf(list.path, 260, L"%ls", Wide(Scratch("saved.dat")).c_str());
    Fill(list, state.range(0));
    for (auto _ : state)
        if (!list.Save()) state.SkipWithError("save failed");
}

// fwrite of the same bytes and fclose: what writing the file costs at the least.
void FwriteSameBytes(benchmark::State& state) {
    const std::vector<char> bytes = Bytes(StorageFile(state.range(0)));
    const std::string path = Scratch("written.dat");
    for (auto _ : state) {
        FILE* f = fopen(path.c_str(), "wb");
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
}

// The same bytes with the steps that make Save safe: a temporary file, flushed to the disk,
// then renamed over the old one.
void FwriteSyncRename(benchmark::State& state) {
    const std::vector<char> bytes = Bytes(StorageFile(state.range(0)));
    const std::string path = Scratch("renamed.dat");
    const std::string temporary = path + ".new";
    for (auto _ : state) {
        FILE* f = fopen(temporary.c_str(), "wb");
        fwrite(bytes.data(), 1, bytes.size(), f);
        fflush(f);
        fsync(fileno(f));
        fclose(f);
        rename(temporary.c_str(), path.c_str());
    }
}

BENCHMARK(Load)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(CreateEntries)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FreadSameBytes)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Save)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FwriteSameBytes)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(FwriteSyncRename)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    const int status = RunWithRatioTable(
        argc, argv, "storage.dat, 100,000 action entries (2 MB); growth per entry against 10,000",
        {
            {"Load/100000", "FreadSameBytes/100000", "Load vs fread"},
            {"CreateEntries/100000", "FreadSameBytes/100000",
             "of which making the entries (CreateEntry, Append)"},
            {"Save/100000", "FwriteSameBytes/100000", "Save vs fwrite"},
            {"Save/100000", "FwriteSyncRename/100000", "Save vs fwrite+fsync+rename"},
            {"Load/100000", "Load/10000", "per entry, 1.00 = linear", 10.0},
            {"Load/1000000", "Load/10000", "per entry, 1.00 = linear", 100.0},
        });
    std::error_code ignored;
    std::filesystem::remove_all(Scratch(""), ignored);
    return status;
}
