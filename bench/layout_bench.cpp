// Time of the commission sheet layout, and of bringing its formulas up to date,
// for 3, 1,000 and 32,767 records (the most the record list holds).
#include "generator/commission_sheet.h"
#include "engine/application.h"
#include "engine/workbook.h"
#include "support/bench_fakes.h"

#include <QCoreApplication>
#include <QStringList>
#include <benchmark/benchmark.h>

namespace {

std::unique_ptr<engine::Application> withNewWorkbook() {
    std::unique_ptr<engine::Application> app = engine::createApplication();
    app->Workbooks().Add();
    return app;
}

void BM_Layout(benchmark::State& state) {
    const generator::RecordList records = bench::benchRecords(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<engine::Application> app = withNewWorkbook();
        state.ResumeTiming();
        generator::writeCommissionSheet(*app, records);
        state.PauseTiming();
        app->Quit();
        app.reset();
        state.ResumeTiming();
    }
    state.counters["records"] = static_cast<double>(state.range(0));
}

// Every formula evaluated once after the layout, as saving the workbook does.
void BM_CalculateAfterLayout(benchmark::State& state) {
    const generator::RecordList records = bench::benchRecords(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<engine::Application> app = withNewWorkbook();
        generator::writeCommissionSheet(*app, records);
        state.ResumeTiming();
        app->ActiveWorkbook().Calculate();
        state.PauseTiming();
        app->Quit();
        app.reset();
        state.ResumeTiming();
    }
    state.counters["records"] = static_cast<double>(state.range(0));
}

BENCHMARK(BM_Layout)->Arg(3)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalculateAfterLayout)->Arg(3)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
