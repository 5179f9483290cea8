// The whole road through the real windows: sample data, the generation run, the
// preview with zoom, numbers in the user's locale, saving (new file, overwrite
// declined and confirmed, a failing save), Back, a second run, and closing the
// preview.
#include "generator/generation_run.h"
#include "preview/sheet_canvas.h"
#include "app/program_windows.h"
#include "app/single_instance.h"
#include "records/saved_list_codec.h"
#include "shell/settings_store.h"
#include "support/isolated_environment.h"
#include "support/scoped_default_locale.h"
#include "support/scripted_dialogs.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QtTest>

namespace {

const QString kSampleList = QStringLiteral(
    "Aldo Fennick||SEP1||5600||SEP1||560||SEP2||John Smith||SEP1||8400||SEP1||840||SEP2||"
    "Zodo Duvevado||SEP1||11100||SEP1||1110||SEP2||");

}  // namespace

class EndToEnd : public QObject {
    Q_OBJECT

private slots:
    void init() {
        env = std::make_unique<IsolatedEnvironment>();
        dialogs = std::make_unique<ScriptedDialogs>();
        ended = 0;
        windows = std::make_unique<app::ProgramWindows>(shell::ProgramContext(*dialogs), [this] { ++ended; });
        windows->start();
        QVERIFY(QTest::qWaitForWindowExposed(&windows->mainWindow()));
        QTest::mouseClick(windows->mainWindow().loadSampleDataButton(), Qt::LeftButton);
        QCOMPARE(windows->mainWindow().recordCount(), 3);
    }

    void cleanup() {
        windows.reset();
        dialogs.reset();
        env.reset();
    }

    // A second start finds the first, which is asked to bring its windows to the front.
    void aSecondStartAsksTheFirstToComeToTheFront() {
        app::SingleInstance first(shell::programSettingsFolder());
        QVERIFY(first.claim());
        QSignalSpy asked(&first, &app::SingleInstance::activationRequested);
        app::SingleInstance second(shell::programSettingsFolder());
        QVERIFY(!second.claim());
        QVERIFY(asked.wait(5000));
    }

    void runShowsThePreviewAndSavesTheWorkbook() {
        startRun();
        auto& preview = windows->previewWindow();
        const QString temp = preview.workbookPath();
        QCOMPARE(temp, windows->generationRun().lastTemporaryWorkbook());

        // Zoom out paints a smaller canvas; zoom in returns to the natural size.
        const int naturalWidth = preview.canvas()->width();
        QTest::mouseClick(preview.zoomOutButton(), Qt::LeftButton);
        QCOMPARE(preview.viewportMath().zoom(), 0.75f);
        QCOMPARE(preview.zoomFrame()->title(), QStringLiteral("Zoom: 75%"));
        QCOMPARE(preview.viewportMath().drawn().width, int(preview.viewportMath().base().width * 0.75));
        // The canvas is laid out in whole pixels of 15 twips.
        QVERIFY(qAbs(preview.canvas()->width() * 15 - preview.viewportMath().drawn().width) < 15);
        QTest::mouseClick(preview.zoomInButton(), Qt::LeftButton);
        QCOMPARE(preview.viewportMath().zoom(), 1.0f);
        QCOMPARE(preview.zoomFrame()->title(), QStringLiteral("Zoom: 100%"));
        QCOMPARE(preview.canvas()->width(), naturalWidth);

        // A new file: an identical copy, the temporary workbook still there.
        const QString target = QDir(env->tempFolder()).filePath("commission.xls");
        dialogs->fileNames.push_back(target);
        QTest::mouseClick(preview.saveResultsButton(), Qt::LeftButton);
        QCOMPARE(lastBoxText(), QStringLiteral("Done."));
        QCOMPARE(fileContents(target), fileContents(temp));
        QVERIFY(QFile::exists(temp));
        QCOMPARE(dialogs->saveDialogs.back().title, QStringLiteral("Save File"));
        QCOMPARE(dialogs->saveDialogs.back().filter, QStringLiteral("Excel Files (*.xls)"));

        // Over an existing file: No keeps it, Yes replaces it.
        QVERIFY(writeFileContents(target, "the user's own file"));
        dialogs->fileNames.push_back(target);
        dialogs->answers.push_back(shell::BoxAnswer::No);
        QTest::mouseClick(preview.saveResultsButton(), Qt::LeftButton);
        QCOMPARE(dialogs->boxes[dialogs->boxes.size() - 2].text,
                 QStringLiteral("Are you sure you wish to overwrite ") + target + QStringLiteral(" ?"));
        QCOMPARE(lastBoxText(), QStringLiteral("Done."));
        QCOMPARE(fileContents(target), QByteArray("the user's own file"));

        dialogs->fileNames.push_back(target);
        dialogs->answers.push_back(shell::BoxAnswer::Yes);
        QTest::mouseClick(preview.saveResultsButton(), Qt::LeftButton);
        QCOMPARE(lastBoxText(), QStringLiteral("Done."));
        QCOMPARE(fileContents(target), fileContents(temp));
        QVERIFY(dialogs->errorTexts().isEmpty());
    }

    // The preview shows the sample's numbers with the separators of the user's locale.
    void numbersShowWithTheUsersSeparators_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("shown");  // B4, C7, D10 (the total commission)
        QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany)
                               << QStringList{"10,0%", "$5.600,00", "$2.510,00"};
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates)
                               << QStringList{"10.0%", "$5,600.00", "$2,510.00"};
    }

    void numbersShowWithTheUsersSeparators() {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, shown);
        const ScopedDefaultLocale userLocale(locale);
        startRun();
        const generator::SheetPicture& picture = windows->previewWindow().canvas()->picture();
        QCOMPARE((QStringList{picture.cellText(3, 1), picture.cellText(6, 2), picture.cellText(9, 3)}), shown);
    }

    void failingSaveReportsOnlyTheErrorAndKeepsTheOldFile() {
        startRun();
        auto& preview = windows->previewWindow();
        // A path below a file cannot be written, whoever runs the test.
        const QString blocker = QDir(env->tempFolder()).filePath("not-a-folder");
        QVERIFY(writeFileContents(blocker, "plain file"));
        dialogs->fileNames.push_back(blocker + "/commission.xls");
        const auto before = dialogs->boxes.size();
        QTest::mouseClick(preview.saveResultsButton(), Qt::LeftButton);

        QCOMPARE(dialogs->boxes.size(), before + 1);
        QCOMPARE(dialogs->boxes.back().title, QStringLiteral("Application Error"));
        QVERIFY(dialogs->boxes.back().text.contains(
            "\r\nin Marrowby2021/08/31.Form2.PushButton6_Click at line 130\r\r"));
        QCOMPARE(fileContents(blocker), QByteArray("plain file"));
    }

    void backThenSecondRunThenClosingThePreview() {
        startRun();
        auto& preview = windows->previewWindow();
        const QString firstTemp = preview.workbookPath();

        QTest::mouseClick(preview.backButton(), Qt::LeftButton);
        QVERIFY(!QFile::exists(firstTemp));
        QVERIFY(windows->mainWindow().isVisible());
        QVERIFY(!preview.isVisible());
        QCOMPARE(windows->mainWindow().recordCount(), 3);

        startRun();
        const QString secondTemp = preview.workbookPath();
        QVERIFY(secondTemp != firstTemp);
        QVERIFY(QFile::exists(secondTemp));

        // Closing the preview deletes the workbook, stores the list, ends the program.
        preview.close();
        QVERIFY(!QFile::exists(secondTemp));
        QCOMPARE(ended, 1);
        QCOMPARE(shell::readProgramSetting(QString::fromLatin1(shell::kKeyCommissionList)), kSampleList);
        QVERIFY(dialogs->errorTexts().isEmpty());
    }

private:
    void startRun() {
        QTest::mouseClick(windows->mainWindow().startCreatingTemplateButton(), Qt::LeftButton);
        auto& preview = windows->previewWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QVERIFY(!windows->mainWindow().isVisible());
        QVERIFY(!preview.canvas()->picture().isNull());
        QVERIFY(preview.viewportMath().drawn().width > 3 * 190 * 15);
        QVERIFY(QFile::exists(preview.workbookPath()));
        // The picture reaches the preview in memory: no file but the workbook.
        QCOMPARE(QDir(env->tempFolder()).entryList(QStringList{"*.bmp"}, QDir::Files), QStringList());
        QVERIFY2(dialogs->errorTexts().isEmpty(), qPrintable(dialogs->errorTexts().join("\n")));
    }

    QString lastBoxText() const { return dialogs->boxes.empty() ? QString() : dialogs->boxes.back().text; }

    std::unique_ptr<IsolatedEnvironment> env;
    std::unique_ptr<ScriptedDialogs> dialogs;
    std::unique_ptr<app::ProgramWindows> windows;
    int ended = 0;
};

QTEST_MAIN(EndToEnd)
#include "tst_end_to_end.moc"
