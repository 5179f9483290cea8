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
    app->SetDisplayAlerts(false);
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
        {0, "0824ffcb66d16dc507db8ba837f3cc48b92b13dc5c6acab402b45ae4dd54a5e4"},
        {1, "07f5beb868a00b77902b5549e90aa6ccf88a8ddf5ade8d689680afe52e13e32b"},
        {3, "e37bf3bdfd1e3afb126b67ed5e0b25cc5fada5d643118e5056ff086bd7dcd4fc"},
        {40, "58a27c95f4e635fe831e54488049024a199a6bacda654f3519db75dbecf92d4b"},
        {1000, "554a8652a87fd2c9f7e6e74703cd5ae7d3a3f116d5938b4c9e4ec3abcf999e79"},
    };
    for (const auto& c : cases) expectHash(c.records, c.sha256);
}

// The largest sheet the file format holds takes about a second in a sanitizer build.
TEST_F(SavedWorkbookHash, LargestSheetIsByteIdentical) {
    expectHash(32767, "1f3fd67230e17490249caccf04b8932447576e6d0c5f47237e867859eac2d313");
}

}  // namespace
