// Time of the whole picture of the commission sheet's used range as one image (the
// renderer alone, without recalculation) for 3, 1,000 and 32,767 records. The sheet
// is laid out once per size by the generator on the built-in engine.
#include "generator/commission_sheet.h"
#include "engine/application.h"
#include "engine/model/used_range.h"
#include "engine/render/range_picture.h"
#include "support/bench_fakes.h"
#include "shell/font_substitutions.h"

#include <QApplication>
#include <QLocale>
#include <benchmark/benchmark.h>

namespace {

void BM_RenderCommissionSheet(benchmark::State& state) {
    const std::unique_ptr<engine::Application> app = engine::createApplication();
    app->Workbooks().Add();
    generator::writeCommissionSheet(*app, bench::benchRecords(static_cast<int>(state.range(0))));
    const engine::Workbook book = app->ActiveWorkbook();
    const engine::Worksheet sheet = app->ActiveSheet();
    const engine::CellArea area = engine::usedArea(sheet.Data()).value_or(engine::CellArea{});

    QImage picture;
    for (auto _ : state) {
        picture = engine::render::renderRange(book.Data(), sheet.Data(), area);
        benchmark::DoNotOptimize(picture.constBits());
    }
    state.counters["width_px"] = picture.width();
    state.counters["height_px"] = picture.height();

    app->Quit();
}

BENCHMARK(BM_RenderCommissionSheet)->Arg(3)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    shell::installFontSubstitutions();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
