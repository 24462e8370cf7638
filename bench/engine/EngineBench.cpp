// Timing of the engine under Wine, on the installed system, in one run:
//   - lateness of firings (actual minus scheduled instant, from the engine's journal);
//   - the time the engine takes to read 10,000 entries after a refresh and schedule them;
//   - the engine's processor time while it waits for a minute with entries pending.
//   engine_bench.exe [idle seconds, default 60]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "tests/engine/EngineHarness.h"

namespace {

constexpr int kFirings = 24;
constexpr double kFirstFiringSeconds = 2.0;
constexpr double kFiringSpacingSeconds = 0.25;
constexpr int kManyEntries = 10000;
constexpr int kReloads = 5;

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Max(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

bool Fail(const char* what) {
    fprintf(stderr, "engine bench: %s\n", what);
    return false;
}

// The lateness of kFirings one-time entries a quarter second apart, in milliseconds.
bool MeasureLateness(InstalledEngine& engine, std::vector<double>& lateness) {
    std::vector<EntrySpec> entries;
    for (int i = 0; i < kFirings; ++i)
        entries.push_back({Once, NowPlus(kFirstFiringSeconds + i * kFiringSpacingSeconds), 1,
                           PhoneOff, kOptionBluetooth});
    const size_t start = engine.JournalLines().size();
    if (!engine.WriteEntries(entries) || !InstalledEngine::SignalRefresh())
        return Fail("cannot hand the entries to the engine");
    const DWORD wait =
        static_cast<DWORD>((kFirstFiringSeconds + kFirings * kFiringSpacingSeconds) * 1000 + 10000);
    if (engine.WaitForLine({"fired entry " + std::to_string(kFirings) + " "}, wait, start) < 0)
        return Fail("the firings did not all happen");
    Sleep(500);
    const std::vector<std::string> lines = engine.JournalLines();
    for (size_t i = start; i < lines.size(); ++i)
        if (lines[i].find(" fired entry ") != std::string::npos)
            lateness.push_back(JournalMs(JournalField(lines[i], "actual=")) -
                               JournalMs(JournalField(lines[i], "scheduled=")));
    return static_cast<int>(lateness.size()) == kFirings || Fail("firings missing");
}

// The engine's own time for reading and scheduling kManyEntries entries, in milliseconds.
bool MeasureReload(InstalledEngine& engine, std::vector<double>& reload) {
    // Weekly entries at times of day from one to twenty hours ahead: all pending, none firing
    // during the benchmark.
    std::vector<EntrySpec> entries;
    for (int i = 0; i < kManyEntries; ++i)
        entries.push_back({Weekly, NowPlus(3600.0 + 6.8 * i), 1, static_cast<uint16_t>(i % 3),
                           static_cast<uint16_t>(i % 4)});
    if (!engine.WriteEntries(entries)) return Fail("cannot save the entries");
    for (int i = 0; i < kReloads; ++i) {
        const size_t before = engine.JournalLines().size();
        std::string line;
        if (!InstalledEngine::SignalRefresh() ||
            engine.WaitForLine({"load ", "entries=" + std::to_string(kManyEntries)}, 10000, before,
                               &line) < 0)
            return Fail("the engine did not reload");
        reload.push_back(atof(JournalField(line, "ms=").c_str()));
    }
    return true;
}

double ProcessCpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    return static_cast<double>(ToTicks(kernel) + ToTicks(user)) / 10000.0;
}

} // namespace

int main(int argc, char** argv) {
    const int idleSeconds = argc > 1 ? atoi(argv[1]) : 60;
    StopRunningEngine();
    InstalledEngine engine;
    std::wstring failure;
    if (!engine.Install(failure) || !engine.Start()) {
        fprintf(stderr, "engine bench: cannot install or start the engine\n%ls", failure.c_str());
        return 1;
    }
    std::vector<double> lateness, reload;
    bool ok = MeasureLateness(engine, lateness) && MeasureReload(engine, reload);
    double idleCpu = -1, busyCpu = -1;
    if (ok) {
        printf("engine bench: idle for %d s with %d entries pending...\n", idleSeconds,
               kManyEntries);
        fflush(stdout);
        // The processor time until now shows that the figure is read at all.
        busyCpu = ProcessCpuMs(engine.Process());
        Sleep(static_cast<DWORD>(idleSeconds) * 1000);
        idleCpu = ProcessCpuMs(engine.Process()) - busyCpu;
    }
    StopRunningEngine();
    if (ok) engine.Remove();
    if (!ok) return 1;

    char idleFigure[48];
    snprintf(idleFigure, sizeof idleFigure, "engine CPU idle %d s", idleSeconds);
    printf("\n| %-32s | %10s | %10s | %-12s |\n", "figure", "median", "max", "target");
    printf("| %-32s | %7.1f ms | %7.1f ms | %-12s |\n", "firing lateness (24 firings)",
           Median(lateness), Max(lateness), "max < 100 ms");
    printf("| %-32s | %7.2f ms | %7.2f ms | %-12s |\n", "reload 10,000 entries (5x)",
           Median(reload), Max(reload), "< 50 ms");
    printf("| %-32s | %7.1f ms | %10s | %-12s |\n", idleFigure, idleCpu, "", "about 0");
    printf("| %-32s | %7.1f ms | %10s | %-12s |\n", "engine CPU before the idle time", busyCpu, "",
           "");
    return 0;
}
