// Times of the generation run and of its stages for 3, 100, 1,000 and 32,767
// records, and of the program's start to its main window.
//
//   commission_bench [benchmark options]     the stages as benchmarks
//   commission_bench --once STAGE N          one stage once in this fresh process;
//                                            prints seconds= (wall clock), cpu= and
//                                            peak_kb= (VmHWM)
// STAGE is layout, save, reopen, picture or run.
#include "support/bench_main.h"
#include "support/bench_stages.h"
#include "support/startup_probe_launch.h"

#include <QFontDatabase>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>

namespace {

constexpr int kRecordCounts[] = {3, 100, 1000, 32767};

// Runs one stage per iteration and reports its own timing of it.
void measure(benchmark::State& state, const std::function<bench::Timing()>& stage) {
    bench::timeEach(state, stage);
    state.counters["records"] = static_cast<double>(state.range(0));
}

void BM_Layout(benchmark::State& state) {
    bench::Scratch scratch;
    const generator::RecordList records = bench::benchRecords(static_cast<int>(state.range(0)));
    measure(state, [&] {
        const bench::LayoutInstance instance;
        return bench::layoutStage(records, instance);
    });
}

void BM_Save(benchmark::State& state) {
    bench::Scratch scratch;
    const generator::RecordList records = bench::benchRecords(static_cast<int>(state.range(0)));
    const QString path = scratch.file(QStringLiteral("saved.xls"));
    measure(state, [&] { return bench::saveStage(records, path); });
}

// The saved file of n records, for the stages that start from it.
QString savedWorkbook(const bench::Scratch& scratch, int n) {
    const QString path = scratch.file(QStringLiteral("saved.xls"));
    bench::saveStage(bench::benchRecords(n), path);
    return path;
}

void BM_Reopen(benchmark::State& state) {
    bench::Scratch scratch;
    std::optional<QString> path;
    measure(state, [&] {
        if (!path) path = savedWorkbook(scratch, static_cast<int>(state.range(0)));
        return bench::reopenStage(*path);
    });
}

void BM_Picture(benchmark::State& state) {
    bench::Scratch scratch;
    std::optional<QString> path;
    measure(state, [&] {
        if (!path) path = savedWorkbook(scratch, static_cast<int>(state.range(0)));
        return bench::pictureStage(*path);
    });
}

void BM_WholeRun(benchmark::State& state) {
    bench::Scratch scratch;
    const generator::RecordList records = bench::benchRecords(static_cast<int>(state.range(0)));
    measure(state, [&] { return bench::runStage(records); });
}

void BM_StartToWindow(benchmark::State& state) {
    bench::Scratch scratch;
    long peakKb = 0;
    double cpuSeconds = 0;
    for (auto _ : state) {
        try {
            const bench::ProbeResult result = bench::launchStartupProbe();
            state.SetIterationTime(result.seconds);
            peakKb = std::max(peakKb, result.peakKb);
            cpuSeconds += result.cpuSeconds;
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
    }
    state.counters["peak_MB"] = peakKb / 1024.0;
    state.counters["cpu_ms"] = benchmark::Counter(cpuSeconds * 1000, benchmark::Counter::kAvgIterations);
}

void registerStages() {
    const std::pair<const char*, void (*)(benchmark::State&)> stages[] = {
        {"Layout", BM_Layout}, {"Save", BM_Save},          {"Reopen", BM_Reopen},
        {"Picture", BM_Picture}, {"WholeRun", BM_WholeRun},
    };
    for (const auto& [name, function] : stages) {
        benchmark::internal::Benchmark* b = benchmark::RegisterBenchmark(name, function);
        for (int n : kRecordCounts) b->Arg(n);
        b->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(0.2);
    }
    benchmark::RegisterBenchmark("StartToWindow", BM_StartToWindow)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
}

// One stage once, in this fresh process: its seconds and the process's peak memory.
int runOnce(const char* stage, int n) {
    // By the time a user starts a run, the main window has loaded the font database.
    QFontDatabase::families();
    try {
        bench::Scratch scratch;
        const generator::RecordList records = bench::benchRecords(n);
        bench::Timing seconds;
        if (!std::strcmp(stage, "layout")) {
            seconds = bench::layoutStage(records, bench::LayoutInstance());
        } else if (!std::strcmp(stage, "save")) {
            seconds = bench::saveStage(records, scratch.file(QStringLiteral("saved.xls")));
        } else if (!std::strcmp(stage, "reopen")) {
            seconds = bench::reopenStage(savedWorkbook(scratch, n));
        } else if (!std::strcmp(stage, "picture")) {
            seconds = bench::pictureStage(savedWorkbook(scratch, n));
        } else if (!std::strcmp(stage, "run")) {
            seconds = bench::runStage(records);
        } else {
            std::fprintf(stderr, "unknown stage %s\n", stage);
            return 2;
        }
        bench::printOnce(seconds);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s %d failed: %s\n", stage, n, e.what());
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) { return bench::benchmarkMain(argc, argv, registerStages, runOnce); }
