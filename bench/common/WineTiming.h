#pragma once
// A small timing harness for the benchmarks that run under Wine: median of repeated samples
// by the performance counter, and the table of ratios against a baseline measured in the
// same run (the layout of RatioTable's table, real time only).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

// Seconds that fn takes; negative when it reports failure by returning false.
inline double TimeIt(const std::function<bool()>& fn) {
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    const bool ok = fn();
    QueryPerformanceCounter(&end);
    return ok ? static_cast<double>(end.QuadPart - begin.QuadPart) /
                    static_cast<double>(frequency.QuadPart)
              : -1;
}

// Median of runs samples (after one that warms caches up); each sample gives its seconds, or
// a negative value for a failure, which makes the result negative.
inline double MedianSeconds(int runs, const std::function<double()>& sample) {
    if (sample() < 0) return -1;
    std::vector<double> seconds;
    for (int i = 0; i < runs; ++i) {
        const double s = sample();
        if (s < 0) return -1;
        seconds.push_back(s);
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

// Medians of several measurements taken in turns, one sample of each per round, so that
// a figure and its baseline see the same machine: process starts under Wine swing between
// two speeds for seconds at a time, which separate series would catch at different speeds.
// The fastest sample of each series stands beside its median: it is the cost of the work
// itself, with the least of Wine's own waiting in it.
struct SampleSummary {
    double median;
    double fastest;
};

inline std::vector<SampleSummary>
InterleavedSamples(int runs, const std::vector<std::function<double()>>& samples) {
    std::vector<std::vector<double>> seconds(samples.size());
    for (int round = 0; round <= runs; ++round) {
        for (size_t i = 0; i < samples.size(); ++i) {
            const double s = samples[i]();
            if (s < 0) return std::vector<SampleSummary>(samples.size(), SampleSummary{-1, -1});
            if (round > 0) seconds[i].push_back(s); // round 0 warms caches up
        }
    }
    std::vector<SampleSummary> summaries;
    for (std::vector<double>& series : seconds) {
        std::sort(series.begin(), series.end());
        summaries.push_back(series.empty() ? SampleSummary{-1, -1}
                                           : SampleSummary{series[series.size() / 2], series[0]});
    }
    return summaries;
}

inline void PrintRatioHeader(const char* title) {
    printf("\n%s\n| %-34s | %10s | %-30s | %10s | %8s | %s\n", title, "figure", "median",
           "baseline", "median", "ratio", "meaning");
}

inline void PrintRatioRow(const char* figure, double seconds, const char* baseline,
                          double baselineSeconds, const char* meaning) {
    if (seconds < 0 || baselineSeconds < 0) {
        printf("| %-34s | %10s | %-30s | %10s | %8s | %s\n", figure, "failed", baseline, "", "",
               meaning);
        return;
    }
    printf("| %-34s | %7.2f ms | %-30s | %7.2f ms | %7.2fx | %s\n", figure, seconds * 1e3, baseline,
           baselineSeconds * 1e3, seconds / baselineSeconds, meaning);
}
