// Costs of the settings store (the percentage field rewrites the store at every
// change, next to a list that may be long) and of the number rules.
#include "shell/locale_number.h"
#include "shell/settings_store.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString listOfLength(qsizetype length) {
    QString list;
    for (int row = 0; list.size() < length; ++row)
        list += QStringLiteral("Salesperson %1||SEP1||%2||SEP1||%3||SEP2||").arg(row).arg(row * 100).arg(row * 10);
    return list;
}

// A store of its own, holding a list of the given length.
struct ScratchStore {
    explicit ScratchStore(qsizetype listLength) {
        qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
        shell::writeProgramSetting(QStringLiteral("Commission List"), listOfLength(listLength));
    }
    QTemporaryDir dir;
};

void BM_SaveRateBesideList(benchmark::State& state) {
    ScratchStore store(state.range(0));
    int i = 0;
    for (auto _ : state) shell::writeProgramSetting(QStringLiteral("Commission Rate"), QString::number(++i % 100));
}
BENCHMARK(BM_SaveRateBesideList)->Arg(0)->Arg(10 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

void BM_ReadList(benchmark::State& state) {
    ScratchStore store(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(shell::readProgramSetting(QStringLiteral("Commission List")));
}
BENCHMARK(BM_ReadList)->Arg(10 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

void BM_ParseLocaleNumber(benchmark::State& state) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QString text = QStringLiteral("1,234,567.891e-2");
    for (auto _ : state) benchmark::DoNotOptimize(shell::parseLocaleNumber(text, english));
}
BENCHMARK(BM_ParseLocaleNumber);

void BM_CommissionText(benchmark::State& state) {
    const QLocale german(QLocale::German, QLocale::Germany);
    double total = 1234.56;
    for (auto _ : state) benchmark::DoNotOptimize(shell::commissionText(total += 0.01, 7.5, german));
}
BENCHMARK(BM_CommissionText);

}  // namespace

BENCHMARK_MAIN();
