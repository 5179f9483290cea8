// Time of the commission sheet layout, and of bringing its formulas up to date,
// for 3, 1,000 and 32,767 records (the most the record list holds).
#include "generator/commission_sheet.h"
#include "generator/connection.h"
#include "engine/workbook.h"
#include "generator/palette.h"
#include "generator/record_source.h"

#include <QCoreApplication>
#include <QStringList>
#include <benchmark/benchmark.h>

namespace {

// Records held as the list holds them: texts, ready to read.
class Records : public generator::RecordSource {
public:
    explicit Records(int n) {
        for (int i = 1; i <= n; ++i) {
            m_names << QStringLiteral("Salesperson %1").arg(i);
            m_totals << QString::number(1000 + (i * 37) % 90000);
        }
    }
    int recordCount() const override { return static_cast<int>(m_names.size()); }
    QString recordName(int i) const override { return m_names.at(i - 1); }
    QString recordTotal(int i) const override { return m_totals.at(i - 1); }
    QString percentageText() const override { return QStringLiteral("10"); }

private:
    QStringList m_names, m_totals;
};

void startWithNewWorkbook() {
    generator::StartExcel();
    generator::ExcelApp->Workbooks().Add();
}

void quit() {
    generator::ExcelApp->Quit();
    generator::ReleaseExcel();
}

void BM_Layout(benchmark::State& state) {
    generator::FillPalette();
    const Records records(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        startWithNewWorkbook();
        state.ResumeTiming();
        generator::BuildCommissionSheet(records);
        state.PauseTiming();
        quit();
        state.ResumeTiming();
    }
    state.counters["records"] = static_cast<double>(state.range(0));
}

// Every formula evaluated once after the layout, as saving the workbook does.
void BM_CalculateAfterLayout(benchmark::State& state) {
    generator::FillPalette();
    const Records records(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        startWithNewWorkbook();
        generator::BuildCommissionSheet(records);
        state.ResumeTiming();
        generator::ExcelApp->ActiveWorkbook().Calculate();
        state.PauseTiming();
        quit();
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
