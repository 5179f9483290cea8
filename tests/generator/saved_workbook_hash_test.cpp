// The saved commission workbook, byte for byte: its SHA-256 for several record
// counts. Work on the engine's speed or memory must leave every file as it was;
// a change that alters the file on purpose updates these hashes with it.
#include "generator/commission_sheet.h"
#include "engine/application.h"
#include "generator/record_list.h"
#include "support/isolated_environment.h"
#include "support/scoped_default_locale.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// Texts shared by several records, texts beyond Latin-1, and totals that are whole
// numbers as well as amounts with cents (stored in the file in different records).
generator::RecordList hashedRecords(int n) {
    generator::RecordList list({}, QStringLiteral("12.5"));
    for (int i = 1; i <= n; ++i) {
        const QString name = i % 5 == 0 ? QStringLiteral("Zoë Ångström-Núñez") : QStringLiteral("Salesperson %1").arg(i);
        const double total = 1000 + (i * 7919) % 90000 + (i % 3 == 0 ? 0 : (i % 100) / 100.0);
        list.append({name, QString::number(total, 'f', i % 3 == 0 ? 0 : 2)});
    }
    return list;
}

// Lays the sheet out as the generation run does and returns the saved file's hash.
QByteArray savedWorkbookHash(int records, const QString& folder) {
    const std::unique_ptr<engine::Application> app = engine::createApplication();
    const engine::Workbook book = app->Workbooks().Add();
    while (app->Sheets().Count() > 1) app->Sheets()(2).Delete();
    app->Sheets()(1).SetName(QStringLiteral("Inventory List"));
    generator::writeCommissionSheet(*app, hashedRecords(records));
    app->Sheets()(1).Select();
    app->Range(QStringLiteral("B1")).Select();
    const QString path = QDir(folder).filePath(QStringLiteral("hashed.xls"));
    book.SaveAs(path, engine::FileFormat::Excel8);
    app->Quit();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
}

class SavedWorkbookHash : public ::testing::Test {
protected:
    void expectHash(int records, const char* expected) {
        EXPECT_EQ(savedWorkbookHash(records, env.tempFolder()).toStdString(), expected) << records << " records";
    }
    IsolatedEnvironment env;
    ScopedDefaultLocale locale{QLocale(QLocale::English, QLocale::UnitedStates)};
};

TEST_F(SavedWorkbookHash, SmallSheetsAreByteIdentical) {
    const struct {
        int records;
        const char* sha256;
    } cases[] = {
        {0, "53d7533643080037c507ed03e848cf1942d44a0913ebe1fc2e0f2f3c81a838f1"},
        {1, "ee3ca036603f2102aada598d44320d391fbb94cbc11a3b140959309f55a0a779"},
        {3, "6c264bd7c43ca142e036ead0ed28b81e4bf7e76d4ce3efb89472a22e67f5d807"},
        {40, "74d27204cee1e4189ad95c2f9973cdce1073d1e4af8bcbb4dd3b557090e85ff0"},
        {1000, "23fa9a2056ed9ab84b2419b3d9cde57d6136b86ffee6551022bc8306ba7b5405"},
    };
    for (const auto& c : cases) expectHash(c.records, c.sha256);
}

// The largest sheet the file format holds takes about a second in a sanitizer build.
TEST_F(SavedWorkbookHash, LargestSheetIsByteIdentical) {
    expectHash(32767, "34fc52d90ea896979930ab115f0c7b6eaf1840f307c1926a104ac00b88d58ea1");
}

}  // namespace
