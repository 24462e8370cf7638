#include "common/RatioTable.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace {

struct Seconds {
    double real;
    double cpu;
};

// "Load/100000" for a benchmark with an argument, "ConvertOneFileTime" for one without: the
// names the table's rows give.
std::string Name(const benchmark::BenchmarkName& name) {
    return name.args.empty() ? name.function_name : name.function_name + "/" + name.args;
}

// Keeps the times per iteration of every run while the console report goes on as usual.
class CollectingReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const double perUnit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            seconds[Name(run.run_name)] = {run.GetAdjustedRealTime() / perUnit,
                                           run.GetAdjustedCPUTime() / perUnit};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Seconds> seconds;
};

std::string Time(double seconds) {
    char text[32];
    if (seconds >= 1.0)
        snprintf(text, sizeof text, "%.2f s", seconds);
    else if (seconds >= 1e-3)
        snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    else if (seconds >= 1e-6)
        snprintf(text, sizeof text, "%.2f us", seconds * 1e6);
    else
        snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
    return text;
}

} // namespace

int RunWithRatioTable(int argc, char** argv, const char* title, const std::vector<RatioRow>& rows) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // Real time counts for what a user waits for; CPU time is steadier on a busy machine.
    printf("\n%s\n", title);
    printf("| %-22s | %10s | %10s | %-22s | %10s | %10s | %9s | %9s | %s\n", "figure", "real",
           "cpu", "baseline", "real", "cpu", "real x", "cpu x", "meaning");
    for (const RatioRow& row : rows) {
        const auto figure = reporter.seconds.find(row.figure);
        const auto baseline = reporter.seconds.find(row.baseline);
        // A row whose figure or baseline did not run (filtered out, failed) says so.
        if (figure == reporter.seconds.end() || baseline == reporter.seconds.end()) {
            printf("| %-22s | %10s | %10s | %-22s | %10s | %10s | %9s | %9s | %s\n",
                   row.figure.c_str(), "-", "-", row.baseline.c_str(), "-", "-", "not run",
                   "not run", row.note.c_str());
            continue;
        }
        const Seconds& f = figure->second;
        const Seconds& b = baseline->second;
        printf("| %-22s | %10s | %10s | %-22s | %10s | %10s | %8.2fx | %8.2fx | %s\n",
               row.figure.c_str(), Time(f.real).c_str(), Time(f.cpu).c_str(), row.baseline.c_str(),
               Time(b.real).c_str(), Time(b.cpu).c_str(), f.real / b.real / row.scale,
               f.cpu / b.cpu / row.scale, row.note.c_str());
    }
    return 0;
}
