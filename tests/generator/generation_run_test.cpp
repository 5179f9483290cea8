#include "generator/engine_session.h"
#include "engine/application.h"
#include "engine/model/sheet.h"
#include "generator/generation_run.h"
#include "generator/record_list.h"
#include "generator/run_windows.h"
#include "support/isolated_environment.h"
#include "support/qt_gtest_printers.h"
#include "support/scoped_default_locale.h"
#include "support/scripted_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Records what the run does to the two windows, in order.
class FakeWindows : public generator::MainWindowControl, public generator::PreviewTarget {
public:
    void setBusyPointer() override { events << "busy"; }
    void setDefaultPointer() override { events << "default"; }
    void hideMainWindow() override { events << "hide main"; }
    void setSheet(const generator::SheetPicture& p) override { picture = p; events << "picture"; }
    void setWorkbookPath(const QString& path) override { excelFile = path; events << "path"; }
    void showPreview() override { events << "show preview"; }

    QStringList events;
    generator::SheetPicture picture;
    QString excelFile;
};

class GenerationRun : public ::testing::Test {
protected:
    QStringList tempFiles() const { return QDir(env.tempFolder()).entryList(QDir::Files | QDir::Hidden); }

    IsolatedEnvironment env;
    ScriptedDialogs dialogs;
    FakeWindows windows;
    generator::EngineSession session;
    generator::GenerationRun run{session, dialogs};
};

const generator::RecordList kSample = generator::RecordList::sample();

// Pixel colour of the picture near the top of the centre of sheet cell (row, col),
// 1-based, for a picture whose top-left cell is (firstRow, firstCol). Widths are
// converted as spreadsheets do for Arial 10 (7-pixel digits), heights at 96 dpi.
QColor cellColour(const QImage& image, const engine::SheetData& sheet, int firstRow, int firstCol, int row,
                  int col) {
    auto colPx = [](double w) { return int(w * 7 + 0.5) + 5; };
    auto rowPx = [](double pt) { return int(pt * 96 / 72 + 0.5); };
    int x = 0;
    for (int c = firstCol; c < col; ++c) x += colPx(sheet.columnWidth(c - 1));
    int y = 0;
    for (int r = firstRow; r < row; ++r) y += rowPx(sheet.rowHeight(r - 1));
    return image.pixelColor(x + colPx(sheet.columnWidth(col - 1)) / 2, y + 4);
}

}  // namespace

TEST_F(GenerationRun, SampleRecordsReachThePreviewAsWorkbookAndPicture) {
    run.run(kSample, windows, windows);

    EXPECT_TRUE(dialogs.errorTexts().isEmpty()) << dialogs.errorTexts().join("\n---\n").toStdString();
    EXPECT_EQ(windows.events, (QStringList{"busy", "default", "picture", "path", "show preview", "hide main"}));
    // The picture goes to the preview in memory: the workbook is the run's only file.
    EXPECT_EQ(tempFiles(), QStringList{QFileInfo(windows.excelFile).fileName()});

    // The temporary workbook: rendle + eight digits 1-9 + .xls in TEMP, still there.
    const QFileInfo book(windows.excelFile);
    EXPECT_EQ(QDir(book.absolutePath()), QDir(env.tempFolder()));
    EXPECT_TRUE(QRegularExpression("^rendle[1-9]{8}\\.xls$").match(book.fileName()).hasMatch())
        << book.fileName().toStdString();
    EXPECT_TRUE(book.exists());
    EXPECT_GT(book.size(), 0);
    EXPECT_EQ(run.lastTemporaryWorkbook(), windows.excelFile);

    // It reopens to the laid-out sheet.
    auto app = session.openInNewInstance(windows.excelFile);
    const engine::Workbook opened = app->Workbooks()(1);
    ASSERT_EQ(opened.Sheets().Count(), 1);
    EXPECT_EQ(opened.Sheets()(1).Name(), "Inventory List");
    const engine::SheetData& sheet = opened.ActiveSheet().Data();
    const engine::Cell* title = sheet.cell(0, 1);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(std::get<QString>(title->value), "Sales Commission Calculator");
    const engine::Cell* totalCommission = sheet.cell(9, 3);
    ASSERT_NE(totalCommission, nullptr);
    EXPECT_DOUBLE_EQ(std::get<double>(totalCommission->value), 2510.0);

    // The picture shows the used range (B1:D10 at least).
    ASSERT_FALSE(windows.picture.isNull());
    EXPECT_LE(windows.picture.area().firstCol, 1);
    EXPECT_GE(windows.picture.area().lastRow, 9);
    EXPECT_GE(windows.picture.area().lastCol, 3);
    EXPECT_GT(windows.picture.pixelSize().width(), 3 * 190);
    EXPECT_GT(windows.picture.pixelSize().height(), 150);
    EXPECT_EQ(windows.picture.pointSize(), QSizeF(windows.picture.pixelSize()) * 0.75);
    EXPECT_EQ(windows.picture.cellText(0, 1), QStringLiteral("Sales Commission Calculator"));
    app->Quit();
}

// The viewer that took the picture has closed the workbook and quit by the time
// the picture is painted: the picture keeps what it shows.
TEST_F(GenerationRun, PictureShowsTheFillsAtTheirPlacesAfterTheViewerQuit) {
    run.run(kSample, windows, windows);
    ASSERT_FALSE(windows.picture.isNull());
    const QImage img = windows.picture.image();
    ASSERT_EQ(img.size(), windows.picture.pixelSize());

    auto app = session.openInNewInstance(windows.excelFile);
    const engine::Workbook opened = app->Workbooks()(1);
    const engine::SheetData& sheet = opened.ActiveSheet().Data();
    const engine::Range used = opened.ActiveSheet().UsedRange();
    const int r0 = used.Row();
    const int c0 = used.Column();
    ASSERT_EQ(r0, 1);
    ASSERT_LE(c0, 2);

    const QColor slate(84, 125, 146), grey(224, 224, 224), paleBlue(234, 236, 254);
    // The heading row 6 is slate in B..D, record 2 (row 8) grey in B and C, the
    // commission column D pale blue, record 1 white in B.
    EXPECT_EQ(cellColour(img, sheet, r0, c0, 6, 2), slate);
    EXPECT_EQ(cellColour(img, sheet, r0, c0, 6, 4), slate);
    EXPECT_EQ(cellColour(img, sheet, r0, c0, 8, 2), grey);
    EXPECT_EQ(cellColour(img, sheet, r0, c0, 8, 3), grey);
    EXPECT_EQ(cellColour(img, sheet, r0, c0, 7, 2), QColor(Qt::white));
    EXPECT_EQ(cellColour(img, sheet, r0, c0, 7, 4), paleBlue);
    EXPECT_EQ(cellColour(img, sheet, r0, c0, 9, 4), paleBlue);
    app->Quit();
}

TEST_F(GenerationRun, ExistingTemporaryNameIsDrawnAgain) {
    // The first name this seed gives is taken already.
    generator::GenerationRun(session, dialogs, 42).run(kSample, windows, windows);
    const QString firstName = windows.excelFile;
    QFile::remove(firstName);
    {
        QFile taken(firstName);
        ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
        taken.write("the user's own file");
    }

    FakeWindows second;
    generator::GenerationRun(session, dialogs, 42).run(kSample, second, second);
    EXPECT_NE(second.excelFile, firstName);
    EXPECT_TRUE(QRegularExpression("rendle[1-9]{8}\\.xls$").match(second.excelFile).hasMatch());
    QFile kept(firstName);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "the user's own file");
}

// A run that cannot build, save, reopen or picture its workbook ends after the
// box of its first failure: no preview, no picture, no temporary workbook left.
TEST_F(GenerationRun, FirstFailureEndsTheRunWithOneBoxAndNothingLeft) {
    struct Case {
        const char* what;
        const char* line;
        generator::EngineFactory factory;
        generator::RecordList records;
        QString temp;
    };
    const QString missingFolder = QDir(env.tempFolder()).filePath("missing/folder");
    const Case cases[] = {
        {"no instance", "102", [] { return std::unique_ptr<engine::Application>(); }, kSample, env.tempFolder()},
        // The percentage is typed input: "=SUM(" and its "%" make a formula that does not read.
        {"layout", "124", {}, generator::RecordList({{"Aldo Fennick", "5600"}}, "=SUM("), env.tempFolder()},
        {"save", "158", {}, kSample, missingFolder},
        {"reopen", "168",
         [made = 0]() mutable { return ++made == 1 ? engine::createApplication() : nullptr; }, kSample,
         env.tempFolder()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        qputenv("TEMP", c.temp.toLocal8Bit());
        ScriptedDialogs boxes;
        FakeWindows shown;
        generator::EngineSession engines(c.factory);
        generator::GenerationRun failing(engines, boxes);
        failing.run(c.records, shown, shown);

        const QStringList errors = boxes.errorTexts();
        ASSERT_EQ(errors.size(), 1) << errors.join("\n---\n").toStdString();
        EXPECT_TRUE(errors[0].contains(QStringLiteral("\r\nin Marrowby2021/08/31.Commission.GenerateReport0 at line ") +
                                       c.line + "\r\r"))
            << errors[0].toStdString();
        EXPECT_FALSE(shown.events.contains("picture"));
        EXPECT_FALSE(shown.events.contains("show preview"));
        EXPECT_FALSE(shown.events.contains("hide main"));
        EXPECT_TRUE(failing.lastTemporaryWorkbook().isEmpty());
        EXPECT_EQ(tempFiles(), QStringList());
    }
}

TEST_F(GenerationRun, UsedRangeEndingInRowOneOrColumnOneGivesNoPicture) {
    for (const char* only : {"C1", "A5"}) {
        SCOPED_TRACE(only);
        auto app = engine::createApplication();
        engine::Workbook book = app->Workbooks().Add();
        app->Range(only).Select();
        app->ActiveCell().SetFormulaR1C1("only here");
        EXPECT_TRUE(generator::takeUsedRangePicture(book).isNull());
        app->Range("B2").Select();
        app->ActiveCell().SetFormulaR1C1("and here");
        EXPECT_FALSE(generator::takeUsedRangePicture(book).isNull());
        app->Quit();
    }
}

// The picture shows numbers with the separators of the locale it was prepared
// under, through the workbook's own formats ("$#,##0.00", "0.0%").
TEST_F(GenerationRun, PictureShowsNumbersWithTheLocalesSeparators) {
    struct Case {
        QLocale locale;
        generator::RecordList records;
        QStringList shown;  // B4, C7, D7, C10 (the totals), D10
    };
    const Case cases[] = {
        {QLocale(QLocale::German, QLocale::Germany),
         generator::RecordList({{"Aldo Fennick", "5600"}, {"John Smith", "8400,5"}, {"Zodo Duvevado", "11100"}}, "7,5"),
         {"7,5%", "$5.600,00", "$420,00", "$25.100,50", "$1.882,54"}},
        {QLocale(QLocale::English, QLocale::UnitedStates),
         generator::RecordList({{"Aldo Fennick", "5600"}, {"John Smith", "8400.5"}, {"Zodo Duvevado", "11100"}}, "7.5"),
         {"7.5%", "$5,600.00", "$420.00", "$25,100.50", "$1,882.54"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        generator::SheetPicture picture;
        {
            const ScopedDefaultLocale locale(c.locale);
            FakeWindows shown;
            run.run(c.records, shown, shown);
            picture = shown.picture;
            QFile::remove(shown.excelFile);
        }
        ASSERT_FALSE(picture.isNull());
        // Taken when the picture was prepared: a later change of locale leaves it.
        const QStringList texts{picture.cellText(3, 1), picture.cellText(6, 2), picture.cellText(6, 3),
                                picture.cellText(9, 2), picture.cellText(9, 3)};
        EXPECT_EQ(texts, c.shown);
    }
    EXPECT_TRUE(dialogs.errorTexts().isEmpty()) << dialogs.errorTexts().join("\n---\n").toStdString();
}
