// The command line in the program's own process: the workbook it writes is the
// window's to the byte, from a CSV file or the stored list and percentage, and the
// picture the preview's; a failure anywhere leaves nothing behind and says so in
// one line per failure.
#include "app/command_line.h"
#include "app/program_windows.h"
#include "preview/sheet_canvas.h"
#include "records/main_window.h"
#include "records/records_file.h"
#include "records/select_all_line_edit.h"
#include "shell/settings_store.h"
#include "support/isolated_environment.h"
#include "support/scripted_dialogs.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextStream>
#include <QtTest>

namespace {

const QByteArray kSampleCsv =
    "Name,Total sales,Commission\r\nAldo Fennick,5600,560\r\nJohn Smith,8400,840\r\n\"Zodo Duvevado\",11100,1110\r\n";

struct CommandLineResult {
    int status;
    QString out;
    QString err;
};

CommandLineResult runCommandLine(const QStringList& options) {
    CommandLineResult result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.status = app::runCommandLine(QStringList{"quenvale"} + options, out, err);
    return result;
}

// The windows' run of the sample: the main window shown, "Load Sample/Example
// Data", "Start Creating Template".
void generateTheSample(app::ProgramWindows& windows) {
    windows.start();
    QVERIFY(QTest::qWaitForWindowExposed(&windows.mainWindow()));
    QTest::mouseClick(windows.mainWindow().loadSampleDataButton(), Qt::LeftButton);
    QTest::mouseClick(windows.mainWindow().startCreatingTemplateButton(), Qt::LeftButton);
}

}  // namespace

class CommandLine : public QObject {
    Q_OBJECT

private slots:
    void init() {
        env = std::make_unique<IsolatedEnvironment>();
        dialogs = std::make_unique<ScriptedDialogs>();
    }

    void cleanup() {
        dialogs.reset();
        env.reset();
    }

    void writesTheWindowsWorkbookToTheByte() {
        // The window's run of the sample, and its list stored as at closing.
        QByteArray windowWorkbook;
        {
            app::ProgramWindows windows(shell::ProgramContext(*dialogs), [] {});
            generateTheSample(windows);
            windowWorkbook = fileContents(windows.previewWindow().workbookPath());
            windows.mainWindow().storeRecordList();
        }
        QVERIFY(windowWorkbook.size() > 0);
        QVERIFY(dialogs->errorTexts().isEmpty());
        const QString csv = inTemp("sample.csv");
        QVERIFY(writeFileContents(csv, kSampleCsv));
        const QStringList workbooksBefore = temporaryWorkbooks();

        const struct {
            const char* what;
            QStringList options;
        } cases[] = {
            {"the CSV at 10 percent", {"--records", csv, "--percent", "10"}},
            {"the stored list and percentage", {}},
            {"the CSV at the stored percentage", {"--records", csv}},
        };
        int n = 0;
        for (const auto& c : cases) {
            const QString output = inTemp(QStringLiteral("sheet%1.xls").arg(++n));
            const CommandLineResult result = runCommandLine(c.options + QStringList{"--output", output});
            QVERIFY2(result.status == app::kExitSuccess, qPrintable(c.what + QStringLiteral(": ") + result.err));
            QVERIFY2(result.err.isEmpty() && result.out.isEmpty(), c.what);
            QVERIFY2(fileContents(output) == windowWorkbook, c.what);
        }

        // Office Open XML by the name's ending, in any case.
        const QString xlsx = inTemp("sheet.XLSX");
        QCOMPARE(runCommandLine({"--records", csv, "--output", xlsx}).status, app::kExitSuccess);
        QVERIFY(fileContents(xlsx).startsWith("PK\x03\x04"));

        // The command line's own temporary workbooks are gone; no box was shown.
        QCOMPARE(temporaryWorkbooks(), workbooksBefore);
        QVERIFY(dialogs->boxes.empty());
    }

    // A list kept under another locale's number rules gives the workbook of the
    // same list typed under the rules in force (en_US here).
    void aListKeptUnderAnotherLocaleReadsTheSame() {
        const struct {
            QString list, rate, locale;
        } stores[] = {
            {"Ann||SEP1||5,600.5||SEP1||||SEP2||Bob||SEP1||||SEP1||||SEP2||", "7.5", ""},
            {"Ann||SEP1||5.600,5||SEP1||||SEP2||Bob||SEP1||||SEP1||||SEP2||", "7,5", "de_DE"},
        };
        QByteArray workbooks[2];
        for (int i = 0; i < 2; ++i) {
            shell::writeProgramSettings({{shell::kKeyCommissionList, stores[i].list},
                                        {shell::kKeyCommissionRate, stores[i].rate},
                                        {shell::kKeyNumberLocale, stores[i].locale}});
            const QString output = inTemp(QStringLiteral("kept%1.xls").arg(i));
            const CommandLineResult result = runCommandLine({"--output", output});
            QVERIFY2(result.status == app::kExitSuccess, qPrintable(result.err));
            workbooks[i] = fileContents(output);
        }
        QVERIFY(!workbooks[0].isEmpty());
        QCOMPARE(workbooks[1], workbooks[0]);
    }

    // The PNG is the preview's picture at 100 %, pixel for pixel; the PDF is its
    // print, one landscape A4 page.
    void pictureAndPdfAsThePreviewShowsAndPrintsThem() {
        QImage previewPicture;
        {
            app::ProgramWindows windows(shell::ProgramContext(*dialogs), [] {});
            generateTheSample(windows);
            previewPicture = windows.previewWindow().canvas()->picture().image(1);
        }
        QVERIFY(!previewPicture.isNull());
        const QStringList workbooksBefore = temporaryWorkbooks();
        const QString csv = inTemp("sample.csv");
        QVERIFY(writeFileContents(csv, kSampleCsv));

        const QString png = inTemp("sheet.png");
        const QString pdf = inTemp("sheet.pdf");
        const CommandLineResult result =
            runCommandLine({"--records", csv, "--percent", "10", "--picture", png, "--pdf", pdf});
        QVERIFY2(result.status == app::kExitSuccess, qPrintable(result.err));
        const QImage written(png);
        QCOMPARE(written.size(), previewPicture.size());
        QCOMPARE(written.convertToFormat(QImage::Format_RGB32), previewPicture.convertToFormat(QImage::Format_RGB32));
        const QString info = programOutput("pdfinfo", {pdf});
        QVERIFY2(info.contains(QRegularExpression("Pages: +1\n")), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression("Page size: +842 x 595 pts \\(A4\\)")), qPrintable(info));
        QCOMPARE(temporaryWorkbooks(), workbooksBefore);
    }

    void failuresLeaveNothingAndSayWhere() {
        const QString csv = inTemp("list.csv");
        QVERIFY(writeFileContents(csv, "Ann,5\n"));
        QVERIFY(writeFileContents(inTemp("not-a-folder"), "plain file"));
        const QString blocked = inTemp("not-a-folder") + "/sheet.xlsx";
        // A stored record that lacks its commission, as the window would report it at load.
        const QString damagedList = QStringLiteral("Ann||SEP1||5||SEP2||");
        // A stored name longer than a cell holds makes the run's layout fail, as in the window.
        const QString overlongName = QString(32768, QChar('N')) + "||SEP1||5||SEP1||0.5||SEP2||";

        const struct {
            const char* what;
            QString storedList;
            QStringList options;
            QString firstLine;
            QString storedRate = QStringLiteral("10");
        } cases[] = {
            {"an output that cannot be written", {}, {"--records", csv, "--output", blocked},
             "quenvale: Cannot write " + blocked},
            {"a PDF that cannot be written", {}, {"--records", csv, "--pdf", blocked + ".pdf"},
             "quenvale: Cannot write " + blocked + ".pdf"},
            {"a picture that cannot be written", {}, {"--records", csv, "--picture", blocked + ".png"},
             "quenvale: Cannot write " + blocked + ".png"},
            {"a damaged stored list", damagedList, {"--output", inTemp("sheet.xls")},
             "quenvale: The settings store's \"Commission List\" is damaged: record 1 (\"Ann\") lacks 1 of its three "
             "fields."},
            {"a failing run", overlongName, {"--output", inTemp("sheet.xls")},
             "quenvale: Text values are limited to 32767 characters. "
             "in Marrowby2021/08/31.Commission.GenerateReport0 at line 124"},
            {"a stored percentage that is no number", {}, {"--records", csv, "--output", inTemp("sheet.xls")},
             "quenvale: The settings store's \"Commission Rate\" \"7x\" is not a number", "7x"},
            {"an empty stored percentage", {}, {"--output", inTemp("sheet.xls")},
             "quenvale: The settings store's \"Commission Rate\" \"\" is not a number", ""},
            {"a stored total that is no number", "Ann||SEP1||5||SEP1||0.5||SEP2||Bob||SEP1||2.000,50||SEP1||||SEP2||",
             {"--output", inTemp("sheet.xls")},
             "quenvale: The settings store's \"Commission List\", record 2 (\"Bob\"): the total \"2.000,50\" "
             "is not a number"},
        };
        for (const auto& c : cases) {
            shell::writeProgramSettings({{shell::kKeyCommissionList, c.storedList}, {shell::kKeyCommissionRate, c.storedRate}});
            const CommandLineResult result = runCommandLine(c.options);
            QVERIFY2(result.status == app::kExitFailure, c.what);
            const QStringList lines = result.err.split('\n', Qt::SkipEmptyParts);
            QVERIFY2(!lines.isEmpty() && lines.first().startsWith(c.firstLine), qPrintable(c.what + QStringLiteral(": ") + result.err));
            QVERIFY2(result.err.endsWith('\n'), c.what);
            QVERIFY2(!QFile::exists(inTemp("sheet.xls")) && !QFile::exists(blocked), c.what);
            QVERIFY2(!QFile::exists(blocked + ".pdf") && !QFile::exists(blocked + ".png"), c.what);
            QVERIFY2(temporaryWorkbooks().isEmpty(), c.what);
            QVERIFY2(!QFile::exists(inTemp("temp.bmp")), c.what);
        }
        QCOMPARE(fileContents(inTemp("not-a-folder")), QByteArray("plain file"));
        QVERIFY(dialogs->boxes.empty());
    }

    // The main window's Export Records... read back by --records: the workbook it
    // writes holds the window's list (read back by the import's reader).
    void theExportedListReadsBackThroughRecords() {
        records::MainWindow window{shell::ProgramContext(*dialogs)};
        window.load();
        const std::pair<const char*, const char*> typed[] = {
            {"Smith, Anna", "5600"}, {"Say \"hi\"\nthere", "1234.56"}, {"  padded  ", ""}, {"Zo\u00eb \u738b", "-20"}};
        for (const auto& [name, total] : typed) {
            window.nameEdit()->setText(QString::fromUtf8(name));
            window.totalEdit()->setText(QString::fromUtf8(total));
            window.addRecord();
        }
        QCOMPARE(window.recordCount(), 4);
        dialogs->fileNames = {inTemp("exported.csv")};
        window.exportRecords();
        QVERIFY(dialogs->boxes.empty());

        const CommandLineResult result = runCommandLine({"--records", inTemp("exported.csv"), "--output", inTemp("sheet.xls")});
        QCOMPARE(result.status, app::kExitSuccess);
        const records::RecordsFromFile read = records::readRecordsFile(inTemp("sheet.xls"));
        if (const auto* error = std::get_if<records::RecordsFileError>(&read)) QFAIL(qPrintable(error->text()));
        const auto& list = std::get<generator::RecordList>(read).records();
        QCOMPARE(int(list.size()), window.recordCount());
        for (int i = 1; i <= window.recordCount(); ++i) {
            QCOMPARE(list[std::size_t(i - 1)].name, window.record(i).saleperson);
            QCOMPARE(list[std::size_t(i - 1)].total, window.record(i).totalSalesAmount);
        }
    }

private:
    QString inTemp(const QString& name) const { return QDir(env->tempFolder()).filePath(name); }
    QStringList temporaryWorkbooks() const {
        return QDir(env->tempFolder()).entryList({"rendle*.xls"}, QDir::Files);
    }

    std::unique_ptr<IsolatedEnvironment> env;
    std::unique_ptr<ScriptedDialogs> dialogs;
};

QTEST_MAIN(CommandLine)
#include "tst_command_line.moc"
