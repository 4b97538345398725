#pragma once
// The main() every benchmark program shares: an offscreen application at 96 PPI.
#include "platform/screen_ppi.h"

#include <QApplication>
#include <benchmark/benchmark.h>

inline int RunQtBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setScreenPPIOverride(96);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#define OV_BENCHMARK_MAIN()                                                                                            \
    int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
