// What every benchmark program does around its benchmarks: the program's
// allocator and fonts, an offscreen application, totals written with a decimal
// point, and the one-line result of a fresh process that bench/compare.py reads.
#pragma once

#include "bench_stages.h"
#include "shell/allocator_tuning.h"
#include "shell/font_substitutions.h"

#include <QApplication>
#include <QLocale>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace bench {

// Runs one step per iteration and reports the step's own timing of it; a step
// that fails ends the benchmark with its error, never timed.
inline void timeEach(benchmark::State& state, const std::function<Timing()>& step) {
    for (auto _ : state) {
        try {
            state.SetIterationTime(step().wall);
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
    }
}

// A measurement of this fresh process: seconds= (wall clock), cpu= and peak_kb= (VmHWM).
inline void printOnce(const Timing& seconds) {
    std::printf("seconds=%.6f cpu=%.6f peak_kb=%ld\n", seconds.wall, seconds.cpu, peakResidentKb());
}

// The program's main: `--once WHAT N` runs once(WHAT, N) in this fresh process and
// returns its exit code; anything else runs the benchmarks registerBenchmarks
// registers, with Google Benchmark's options.
inline int benchmarkMain(int argc, char** argv, void (*registerBenchmarks)(), int (*once)(const char* what, int n)) {
    shell::tuneAllocator();  // as the program does
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    shell::installFontSubstitutions();
    // Totals are written with a decimal point.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    if (argc == 4 && !std::strcmp(argv[1], "--once")) return once(argv[2], std::atoi(argv[3]));

    registerBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench
