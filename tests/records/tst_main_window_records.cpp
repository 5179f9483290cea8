// The record list commands on the real main window.
#include "main_window_harness.h"
#include "records/record_messages.h"

using records::CommissionRecord;

class MainWindowRecords : public MainWindowTest {
    Q_OBJECT
private slots:
    void sampleDataLoadsExactlyThreeRows() {
        h->enter(QStringLiteral("Someone"), QStringLiteral("1"), QStringLiteral("2"));
        f->addRecord();
        f->percentageEdit()->setText(QStringLiteral("7"));
        QCOMPARE(MainWindowHarness::stored(shell::kKeyCommissionRate), QStringLiteral("7"));

        QTest::mouseClick(f->loadSampleDataButton(), Qt::LeftButton);

        QCOMPARE(h->rows(), (Rows{{"Aldo Fennick", "5600", "560"},
                                  {"John Smith", "8400", "840"},
                                  {"Zodo Duvevado", "11100", "1110"}}));
        QCOMPARE(f->percentageEdit()->text(), QStringLiteral("10"));
        QCOMPARE(MainWindowHarness::stored(shell::kKeyCommissionRate), QStringLiteral("10"));
        QVERIFY(f->nameEdit()->text().isEmpty());
        QVERIFY(f->totalEdit()->text().isEmpty());
        QVERIFY(f->commissionEdit()->text().isEmpty());
        QVERIFY(h->dialogs.boxes.empty());
    }

    void addAppendsThenClearsTheFields() {
        h->enter(QStringLiteral("Ann"), QString(), QString());
        QTest::mouseClick(f->addRecordButton(), Qt::LeftButton);
        QCOMPARE(h->rows(), (Rows{{"Ann", "", ""}}));
        QVERIFY(f->nameEdit()->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), f->nameEdit());

        h->enter(QStringLiteral("Bob"), QStringLiteral("200"), QStringLiteral("20"));
        f->addRecord();
        QCOMPARE(h->rows(), (Rows{{"Ann", "", ""}, {"Bob", "200", "20"}}));
    }

    void addWithAListedNameUpdatesInPlaceAndKeepsTheFields() {
        f->loadSampleData();
        h->enter(QStringLiteral("John Smith"), QStringLiteral("1000"), QStringLiteral("99"));
        f->addRecord();
        QCOMPARE(h->rows(), (Rows{{"Aldo Fennick", "5600", "560"},
                                  {"John Smith", "1000", "99"},
                                  {"Zodo Duvevado", "11100", "1110"}}));
        QCOMPARE(f->nameEdit()->text(), QStringLiteral("John Smith"));
        QCOMPARE(f->totalEdit()->text(), QStringLiteral("1000"));
        QCOMPARE(f->commissionEdit()->text(), QStringLiteral("99"));
    }

    void namesAreCaseSensitiveAndKeepTheirBlanks() {
        f->loadSampleData();
        h->enter(QStringLiteral("john smith"), QStringLiteral("1"), QStringLiteral("0.1"));
        f->addRecord();
        h->enter(QStringLiteral(" Aldo Fennick"), QStringLiteral("2"), QStringLiteral("0.2"));
        f->addRecord();
        QCOMPARE(f->recordCount(), 5);
        QCOMPARE(f->record(4), (CommissionRecord{"john smith", "1", "0.1"}));
        QCOMPARE(f->record(5), (CommissionRecord{" Aldo Fennick", "2", "0.2"}));
        QCOMPARE(f->record(1), (CommissionRecord{"Aldo Fennick", "5600", "560"}));
    }

    void aBlankNameIsRefusedWithItsMessage() {
        h->enter(QStringLiteral("   "), QStringLiteral("5"), QStringLiteral("0.5"));
        f->addRecord();
        QCOMPARE(f->recordCount(), 0);
        QCOMPARE(f->totalEdit()->text(), QStringLiteral("5"));
        QCOMPARE(h->dialogs.boxes.size(), size_t(1));
        const ScriptedDialogs::Box& box = h->dialogs.boxes.front();
        QCOMPARE(box.text, QStringLiteral("You forgot to input saleperson's name."));
        QCOMPARE(box.title, shell::appTitle());
        QCOMPARE(box.buttons, shell::BoxButtons::Ok);
        QCOMPARE(box.icon, shell::BoxIcon::None);
    }

    void textsHoldingASeparatorAreRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("commission");
        QTest::newRow("new name") << "A||SEP1||B" << "1" << "2";
        QTest::newRow("total of a listed name") << "John Smith" << "1||SEP2||" << "2";
        QTest::newRow("commission") << "Nobody" << "1" << "x||SEP2||y";
    }
    void textsHoldingASeparatorAreRefused() {
        QFETCH(QString, name);
        QFETCH(QString, total);
        QFETCH(QString, commission);
        f->loadSampleData();
        const Rows before = h->rows();
        h->enter(name, total, commission);
        f->addRecord();
        QCOMPARE(h->rows(), before);
        QCOMPARE(f->nameEdit()->text(), name);
        QCOMPARE(f->commissionEdit()->text(), commission);
        QCOMPARE(h->dialogs.boxes.size(), size_t(1));
        QCOMPARE(h->dialogs.boxes.front().text, records::kSeparatorRefusedMessage);
        QCOMPARE(h->dialogs.boxes.front().title, shell::appTitle());
    }

    void deleteRemovesTheSelectedRow() {
        f->loadSampleData();
        f->nameEdit()->setText(QStringLiteral("left alone?"));
        f->recordList()->selectRow(2);
        QTest::mouseClick(f->deleteSelectedRecordButton(), Qt::LeftButton);
        QCOMPARE(h->rows(), (Rows{{"Aldo Fennick", "5600", "560"}, {"Zodo Duvevado", "11100", "1110"}}));
        QVERIFY(f->nameEdit()->text().isEmpty());
        QVERIFY(h->dialogs.boxes.empty());
    }

    void deleteWithoutSelectionReportsAt102ThenClears() {
        f->loadSampleData();
        f->recordList()->clearSelection();
        h->enter(QStringLiteral("n"), QStringLiteral("1"), QStringLiteral("c"));
        f->deleteSelectedRecord();
        QCOMPARE(f->recordCount(), 3);
        QCOMPARE(h->errorHeads(), QStringList{errorHead(QStringLiteral("No record is selected."),
                                                        shell::errorLocationText(shell::ErrorLocation::DeleteSelectedRecord), 102)});
        QVERIFY(f->nameEdit()->text().isEmpty());
        QVERIFY(f->totalEdit()->text().isEmpty());
        QVERIFY(f->commissionEdit()->text().isEmpty());
    }

    void deleteOnAnEmptyListChangesNothing() {
        h->enter(QStringLiteral("n"), QStringLiteral("1"), QStringLiteral("c"));
        f->deleteSelectedRecord();
        QCOMPARE(f->nameEdit()->text(), QStringLiteral("n"));
        QCOMPARE(f->commissionEdit()->text(), QStringLiteral("c"));
        QVERIFY(h->dialogs.boxes.empty());
    }

    void clearResetEmptiesEverythingButKeepsRowsWhileBusy() {
        f->loadSampleData();
        h->enter(QStringLiteral("n"), QStringLiteral("1"), QStringLiteral("c"));
        f->setPointerShape(records::PointerShape::Busy);
        f->clearAllData();
        QCOMPARE(f->recordCount(), 3);
        QVERIFY(f->percentageEdit()->text().isEmpty());
        QVERIFY(f->nameEdit()->text().isEmpty());
        QVERIFY(f->commissionEdit()->text().isEmpty());
        QCOMPARE(MainWindowHarness::stored(shell::kKeyCommissionRate), QString());

        f->setPointerShape(records::PointerShape::Default);
        QTest::mouseClick(f->clearAllDataButton(), Qt::LeftButton);
        QCOMPARE(f->recordCount(), 0);
        QVERIFY(h->dialogs.boxes.empty());
    }

    void clearTextFieldsLeavesThePercentage() {
        h->enter(QStringLiteral("n"), QStringLiteral("1"), QStringLiteral("c"));
        f->commissionEdit()->setFocus();
        QTest::mouseClick(f->clearTextFieldsButton(), Qt::LeftButton);
        QVERIFY(f->nameEdit()->text().isEmpty());
        QVERIFY(f->totalEdit()->text().isEmpty());
        QVERIFY(f->commissionEdit()->text().isEmpty());
        QCOMPARE(f->percentageEdit()->text(), QStringLiteral("10"));
        QCOMPARE(QApplication::focusWidget(), f->nameEdit());
    }

    void rowClickShowsTheRowsOwnCommission() {
        h->enter(QStringLiteral("Odd"), QStringLiteral("1000"), QStringLiteral("12.5"));  // 10 % would be 100
        f->addRecord();
        f->loadSampleData();  // replaces the list
        h->enter(QStringLiteral("Odd"), QStringLiteral("1000"), QStringLiteral("12.5"));
        f->addRecord();
        QCOMPARE(f->recordCount(), 4);

        QTreeWidget* list = f->recordList();
        const QRect rowRect = list->visualItemRect(list->topLevelItem(3));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowRect.center());
        QCOMPARE(f->recordList()->selectedPosition(), 4);
        QCOMPARE(f->nameEdit()->text(), QStringLiteral("Odd"));
        QCOMPARE(f->totalEdit()->text(), QStringLiteral("1000"));
        QCOMPARE(f->commissionEdit()->text(), QStringLiteral("12.5"));
        QCOMPARE(f->record(4), (CommissionRecord{"Odd", "1000", "12.5"}));

        // A click beside the rows keeps the selection and shows the selected row again.
        f->nameEdit()->clear();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 3));
        QCOMPARE(f->nameEdit()->text(), QStringLiteral("Odd"));
    }

    void rowClickWithoutSelectionDoesNothing() {
        f->loadSampleData();
        f->recordList()->clearSelection();
        h->enter(QStringLiteral("typed"), QString(), QString());
        f->selectRecord();
        QCOMPARE(f->nameEdit()->text(), QStringLiteral("typed"));
    }

    void theGeneratorReadsTheWindow() {
        f->loadSampleData();
        f->percentageEdit()->setText(QStringLiteral("7.5"));
        QCOMPARE(f->recordCount(), 3);
        QCOMPARE(f->recordName(3), QStringLiteral("Zodo Duvevado"));
        QCOMPARE(f->recordTotal(2), QStringLiteral("8400"));
        QCOMPARE(f->percentageText(), QStringLiteral("7.5"));
    }
};

QTEST_MAIN(MainWindowRecords)
#include "tst_main_window_records.moc"
#include "moc_main_window_harness.cpp"
