#pragma once

// How every figure is measured and judged: a millisecond clock, medians, two series taken in
// turns, the verdict on a target, and the end of the run when a measurement cannot be made.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace bench {

inline double Now()
{
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / ticksPerMs;
}

inline double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

struct Comparison {
    std::vector<double> measured;
    std::vector<double> baseline;
};

// Runs `measured` and `baseline` alternately, `repetitions` times each, swapping which goes
// first every round so that neither gains from a warmer system.
inline Comparison Alternate(int repetitions, const std::function<double()>& measured,
                            const std::function<double()>& baseline)
{
    Comparison result;
    for (int round = 0; round < repetitions; ++round) {
        if (round % 2 == 0) {
            result.measured.push_back(measured());
            result.baseline.push_back(baseline());
        } else {
            result.baseline.push_back(baseline());
            result.measured.push_back(measured());
        }
    }
    return result;
}

// The targets judged so far in this run, for its last line.
inline int targetsMet = 0;
inline int targetsMissed = 0;

inline const char* Verdict(bool met)
{
    ++(met ? targetsMet : targetsMissed);
    return met ? "met" : "MISSED";
}

// A measurement that could not be made ends the run: a figure without it would mean nothing.
[[noreturn]] inline void Abandon(const std::string& why)
{
    std::fprintf(stderr, "bench: %s\n", why.c_str());
    std::exit(1);
}

inline std::string Narrow(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
    if (size > 1)
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    return result;
}

} // namespace bench
