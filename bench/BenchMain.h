#pragma once
// The main() of every benchmark program: an offscreen GUI application, since
// decoding and drawing pictures need one.
#include <QGuiApplication>
#include <benchmark/benchmark.h>

#define MC_BENCHMARK_MAIN()                                                                        \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                   \
        QGuiApplication app(argc, argv);                                                           \
        benchmark::Initialize(&argc, argv);                                                        \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
