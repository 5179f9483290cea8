// Time of the picture of the commission sheet's used range (the renderer alone,
// without recalculation or clipboard) for 3, 1,000 and 32,767 records. The sheet is
// laid out once per size by the generator on the built-in engine.
#include "generator/commission_sheet.h"
#include "generator/connection.h"
#include "engine/application.h"
#include "engine/model/used_range.h"
#include "engine/render/range_picture.h"
#include "generator/palette.h"
#include "generator/record_source.h"
#include "shell/font_substitutions.h"

#include <QApplication>
#include <QLocale>
#include <benchmark/benchmark.h>

namespace {

class Records : public generator::RecordSource {
public:
    explicit Records(int n) : m_count(n) {}
    int recordCount() const override { return m_count; }
    QString recordName(int i) const override { return QStringLiteral("Salesperson %1").arg(i); }
    QString recordTotal(int i) const override { return QString::number(1000 + (i * 37) % 90000, 'f', 2); }
    QString percentageText() const override { return QStringLiteral("10"); }

private:
    int m_count;
};

void BM_RenderCommissionSheet(benchmark::State& state) {
    const Records records(static_cast<int>(state.range(0)));
    generator::StartExcel();
    generator::ExcelApp->Workbooks().Add();
    generator::BuildCommissionSheet(records);
    const engine::Workbook book = generator::ExcelApp->ActiveWorkbook();
    const engine::Worksheet sheet = generator::ExcelApp->ActiveSheet();
    const engine::CellArea area = engine::usedArea(sheet.Data()).value_or(engine::CellArea{});

    QImage picture;
    for (auto _ : state) {
        picture = engine::render::renderRange(book.Data(), sheet.Data(), area);
        benchmark::DoNotOptimize(picture.constBits());
    }
    state.counters["width_px"] = picture.width();
    state.counters["height_px"] = picture.height();

    generator::ExcelApp->SetDisplayAlerts(false);
    generator::ExcelApp->Quit();
    generator::ReleaseExcel();
}

BENCHMARK(BM_RenderCommissionSheet)->Arg(3)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    shell::InstallFontSubstitutions();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    generator::FillPalette();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
