// Undo and redo of the list commands on the real main window, through the keys.
#include "main_window_harness.h"

#include <QUndoStack>

using records::MainWindow;

using Step = std::function<void(MainWindow&)>;
Q_DECLARE_METATYPE(Step)

namespace {

// What undo and redo bring back.
struct ListSnapshot {
    Rows rows;
    int selected = 0;
    QString percentage;
    QString storedRate;
    friend bool operator==(const ListSnapshot&, const ListSnapshot&) = default;
};

void enter(MainWindow& f, const QString& name, const QString& total, const QString& commission) {
    f.nameEdit()->setText(name);
    f.totalEdit()->setText(total);
    f.commissionEdit()->setText(commission);
}

QStringList entryTexts(const MainWindow& f) {
    return {f.nameEdit()->text(), f.totalEdit()->text(), f.commissionEdit()->text()};
}

const QKeyCombination kUndo(Qt::ControlModifier, Qt::Key_Z);
const QKeyCombination kRedo(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
const QKeyCombination kRedoY(Qt::ControlModifier, Qt::Key_Y);

}  // namespace

namespace QTest {
template <>
inline char* toString(const ListSnapshot& s) {
    QStringList rows;
    for (const records::CommissionRecord& r : s.rows)
        rows << QStringLiteral("%1|%2|%3").arg(r.saleperson, r.totalSalesAmount, r.commissionAmount);
    return qstrdup(QStringLiteral("rows {%1} selected %2 percentage \"%3\" stored \"%4\"")
                       .arg(rows.join(QStringLiteral(", ")))
                       .arg(s.selected)
                       .arg(s.percentage, s.storedRate)
                       .toUtf8());
}
}  // namespace QTest

class MainWindowUndo : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindowHarness> h;
    MainWindow* f = nullptr;

    ListSnapshot snapshot() const {
        return {h->rows(), f->recordList()->selectedPosition(), f->percentageEdit()->text(),
                MainWindowHarness::stored(shell::kKeyCommissionRate)};
    }
    int steps() const { return f->undoHistory()->count(); }

    // Keys go where the user's would: to the control that has the focus.
    void press(QKeyCombination keys) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target ? target : f, keys.key(), keys.keyboardModifiers());
    }

    void loadSampleAndSelect(int position) {
        f->loadSampleData();
        f->recordList()->selectRow(position);
    }

private slots:
    void init() {
        h = std::make_unique<MainWindowHarness>();
        f = &h->start();
    }
    void cleanup() {
        f = nullptr;
        h.reset();
    }

    void eachCommandIsUndoneAndRedone_data() {
        QTest::addColumn<Step>("prepare");
        QTest::addColumn<Step>("command");
        const Step clickAdd = [](MainWindow& w) { QTest::mouseClick(w.addRecordButton(), Qt::LeftButton); };
        QTest::newRow("Add Record, a new name") << Step([this](MainWindow& w) {
            loadSampleAndSelect(2);
            enter(w, QStringLiteral("Dana"), QStringLiteral("300"), QStringLiteral("30"));
        }) << clickAdd;
        QTest::newRow("Add Record, a listed name") << Step([this](MainWindow& w) {
            loadSampleAndSelect(3);
            enter(w, QStringLiteral("John Smith"), QStringLiteral("1000"), QStringLiteral("99"));
        }) << clickAdd;
        QTest::newRow("Delete Selected Record") << Step([this](MainWindow&) { loadSampleAndSelect(2); })
                                                << Step([](MainWindow& w) {
                                                       QTest::mouseClick(w.deleteSelectedRecordButton(),
                                                                         Qt::LeftButton);
                                                   });
        QTest::newRow("Clear/Reset Data") << Step([this](MainWindow& w) {
            loadSampleAndSelect(1);
            w.percentageEdit()->setText(QStringLiteral("7.5"));
            enter(w, QStringLiteral("n"), QStringLiteral("1"), QStringLiteral("0.075"));
        }) << Step([](MainWindow& w) { QTest::mouseClick(w.clearAllDataButton(), Qt::LeftButton); });
        QTest::newRow("Load Sample/Example Data") << Step([](MainWindow& w) {
            for (const char* name : {"Ann", "Bob"}) {
                enter(w, QString::fromLatin1(name), QStringLiteral("100"), QStringLiteral("12"));
                w.addRecord();
            }
            w.recordList()->selectRow(1);
            w.percentageEdit()->setText(QStringLiteral("12"));
        }) << Step([](MainWindow& w) { QTest::mouseClick(w.loadSampleDataButton(), Qt::LeftButton); });
    }
    void eachCommandIsUndoneAndRedone() {
        QFETCH(Step, prepare);
        QFETCH(Step, command);
        prepare(*f);
        const ListSnapshot before = snapshot();
        const int stepsBefore = steps();

        command(*f);
        const ListSnapshot after = snapshot();
        const QStringList fieldsAfter = entryTexts(*f);
        QVERIFY(after != before);
        QCOMPARE(steps(), stepsBefore + 1);

        press(kUndo);
        QCOMPARE(snapshot(), before);
        QCOMPARE(entryTexts(*f), fieldsAfter);
        press(kRedo);
        QCOMPARE(snapshot(), after);
        press(kUndo);
        QCOMPARE(snapshot(), before);
        press(kRedoY);
        QCOMPARE(snapshot(), after);
        QCOMPARE(entryTexts(*f), fieldsAfter);
        QVERIFY(h->dialogs.boxes.empty());
    }

    void aChainIsUndoneAndRedoneStepByStep() {
        f->percentageEdit()->setText(QStringLiteral("12"));
        struct Change {
            ListSnapshot before, after;
        };
        QList<Change> changes;
        const auto run = [&](const std::function<void()>& command) {
            const ListSnapshot before = snapshot();
            command();
            changes.append({before, snapshot()});
        };
        const auto add = [&](const char* name, const char* total) {
            enter(*f, QString::fromLatin1(name), QString::fromLatin1(total), QString());
            QTest::mouseClick(f->addRecordButton(), Qt::LeftButton);
        };
        run([&] { add("Ann", "100"); });
        run([&] { add("Bob", "200"); });
        run([&] { add("Cid", "300"); });
        f->recordList()->selectRow(2);
        run([&] { add("Ann", "150"); });  // updates Ann
        run([&] { QTest::mouseClick(f->deleteSelectedRecordButton(), Qt::LeftButton); });
        run([&] { QTest::mouseClick(f->loadSampleDataButton(), Qt::LeftButton); });
        run([&] { QTest::mouseClick(f->clearAllDataButton(), Qt::LeftButton); });
        QCOMPARE(steps(), changes.size());

        for (qsizetype i = changes.size() - 1; i >= 0; --i) {
            press(kUndo);
            QCOMPARE(snapshot(), changes[i].before);
        }
        press(kUndo);  // nothing left to undo
        QCOMPARE(snapshot(), changes.first().before);
        for (const Change& change : changes) {
            press(kRedoY);
            QCOMPARE(snapshot(), change.after);
        }
    }

    // In a text field the keys undo the field's own typing first, then the list's
    // commands; the same for redo.
    void aFieldUndoesItsOwnTypingFirst() {
        f->loadSampleData();
        const ListSnapshot sample = snapshot();
        QCOMPARE(QApplication::focusWidget(), f->nameEdit());
        QTest::keyClicks(f->nameEdit(), QStringLiteral("Eve"));

        press(kUndo);
        QCOMPARE(f->nameEdit()->text(), QString());
        QCOMPARE(snapshot(), sample);
        press(kUndo);
        QCOMPARE(f->recordCount(), 0);
        press(kRedoY);
        QCOMPARE(f->nameEdit()->text(), QStringLiteral("Eve"));
        QCOMPARE(f->recordCount(), 0);
        press(kRedoY);
        QCOMPARE(snapshot(), sample);

        // The percentage's own undo stores the text it brings back.
        f->percentageEdit()->setFocus();
        QTest::keyClick(f->percentageEdit(), Qt::Key_End);
        QTest::keyClicks(f->percentageEdit(), QStringLiteral(".5"));
        QCOMPARE(MainWindowHarness::stored(shell::kKeyCommissionRate), QStringLiteral("10.5"));
        press(kUndo);
        QCOMPARE(f->percentageEdit()->text(), QStringLiteral("10"));
        QCOMPARE(MainWindowHarness::stored(shell::kKeyCommissionRate), QStringLiteral("10"));
        QCOMPARE(h->rows(), sample.rows);
    }

    void nothingIsUndoneDuringARunAndEverythingAfterBack() {
        loadSampleAndSelect(1);
        QTest::mouseClick(f->deleteSelectedRecordButton(), Qt::LeftButton);
        const ListSnapshot afterDelete = snapshot();
        QTest::keyClicks(f->nameEdit(), QStringLiteral("Eve"));  // the field has typing to undo

        ListSnapshot duringRun;
        QString nameDuringRun;
        h->duringGeneration = [&] {
            QCOMPARE(f->pointerShape(), records::PointerShape::Busy);
            press(kUndo);
            f->recordList()->setFocus();
            press(kUndo);
            press(kRedo);
            duringRun = snapshot();
            nameDuringRun = f->nameEdit()->text();
            f->hideMainWindow();
        };
        QTest::mouseClick(f->startCreatingTemplateButton(), Qt::LeftButton);
        QCOMPARE(h->generations, 1);
        QCOMPARE(duringRun, afterDelete);
        QCOMPARE(nameDuringRun, QStringLiteral("Eve"));

        // Back: the preview shows the main window again.
        f->show();
        QApplication::setActiveWindow(f);
        QVERIFY(QTest::qWaitForWindowActive(f));
        f->recordList()->setFocus();
        press(kUndo);
        QCOMPARE(h->rows(), (Rows{{"Aldo Fennick", "5600", "560"},
                                  {"John Smith", "8400", "840"},
                                  {"Zodo Duvevado", "11100", "1110"}}));
        QCOMPARE(f->recordList()->selectedPosition(), 1);
    }

    void theListStoredAtCloseIsTheUndoneOne() {
        f->loadSampleData();
        QTest::mouseClick(f->clearAllDataButton(), Qt::LeftButton);
        QCOMPARE(MainWindowHarness::stored(shell::kKeyCommissionRate), QString());
        press(kUndo);
        QCOMPARE(MainWindowHarness::stored(shell::kKeyCommissionRate), QStringLiteral("10"));
        h->closeWindow();
        QCOMPARE(MainWindowHarness::stored(shell::kKeyCommissionList),
                 QStringLiteral("Aldo Fennick||SEP1||5600||SEP1||560||SEP2||John Smith||SEP1||8400||SEP1||840||SEP2||"
                                "Zodo Duvevado||SEP1||11100||SEP1||1110||SEP2||"));
        QCOMPARE(h->start().recordCount(), 3);
    }

    void commandsThatChangeNothingLeaveNoStep_data() {
        QTest::addColumn<Step>("prepare");
        QTest::addColumn<Step>("command");
        const Step none = [](MainWindow&) {};
        const Step sample = [](MainWindow& w) { w.loadSampleData(); };
        const Step add = [](MainWindow& w) { w.addRecord(); };
        QTest::newRow("Delete Selected Record, no selection")
            << Step([](MainWindow& w) {
                   w.loadSampleData();
                   w.recordList()->clearSelection();
               })
            << Step([](MainWindow& w) { w.deleteSelectedRecord(); });
        QTest::newRow("Delete Selected Record, empty list")
            << none << Step([](MainWindow& w) { w.deleteSelectedRecord(); });
        QTest::newRow("Add Record, blank name") << Step([](MainWindow& w) {
            enter(w, QStringLiteral("  "), QStringLiteral("1"), QStringLiteral("0.1"));
        }) << add;
        QTest::newRow("Add Record, separator in a text") << Step([](MainWindow& w) {
            enter(w, QStringLiteral("A||SEP1||"), QStringLiteral("1"), QStringLiteral("0.1"));
        }) << add;
        QTest::newRow("Add Record, a listed name with its own amounts") << Step([](MainWindow& w) {
            w.loadSampleData();
            enter(w, QStringLiteral("John Smith"), QStringLiteral("8400"), QStringLiteral("840"));
        }) << add;
        QTest::newRow("Load Sample/Example Data over itself") << sample << sample;
        QTest::newRow("Clear/Reset Data, all empty")
            << Step([](MainWindow& w) { w.percentageEdit()->setText(QString()); })
            << Step([](MainWindow& w) { w.clearAllData(); });
        QTest::newRow("Clear Text Fields") << sample << Step([](MainWindow& w) {
            enter(w, QStringLiteral("n"), QStringLiteral("1"), QStringLiteral("0.1"));
            w.clearTextFields();
        });
    }
    void commandsThatChangeNothingLeaveNoStep() {
        QFETCH(Step, prepare);
        QFETCH(Step, command);
        prepare(*f);
        const ListSnapshot before = snapshot();
        const int stepsBefore = steps();
        command(*f);
        QCOMPARE(snapshot(), before);
        QCOMPARE(steps(), stepsBefore);
    }
};

QTEST_MAIN(MainWindowUndo)
#include "tst_main_window_undo.moc"
