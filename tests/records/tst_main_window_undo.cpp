// Undo and redo of the list commands on the real main window, through the keys.
#include "main_window_harness.h"

#include <QUndoStack>

using Step = std::function<void(MainWindowHarness&)>;
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

// The list before and after a command, and how many undo steps the command added.
struct CommandRun {
    ListSnapshot before;
    ListSnapshot after;
    int newSteps = 0;
};

const QKeyCombination kUndo(Qt::ControlModifier, Qt::Key_Z);
const QKeyCombination kRedo(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
const QKeyCombination kRedoY(Qt::ControlModifier, Qt::Key_Y);

const Rows kSampleRows{{"Aldo Fennick", "5600", "560"}, {"John Smith", "8400", "840"}, {"Zodo Duvevado", "11100", "1110"}};

Step loadSampleAndSelect(int position) {
    return [position](MainWindowHarness& h) {
        h.window->loadSampleData();
        h.window->recordList()->selectRow(position);
    };
}

Step click(QPushButton* (records::MainWindow::*button)() const) {
    return [button](MainWindowHarness& h) { QTest::mouseClick((h.window.get()->*button)(), Qt::LeftButton); };
}

Step call(void (records::MainWindow::*command)()) {
    return [command](MainWindowHarness& h) { (h.window.get()->*command)(); };
}

Step then(Step first, Step second) {
    return [first, second](MainWindowHarness& h) {
        first(h);
        second(h);
    };
}

Step enter(const char* name, const char* total, const char* commission) {
    return [=](MainWindowHarness& h) {
        h.enter(QString::fromLatin1(name), QString::fromLatin1(total), QString::fromLatin1(commission));
    };
}

Step setPercentage(const char* text) {
    return [text](MainWindowHarness& h) { h.window->percentageEdit()->setText(QString::fromLatin1(text)); };
}

void addStepColumns() {
    QTest::addColumn<Step>("prepare");
    QTest::addColumn<Step>("command");
}

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

class MainWindowUndo : public MainWindowTest {
    Q_OBJECT

    ListSnapshot snapshot() const {
        return {h->rows(), f->recordList()->selectedPosition(), f->percentageEdit()->text(),
                MainWindowHarness::stored(shell::kKeyCommissionRate)};
    }
    int steps() const { return static_cast<int>(f->undoHistory()->count()); }

    // Runs the test row's preparation, then its command.
    CommandRun prepareAndRunCommand() {
        QFETCH(Step, prepare);
        QFETCH(Step, command);
        prepare(*h);
        CommandRun run{snapshot(), {}, steps()};
        command(*h);
        run.after = snapshot();
        run.newSteps = steps() - run.newSteps;
        return run;
    }

    // Keys go where the user's would: to the control that has the focus.
    void press(QKeyCombination keys) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target ? target : f, keys.key(), keys.keyboardModifiers());
    }

private slots:
    void eachCommandIsUndoneAndRedone_data() {
        addStepColumns();
        const Step add = click(&records::MainWindow::addRecordButton);
        QTest::newRow("Add Record, a new name") << then(loadSampleAndSelect(2), enter("Dana", "300", "30")) << add;
        QTest::newRow("Add Record, a listed name")
            << then(loadSampleAndSelect(3), enter("John Smith", "1000", "99")) << add;
        QTest::newRow("Delete Selected Record")
            << loadSampleAndSelect(2) << click(&records::MainWindow::deleteSelectedRecordButton);
        QTest::newRow("Clear/Reset Data")
            << then(then(loadSampleAndSelect(1), setPercentage("7.5")), enter("n", "1", "0.075"))
            << click(&records::MainWindow::clearAllDataButton);
        QTest::newRow("Load Sample/Example Data")
            << then(then(enter("Ann", "100", "12"), call(&records::MainWindow::addRecord)), setPercentage("12"))
            << click(&records::MainWindow::loadSampleDataButton);
    }
    void eachCommandIsUndoneAndRedone() {
        const CommandRun run = prepareAndRunCommand();
        const QStringList fieldsAfter{f->nameEdit()->text(), f->totalEdit()->text(), f->commissionEdit()->text()};
        QVERIFY(run.after != run.before);
        QCOMPARE(run.newSteps, 1);

        press(kUndo);
        QCOMPARE(snapshot(), run.before);
        press(kRedo);
        QCOMPARE(snapshot(), run.after);
        press(kUndo);
        press(kRedoY);
        QCOMPARE(snapshot(), run.after);
        // The entry fields stay as the command left them.
        QCOMPARE((QStringList{f->nameEdit()->text(), f->totalEdit()->text(), f->commissionEdit()->text()}),
                 fieldsAfter);
        QVERIFY(h->dialogs.boxes.empty());
    }

    void aChainIsUndoneAndRedoneStepByStep() {
        f->percentageEdit()->setText(QStringLiteral("12"));
        QList<CommandRun> runs;
        const auto run = [&](const Step& command) {
            const ListSnapshot before = snapshot();
            command(*h);
            runs.append({before, snapshot(), 1});
        };
        const Step add = click(&records::MainWindow::addRecordButton);
        run(then(enter("Ann", "100", ""), add));
        run(then(enter("Bob", "200", ""), add));
        run(then(enter("Cid", "300", ""), add));
        f->recordList()->selectRow(2);
        run(then(enter("Ann", "150", ""), add));  // updates Ann
        run(click(&records::MainWindow::deleteSelectedRecordButton));
        run(click(&records::MainWindow::loadSampleDataButton));
        run(click(&records::MainWindow::clearAllDataButton));
        QCOMPARE(steps(), runs.size());

        for (qsizetype i = runs.size() - 1; i >= 0; --i) {
            press(kUndo);
            QCOMPARE(snapshot(), runs[i].before);
        }
        press(kUndo);  // nothing left to undo
        QCOMPARE(snapshot(), runs.first().before);
        for (const CommandRun& step : runs) {
            press(kRedoY);
            QCOMPARE(snapshot(), step.after);
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
        loadSampleAndSelect(1)(*h);
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
        QCOMPARE(h->rows(), kSampleRows);
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
        h->start();
        QCOMPARE(h->rows(), kSampleRows);
    }

    void commandsThatChangeNothingLeaveNoStep_data() {
        addStepColumns();
        const Step nothing = [](MainWindowHarness&) {};
        const Step sample = call(&records::MainWindow::loadSampleData);
        const Step add = call(&records::MainWindow::addRecord);
        const Step remove = call(&records::MainWindow::deleteSelectedRecord);
        QTest::newRow("Delete Selected Record, no selection")
            << then(sample, [](MainWindowHarness& h) { h.window->recordList()->clearSelection(); }) << remove;
        QTest::newRow("Delete Selected Record, empty list") << nothing << remove;
        QTest::newRow("Add Record, blank name") << enter("  ", "1", "0.1") << add;
        QTest::newRow("Add Record, separator in a text") << enter("A||SEP1||", "1", "0.1") << add;
        QTest::newRow("Add Record, a listed name with its own amounts")
            << then(sample, enter("John Smith", "8400", "840")) << add;
        QTest::newRow("Load Sample/Example Data over itself") << sample << sample;
        QTest::newRow("Clear/Reset Data, all empty")
            << setPercentage("") << call(&records::MainWindow::clearAllData);
        QTest::newRow("Clear Text Fields")
            << then(sample, enter("n", "1", "0.1")) << call(&records::MainWindow::clearTextFields);
    }
    void commandsThatChangeNothingLeaveNoStep() {
        const CommandRun run = prepareAndRunCommand();
        QCOMPARE(run.after, run.before);
        QCOMPARE(run.newSteps, 0);
    }
};

QTEST_MAIN(MainWindowUndo)
#include "tst_main_window_undo.moc"
#include "moc_main_window_harness.cpp"
