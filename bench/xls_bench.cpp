// Saving and reopening the commission workbook in the .xls format: the BIFF8
// stream and compound file built in memory, the whole save to disk (temporary
// sibling, flush, rename), and the reopen, for 3, 1,000 and 32,767 records. The
// sheet is laid out once per size through the generator, untimed; the file size is
// reported as a counter.
#include "support/bench_fakes.h"
#include "generator/commission_sheet.h"
#include "generator/connection.h"
#include "generator/engine/application.h"
#include "generator/engine/xls/xls_reader.h"
#include "generator/engine/xls/xls_writer.h"
#include "generator/palette.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {

constexpr int kRecordCounts[] = {3, 1000, 32767};

// The laid-out workbook of n records, kept in its instance for the whole run.
const engine::WorkbookData& laidOut(int n) {
    static std::map<int, std::unique_ptr<engine::Application>> instances;
    auto& app = instances[n];
    if (!app) {
        generator::FillPalette();
        generator::StartExcel();
        generator::ExcelApp->Workbooks().Add();
        generator::BuildCommissionSheet(bench::BenchRecords(n));
        generator::ExcelApp->ActiveWorkbook().Calculate();
        app = std::move(generator::ExcelApp);
    }
    return app->ActiveWorkbook().Data();
}

void BM_XlsBuildInMemory(benchmark::State& state) {
    const engine::WorkbookData& wb = laidOut(int(state.range(0)));
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray file = engine::xls::buildWorkbookFile(wb);
        size = file.size();
        benchmark::DoNotOptimize(file.constData());
    }
    state.counters["file_bytes"] = double(size);
}

void BM_XlsSaveToDisk(benchmark::State& state) {
    const engine::WorkbookData& wb = laidOut(int(state.range(0)));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("commission.xls"));
    for (auto _ : state) engine::xls::writeWorkbook(wb, path);
    state.counters["file_bytes"] = double(QFileInfo(path).size());
}

void BM_XlsReopen(benchmark::State& state) {
    const engine::WorkbookData& wb = laidOut(int(state.range(0)));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("commission.xls"));
    engine::xls::writeWorkbook(wb, path);
    for (auto _ : state) {
        const engine::WorkbookData back = engine::xls::readWorkbook(path);
        benchmark::DoNotOptimize(back.sheets.data());
    }
    state.counters["file_bytes"] = double(QFileInfo(path).size());
}

void sizes(benchmark::internal::Benchmark* b) {
    for (int n : kRecordCounts) b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_XlsBuildInMemory)->Apply(sizes);
BENCHMARK(BM_XlsSaveToDisk)->Apply(sizes);
BENCHMARK(BM_XlsReopen)->Apply(sizes);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
