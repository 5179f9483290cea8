// Hostile texts typed into the main window: enormous, formula-like, quoted,
// multi-line, control characters, right-to-left and emoji names; totals and
// percentages at and past the edges of a double; a list of 32,767 records. Each
// is taken by the entry rules or refused with a message, and the list comes back
// unchanged after closing the window and starting again.
#include "records/main_window_harness.h"
#include "records/record_messages.h"
#include "records/record_rules.h"
#include "records/records_file.h"
#include "support/test_files.h"
#include "shell/locale_number.h"

#include <QDir>
#include <QElapsedTimer>
#include <QUndoStack>

using records::CommissionRecord;

class BadInput : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindowHarness> h;

    // Adds a record as the user would: the fields set, then Add Record.
    void add(const QString& name, const QString& total) {
        MainWindowHarness::set(h->window->nameEdit(), name);
        MainWindowHarness::set(h->window->totalEdit(), total);
        h->window->addRecord();
    }

    // Closes the window (which stores the list) and starts a new one.
    void restart() {
        h->closeWindow();
        h->start();
    }

    bool shown(const QString& message) const {
        for (const auto& box : h->dialogs.boxes)
            if (box.text == message) return true;
        return false;
    }

    static QString text(const char16_t* s) { return QString::fromUtf16(s); }

private slots:
    void init() { h = std::make_unique<MainWindowHarness>(); }
    void cleanup() {
        if (h->window) h->closeWindow();
        h.reset();
    }

    void hostileNamesComeBackAfterARestart_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("100,000 characters") << QString(100000, QLatin1Char('n'));
        QTest::newRow("formula") << QStringLiteral("=SUM(A1:A3)*2");
        QTest::newRow("equals only") << QStringLiteral("=");
        QTest::newRow("error literal") << QStringLiteral("#DIV/0!");
        QTest::newRow("quotes") << QStringLiteral("\"O'Neil\" \"\" ''");
        QTest::newRow("newlines") << QStringLiteral("first line\nsecond\r\nthird\r");
        QTest::newRow("control characters") << QStringLiteral("bell\x07 esc\x1b[31m tab\t del\x7f");
        QTest::newRow("NUL inside") << (QStringLiteral("before") + QChar(0) + QStringLiteral("after"));
        QTest::newRow("backslashes and ini syntax") << QStringLiteral("a\\b\\\\ [Quenvale] key=value ; # %20");
        QTest::newRow("right to left") << text(u"\u05e9\u05dc\u05d5\u05dd \u202e\u0645\u0631\u062d\u0628\u0627\u202c 12");
        QTest::newRow("emoji") << text(u"\U0001F600 \U0001F468\u200D\U0001F469\u200D\U0001F467 \U0001F1E9\U0001F1EA");
        QTest::newRow("separator halves") << QStringLiteral("||SEP |SEP1| SEP2|| ||");
        // Characters XML cannot carry: refused, so that every reader reads the files written.
        QTest::newRow("U+FFFE") << QStringLiteral("Ann") + QChar(0xFFFE);
        QTest::newRow("U+FFFF") << QChar(0xFFFF) + QStringLiteral("Ann");
        QTest::newRow("half a surrogate pair") << QStringLiteral("Ann") + QChar(0xD83D);
    }
    void hostileNamesComeBackAfterARestart() {
        QFETCH(QString, name);
        h->start();
        h->window->loadSampleData();
        add(name, QStringLiteral("5600"));
        const bool refused = h->window->recordCount() == 3;
        if (refused) {
            // A refusal says so, and why.
            QVERIFY2(!h->dialogs.boxes.empty(), "the record was dropped without a message");
            if (const auto reason = records::nameRefusal(name)) QVERIFY(shown(records::nameRefusedMessage(*reason)));
            return;
        }
        QVERIFY(!records::nameRefusal(name));
        QCOMPARE(h->window->recordCount(), 4);
        QCOMPARE(h->window->record(4).saleperson.size(), name.size());
        QCOMPARE(h->window->record(4), (CommissionRecord{name, "5600", "560"}));
        const Rows before = h->rows();
        restart();
        QCOMPARE(h->rows(), before);
        QVERIFY(h->dialogs.errorTexts().isEmpty());
    }

    void oddTotalsFollowTheNumberRules_data() {
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("percentage");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<QString>("commission");  // expected, when numeric
        QTest::newRow("1e308") << "1e308" << "10" << true << "1E+307";
        QTest::newRow("1e308 overflowing") << "1e308" << "1000" << true << "unchanged";
        QTest::newRow("-0") << "-0" << "10" << true << "0";
        QTest::newRow("1,2,3") << "1,2,3" << "10" << false << "";
        QTest::newRow("0x10") << "0x10" << "10" << false << "";
        QTest::newRow("infinity sign") << text(u"\u221e") << "10" << false << "";
        QTest::newRow("NaN") << "NaN" << "10" << false << "";
        QTest::newRow("1e999") << "1e999" << "10" << false << "";
        QTest::newRow("percentage 1e-320") << "5600" << "1e-320" << true << "subnormal";
        QTest::newRow("percentage 0") << "5600" << "0" << true << "0";
    }
    void oddTotalsFollowTheNumberRules() {
        QFETCH(QString, total);
        QFETCH(QString, percentage);
        QFETCH(bool, numeric);
        QFETCH(QString, commission);
        records::MainWindow& f = h->start();
        MainWindowHarness::set(f.percentageEdit(), percentage);
        MainWindowHarness::set(f.commissionEdit(), QStringLiteral("before"));
        MainWindowHarness::set(f.nameEdit(), QStringLiteral("Edge"));
        MainWindowHarness::set(f.totalEdit(), total);

        QCOMPARE(shell::isNumeric(total), numeric);
        if (!numeric || commission == QLatin1String("unchanged")) {
            QCOMPARE(f.commissionEdit()->text(), QStringLiteral("before"));
            if (!numeric) QTRY_COMPARE(QApplication::focusWidget(), f.totalEdit());
        } else if (commission == QLatin1String("subnormal")) {
            const QString shownText = f.commissionEdit()->text();
            QVERIFY2(shell::isNumeric(shownText), qPrintable(shownText));
            QVERIFY(shell::toDouble(shownText) > 0);
        } else {
            QCOMPARE(f.commissionEdit()->text(), commission);
        }
        QVERIFY(h->dialogs.boxes.empty());

        f.addRecord();
        QCOMPARE(f.recordCount(), 1);
        QCOMPARE(f.record(1).totalSalesAmount, total);
        const Rows before = h->rows();
        restart();
        QCOMPARE(h->rows(), before);
        QCOMPARE(h->window->percentageEdit()->text(), percentage);
    }

    void separatorsInsideTextsDoNotDamageTheList_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("commission");
        QTest::newRow("name ends like a field separator") << "Ann||SEP1" << "5" << "0.5";
        QTest::newRow("name ends like the terminator") << "Ann||SEP2" << "5" << "0.5";
        QTest::newRow("total ends like a separator") << "Bob" << "5||SEP1" << "x";
        QTest::newRow("commission ends like the terminator") << "Cy" << "5" << "0.5||SEP2";
        QTest::newRow("commission ends like a field separator") << "Di" << "" << "||SEP1";
        QTest::newRow("whole separator") << "Ed||SEP1||" << "5" << "0.5";
    }
    void separatorsInsideTextsDoNotDamageTheList() {
        QFETCH(QString, name);
        QFETCH(QString, total);
        QFETCH(QString, commission);
        records::MainWindow& f = h->start();
        f.loadSampleData();
        MainWindowHarness::set(f.nameEdit(), name);
        MainWindowHarness::set(f.totalEdit(), total);
        MainWindowHarness::set(f.commissionEdit(), commission);
        f.addRecord();
        const Rows before = h->rows();
        if (before.size() == 3) QVERIFY2(!h->dialogs.boxes.empty(), "the record was dropped without a message");
        restart();
        QCOMPARE(h->rows(), before);
        QVERIFY2(h->dialogs.errorTexts().isEmpty(), qPrintable(h->errorHeads().join(" | ")));
    }

    void aFullListOf32767RecordsComesBackWhole() {
        QString value;
        value.reserve(32767 * 40);
        for (int i = 1; i <= 32767; ++i)
            value += QStringLiteral("Seller %1||SEP1||%2||SEP1||%3||SEP2||").arg(i).arg(i * 10).arg(i);
        MainWindowHarness::store(shell::kKeyCommissionList, value);

        QElapsedTimer timer;
        timer.start();
        records::MainWindow& f = h->start();
        qInfo("32,767 records loaded in %lld ms", timer.elapsed());
        QCOMPARE(f.recordCount(), 32767);
        QVERIFY(h->dialogs.boxes.empty());
        QCOMPARE(f.record(32767), (CommissionRecord{"Seller 32767", "327670", "32767"}));

        // The list is full: a new name is refused with a message, a listed name is
        // still updated in place.
        add(QStringLiteral("One too many"), QStringLiteral("1"));
        QCOMPARE(f.recordCount(), 32767);
        QVERIFY(shown(records::kListFullMessage));
        add(QStringLiteral("Seller 5"), QStringLiteral("77"));
        QCOMPARE(f.recordCount(), 32767);
        QCOMPARE(f.record(5), (CommissionRecord{"Seller 5", "77", "7.7"}));
        add(QStringLiteral("Seller 5"), QStringLiteral("50"));  // back to what was stored

        h->closeWindow();
        QCOMPARE(MainWindowHarness::stored(shell::kKeyCommissionList), value);
    }

    // Files that cannot be imported: one box naming the file and the reason, or a
    // preview whose OK does nothing; the list and its undo history stay as they were.
    void badFilesLeaveTheListAsItWas_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");  // in the box; empty: the preview refuses
        QByteArray tooMany = "Name,Total\n";
        for (int i = 1; i <= 32765; ++i) tooMany += "New " + QByteArray::number(i) + ",1\n";
        QTest::newRow("not recognised") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "holds a NUL character";
        QTest::newRow("not UTF-8") << QByteArray("Name,Total\nZo\xEB,1\n") << "line 2, field 1: the text is not valid UTF-8";
        QTest::newRow("broken UTF-16") << QByteArray("\xFF\xFEN\0\n\0\x00\xD8x\0", 10) << "line 2: the text is not valid UTF-16";
        QTest::newRow("an open quote") << QByteArray("Ann,1\n\"Bob,2\n") << "line 2, field 1: the quoted field opened";
        QTest::newRow("a damaged zip") << QByteArray("PK\x03\x04" + QByteArray(200, 'x')) << "no zip archive";
        QTest::newRow("a damaged .xls") << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + QByteArray(600, '\0'))
                                        << "the file is damaged";
        QTest::newRow("no column of numbers") << QByteArray("Name,Region\nAnn,North\n") << "no column of names";
        QTest::newRow("no rows") << QByteArray("\r\n\r\n") << "it holds no rows";
        QTest::newRow("more rows than the list holds") << tooMany << QString();
        QTest::newRow("every row refused") << QByteArray("Name,Total\nAnn,1x\n,2\n") << QString();
    }
    void badFilesLeaveTheListAsItWas() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        records::MainWindow& f = h->start();
        f.loadSampleData();
        const Rows before = h->rows();
        const int steps = f.undoHistory()->count();
        const QString path = QDir(h->env.tempFolder()).filePath("bad list.csv");
        QVERIFY(writeFileContents(path, bytes));
        f.importFile(path);

        QCOMPARE(h->rows(), before);
        QCOMPARE(f.undoHistory()->count(), steps);
        if (reason.isEmpty()) {
            QCOMPARE(h->dialogs.importPreviews.size(), std::size_t(1));
            QVERIFY(h->dialogs.boxes.empty());
            return;
        }
        QVERIFY(h->dialogs.importPreviews.empty());
        QCOMPARE(h->dialogs.boxes.size(), std::size_t(1));
        const QString box = h->dialogs.boxes.front().text;
        QVERIFY2(box.startsWith("The records could not be imported from \"bad list.csv\": ") && box.contains(reason) &&
                     box.endsWith("Nothing was changed."),
                 qPrintable(box));
    }

    void filesThatCannotBeReadAreRefusedWhole() {
        records::MainWindow& f = h->start();
        const QString big = QDir(h->env.tempFolder()).filePath("big.csv");
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(records::kMaxRecordsFileBytes + 1));
        file.close();
        for (const QString& path : {big, QDir(h->env.tempFolder()).filePath("missing.csv"), QString("/dev/zero")})
            f.importFile(path);
        QCOMPARE(h->dialogs.boxes.size(), std::size_t(3));
        QVERIFY(h->dialogs.boxes[0].text.contains("\"big.csv\": the file is larger than 64 MiB"));
        QVERIFY(h->dialogs.boxes[1].text.contains("\"missing.csv\": "));
        QVERIFY(h->dialogs.boxes[2].text.contains("\"zero\": the file is larger than 64 MiB"));
        QCOMPARE(f.recordCount(), 0);
    }

    void aStoredListLongerThanTheListCanHoldIsReported() {
        QString value;
        for (int i = 1; i <= 32768; ++i) value += QStringLiteral("S%1||SEP1||1||SEP1||0.1||SEP2||").arg(i);
        MainWindowHarness::store(shell::kKeyCommissionList, value);
        records::MainWindow& f = h->start();
        QCOMPARE(f.recordCount(), 32767);
        QCOMPARE(h->dialogs.errorTexts().size(), 1);
        QVERIFY(h->dialogs.errorTexts().first().startsWith(records::kSavedListTooLongFailure));
    }
};

QTEST_MAIN(BadInput)
#include "tst_bad_input.moc"
