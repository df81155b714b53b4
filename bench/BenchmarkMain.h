#pragma once

#include <QCoreApplication>

#include <benchmark/benchmark.h>

// Google Benchmark's main with a Qt application around it (the store and timers need one).
#define LINEMINDER_BENCHMARK_MAIN()                                                                                    \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        QCoreApplication app(argc, argv);                                                                              \
        benchmark::Initialize(&argc, argv);                                                                            \
        benchmark::RunSpecifiedBenchmarks();                                                                           \
        benchmark::Shutdown();                                                                                         \
        return 0;                                                                                                      \
    }
