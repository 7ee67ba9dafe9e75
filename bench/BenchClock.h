#pragma once
// Timing parts of a benchmark iteration, so that an operation and the
// baseline it is compared with are measured alternately in the same
// iterations: a load that comes and goes on a shared machine weighs on both
// alike. CPU time is the process's (all threads: Qt scales and draws large
// pictures on worker threads), wall time is kept beside it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <string>

namespace benchsupport {

inline double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

inline double wallSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Sums the CPU and wall time of every call of time().
struct Stopwatch {
    double cpu = 0.0;
    double wall = 0.0;
    long calls = 0;

    template <typename F>
    void time(F&& f)
    {
        const double c0 = processCpuSeconds();
        const double w0 = wallSeconds();
        f();
        wall += wallSeconds() - w0;
        cpu += processCpuSeconds() - c0;
        ++calls;
    }
    double cpuMsPerCall() const { return calls ? cpu * 1e3 / double(calls) : 0.0; }
    double wallMsPerCall() const { return calls ? wall * 1e3 / double(calls) : 0.0; }
};

// Counters for an operation beside its baseline: the time of one call of
// each (CPU, milliseconds), the CPU-time ratio with its goal, and the
// wall-time ratio as a check on the CPU figures.
inline void reportPair(benchmark::State& state, const Stopwatch& op, const Stopwatch& base, double goal,
                       const std::string& opName = "op", const std::string& baseName = "base")
{
    state.counters[opName + "_ms"] = op.cpuMsPerCall();
    state.counters[baseName + "_ms"] = base.cpuMsPerCall();
    const double ratio = base.cpuMsPerCall() > 0 ? op.cpuMsPerCall() / base.cpuMsPerCall() : 0.0;
    const double wallRatio = base.wallMsPerCall() > 0 ? op.wallMsPerCall() / base.wallMsPerCall() : 0.0;
    state.counters["ratio"] = ratio;
    state.counters["wall_ratio"] = wallRatio;
    if (goal > 0) {
        state.counters["goal"] = goal;
        state.SetLabel(ratio <= goal ? "goal met" : "GOAL MISSED");
    }
}

} // namespace benchsupport
