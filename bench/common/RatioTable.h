#pragma once
// Runs the registered Google benchmarks and then prints one table in which every figure is a
// ratio against a baseline measured in the same run.
#include <string>
#include <vector>

struct RatioRow {
    std::string figure;   // benchmark name of the measured figure
    std::string baseline; // benchmark name of its baseline
    std::string note;     // what the ratio means
    double scale = 1.0;   // the ratio is divided by it (growth: the ratio of entry counts)
};

// Runs the benchmarks (argc/argv as for benchmark::Initialize), prints the usual console
// report and then the table; returns the process exit code.
int RunWithRatioTable(int argc, char** argv, const char* title, const std::vector<RatioRow>& rows);
