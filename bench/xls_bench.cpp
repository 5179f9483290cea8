// Saving and reopening the commission workbook in the .xls format: the BIFF8
// stream and compound file built in memory, the whole save to disk (temporary
// sibling, flush, rename), and the reopen, for 3, 1,000 and 32,767 records. The
// sheet is laid out once per size through the generator, untimed; the file size is
// reported as a counter.
//
// Two modes check that a change of the writer or reader keeps its results:
//   xls_bench --write DIR       writes the workbooks of 3, 1,000 and 32,767 records
//                               to DIR (compare them with cmp before and after);
//   xls_bench --describe FILE.. prints everything the reader gives for each file,
//                               or the reason it refused it (compare with diff).
#include "support/bench_fakes.h"
#include "generator/commission_sheet.h"
#include "engine/application.h"
#include "engine/formula/formula.h"
#include "engine/model/engine_error.h"
#include "engine/xls/xls_reader.h"
#include "engine/xls/xls_writer.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

namespace {

constexpr int kRecordCounts[] = {3, 1000, 32767};

// The laid-out workbook of n records, kept in its instance for the whole run.
const engine::WorkbookData& laidOut(int n) {
    static std::map<int, std::unique_ptr<engine::Application>> instances;
    auto& app = instances[n];
    if (!app) {
        app = engine::createApplication();
        app->Workbooks().Add();
        generator::writeCommissionSheet(*app, bench::benchRecords(n));
        app->ActiveWorkbook().Calculate();
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

int writeWorkbooks(const QString& dir) {
    QDir().mkpath(dir);
    for (int n : kRecordCounts)
        engine::xls::writeWorkbook(laidOut(n), QDir(dir).filePath(QStringLiteral("commission_%1.xls").arg(n)));
    return 0;
}

QString describeValue(const engine::CellValue& v) {
    return std::visit(
        [](const auto& x) -> QString {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>) return QStringLiteral("empty");
            else if constexpr (std::is_same_v<T, double>) return QStringLiteral("n:%1").arg(x, 0, 'g', 17);
            else if constexpr (std::is_same_v<T, QString>) return QStringLiteral("s:") + x;
            else if constexpr (std::is_same_v<T, bool>) return x ? QStringLiteral("true") : QStringLiteral("false");
            else return QStringLiteral("e:%1").arg(int(x));
        },
        v);
}

// One line per fact; the styles and sizes are covered by the hash of the workbook
// written again from what was read.
void describe(const QString& path) {
    std::printf("== %s\n", qPrintable(QFileInfo(path).fileName()));
    engine::WorkbookData wb;
    try {
        wb = engine::xls::readWorkbook(path);
    } catch (const engine::EngineError& e) {
        std::printf("refused: %s\n", qPrintable(e.description()));
        return;
    }
    std::printf("active %d styles %zu\n", wb.activeSheet, wb.styles.size());
    for (const auto& sheet : wb.sheets) {
        std::printf("sheet %s default %u std %g %g merges %zu\n", qPrintable(sheet->name), sheet->defaultStyle,
                    sheet->standardColumnWidth, sheet->standardRowHeight, sheet->merges.size());
        for (const auto& [row, id] : sheet->rowStyles) std::printf("rowstyle %d %u\n", row, id);
        for (const auto& [col, id] : sheet->columnStyles) std::printf("colstyle %d %u\n", col, id);
        for (const auto& [row, h] : sheet->rowHeights) std::printf("height %d %g\n", row, h);
        for (const auto& [col, w] : sheet->columnWidths) std::printf("width %d %g\n", col, w);
        for (const auto& [at, cell] : sheet->cells)
            std::printf("%d,%d %u %s%s%s\n", at.row, at.col, cell.style, qPrintable(describeValue(cell.value)),
                        cell.formula ? qPrintable(QStringLiteral(" =") + cell.formula->toA1(at)) : "",
                        cell.resultValid ? " valid" : "");
    }
    try {
        const QByteArray again = engine::xls::buildWorkbookFile(wb);
        std::printf("again %s\n", QCryptographicHash::hash(again, QCryptographicHash::Sha1).toHex().constData());
    } catch (const engine::EngineError& e) {
        std::printf("not written again: %s\n", qPrintable(e.description()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    if (argc == 3 && !std::strcmp(argv[1], "--write")) return writeWorkbooks(QString::fromLocal8Bit(argv[2]));
    if (argc >= 3 && !std::strcmp(argv[1], "--describe")) {
        for (int i = 2; i < argc; ++i) describe(QString::fromLocal8Bit(argv[i]));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
