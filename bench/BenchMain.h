#pragma once
// The main of a benchmark program that needs an application but no window:
// an offscreen QApplication, then every benchmark.
#include <QApplication>
#include <benchmark/benchmark.h>

inline int Run_Benchmarks_In_Offscreen_App(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
