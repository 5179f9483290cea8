// Lays out the commission sheet through the program's generator and saves it, for
// the interop checks with independent readers:
//
//   write_commission_workbook OUTPUT RECORDS [--stale-results] [--records-json FILE]
//
// RECORDS is a count of generated salespeople (0 for none), "sample" for the main
// window's three sample records, or "texts" for names of every kind of text
// (non-Latin scripts, emoji, quotes, control characters, up to 32,767 characters).
// The percentage is 10. --stale-results replaces every formula's cached result in
// the saved file by -1, so that a reader showing the right values must have
// recalculated them. --records-json writes the records used as JSON:
// {"percentage": ..., "records": [{"name": ..., "total": ...}, ...]}.
#include "generator/commission_sheet.h"
#include "engine/application.h"
#include "engine/model/engine_error.h"
#include "engine/xls/xls_reader.h"
#include "engine/xls/xls_writer.h"
#include "generator/record_list.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QStringList>
#include <cstdio>
#include <vector>

namespace {

std::vector<generator::RecordList::Record> sampleRecords() { return generator::RecordList::sample().records(); }

// Amounts with cents that binary fractions cannot hold exactly, as users type them.
std::vector<generator::RecordList::Record> generatedRecords(int n) {
    std::vector<generator::RecordList::Record> records;
    for (int i = 1; i <= n; ++i) {
        const double total = 1000 + (i * 7919) % 90000 + (i % 100) / 100.0;
        records.push_back({QStringLiteral("Salesperson %1").arg(i), QString::number(total, 'f', 2)});
    }
    return records;
}

std::vector<generator::RecordList::Record> textRecords() {
    QString longest;
    for (int i = 0; i < 32767; ++i) longest.append(QChar(u"abcdefghij klmnopqrstuvwxyz"[i % 27]));
    QString longWide;
    for (int i = 0; i < 9000; ++i) longWide.append(QChar(0x4E00 + (i * 7) % 2000));
    const QStringList names{
        QStringLiteral("Zoë Ångström-Núñez"),
        QStringLiteral("王小明"),
        QStringLiteral("Олег Петрович"),
        QStringLiteral("محمد علي"),
        QString::fromUtf8("Emoji 😀 person 👍🏽"),
        QStringLiteral("\"Quoted\" O'Brien, Jr."),
        QStringLiteral("Tab\there; line\nbreak"),
        // Names that read as formulas, numbers, logicals, errors or dates when typed.
        QStringLiteral("=1+1"), QStringLiteral("=Smith"), QStringLiteral("00123"), QStringLiteral("TRUE"),
        QStringLiteral("10%"), QStringLiteral("#N/A"), QStringLiteral("'quoted"), QStringLiteral("1/2"),
        longWide,
        longest,
    };
    std::vector<generator::RecordList::Record> records;
    for (int i = 0; i < names.size(); ++i) records.push_back({names[i], QString::number(1000 * (i + 1))});
    return records;
}

void build(const generator::RecordList& records, const QString& path) {
    const std::unique_ptr<engine::Application> excel = engine::createApplication();
    const engine::Workbook book = excel->Workbooks().Add();
    while (excel->Sheets().Count() > 1) excel->Sheets()(2).Delete();
    excel->Sheets()(1).SetName(QStringLiteral("Inventory List"));
    generator::writeCommissionSheet(*excel, records);
    excel->Sheets()(1).Select();
    excel->Range(QStringLiteral("B1")).Select();
    book.SaveAs(path, engine::FileFormat::Excel8);
    excel->Quit();
}

void makeResultsStale(const QString& path) {
    engine::WorkbookData wb = engine::xls::readWorkbook(path);
    for (auto& [at, cell] : wb.sheets.at(0)->cells)
        if (cell.hasFormula()) cell.value = -1.0;
    engine::xls::writeWorkbook(wb, path);
}

bool writeJson(const generator::RecordList& records, const QString& path) {
    QJsonArray list;
    for (const generator::RecordList::Record& r : records.records())
        list.append(QJsonObject{{QStringLiteral("name"), r.name}, {QStringLiteral("total"), r.total}});
    QJsonObject root{{QStringLiteral("percentage"), records.percentageText()}, {QStringLiteral("records"), list}};
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(root).toJson()) > 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool stale = args.removeAll(QStringLiteral("--stale-results")) > 0;
    QString jsonPath;
    if (const auto at = args.indexOf(QStringLiteral("--records-json")); at >= 0 && at + 1 < args.size()) {
        jsonPath = args.takeAt(at + 1);
        args.removeAt(at);
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: write_commission_workbook OUTPUT (COUNT | sample | texts) "
                             "[--stale-results] [--records-json FILE]\n");
        return 2;
    }
    // Totals are typed as in an English locale.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    const QString& kind = args[1];
    bool isCount = false;
    const int count = kind.toInt(&isCount);
    if (kind != QStringLiteral("sample") && kind != QStringLiteral("texts") && (!isCount || count < 0)) {
        std::fprintf(stderr, "invalid record count: %s\n", qPrintable(kind));
        return 2;
    }
    const generator::RecordList records(kind == QStringLiteral("sample")  ? sampleRecords()
                                        : kind == QStringLiteral("texts") ? textRecords()
                                                                          : generatedRecords(count),
                                        QStringLiteral("10"));
    try {
        build(records, args[0]);
        if (stale) makeResultsStale(args[0]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    if (!jsonPath.isEmpty() && !writeJson(records, jsonPath)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(jsonPath));
        return 1;
    }
    return 0;
}
