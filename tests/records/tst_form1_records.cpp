// The record list commands on the real main window.
#include "form1_harness.h"
#include "records/record_messages.h"

using records::CommissionRecord;

class Form1Records : public QObject {
    Q_OBJECT
    std::unique_ptr<Form1Harness> h;
    records::Form1* f = nullptr;

    void enter(const QString& name, const QString& total, const QString& commission) {
        f->txtSaleperson()->setText(name);
        f->txtTotalSalesAmount()->setText(total);
        f->txtCommission()->setText(commission);
    }

private slots:
    void init() {
        h = std::make_unique<Form1Harness>();
        f = &h->start();
    }
    void cleanup() {
        f = nullptr;
        h.reset();
    }

    void sampleDataLoadsExactlyThreeRows() {
        enter(QStringLiteral("Someone"), QStringLiteral("1"), QStringLiteral("2"));
        f->PushButton4_Click();
        f->txtCommissionrate()->setText(QStringLiteral("7"));
        QCOMPARE(Form1Harness::stored(shell::kKeyCommissionRate), QStringLiteral("7"));

        QTest::mouseClick(f->PushButton6(), Qt::LeftButton);

        QCOMPARE(h->rows(), (Rows{{"Aldo Fennick", "5600", "560"},
                                  {"John Smith", "8400", "840"},
                                  {"Zodo Duvevado", "11100", "1110"}}));
        QCOMPARE(f->txtCommissionrate()->text(), QStringLiteral("10"));
        QCOMPARE(Form1Harness::stored(shell::kKeyCommissionRate), QStringLiteral("10"));
        QVERIFY(f->txtSaleperson()->text().isEmpty());
        QVERIFY(f->txtTotalSalesAmount()->text().isEmpty());
        QVERIFY(f->txtCommission()->text().isEmpty());
        QVERIFY(h->dialogs.boxes.empty());
    }

    void addAppendsThenClearsTheFields() {
        enter(QStringLiteral("Ann"), QString(), QString());
        QTest::mouseClick(f->PushButton4(), Qt::LeftButton);
        QCOMPARE(h->rows(), (Rows{{"Ann", "", ""}}));
        QVERIFY(f->txtSaleperson()->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), f->txtSaleperson());

        enter(QStringLiteral("Bob"), QStringLiteral("200"), QStringLiteral("20"));
        f->PushButton4_Click();
        QCOMPARE(h->rows(), (Rows{{"Ann", "", ""}, {"Bob", "200", "20"}}));
    }

    void addWithAListedNameUpdatesInPlaceAndKeepsTheFields() {
        f->PushButton6_Click();
        enter(QStringLiteral("John Smith"), QStringLiteral("1000"), QStringLiteral("99"));
        f->PushButton4_Click();
        QCOMPARE(h->rows(), (Rows{{"Aldo Fennick", "5600", "560"},
                                  {"John Smith", "1000", "99"},
                                  {"Zodo Duvevado", "11100", "1110"}}));
        QCOMPARE(f->txtSaleperson()->text(), QStringLiteral("John Smith"));
        QCOMPARE(f->txtTotalSalesAmount()->text(), QStringLiteral("1000"));
        QCOMPARE(f->txtCommission()->text(), QStringLiteral("99"));
    }

    void namesAreCaseSensitiveAndKeepTheirBlanks() {
        f->PushButton6_Click();
        enter(QStringLiteral("john smith"), QStringLiteral("1"), QStringLiteral("0.1"));
        f->PushButton4_Click();
        enter(QStringLiteral(" Aldo Fennick"), QStringLiteral("2"), QStringLiteral("0.2"));
        f->PushButton4_Click();
        QCOMPARE(f->RowCount(), 5);
        QCOMPARE(f->Row(4), (CommissionRecord{"john smith", "1", "0.1"}));
        QCOMPARE(f->Row(5), (CommissionRecord{" Aldo Fennick", "2", "0.2"}));
        QCOMPARE(f->Row(1), (CommissionRecord{"Aldo Fennick", "5600", "560"}));
    }

    void aBlankNameIsRefusedWithItsMessage() {
        enter(QStringLiteral("   "), QStringLiteral("5"), QStringLiteral("0.5"));
        f->PushButton4_Click();
        QCOMPARE(f->RowCount(), 0);
        QCOMPARE(f->txtTotalSalesAmount()->text(), QStringLiteral("5"));
        QCOMPARE(h->dialogs.boxes.size(), size_t(1));
        const ScriptedDialogs::Box& box = h->dialogs.boxes.front();
        QCOMPARE(box.text, QStringLiteral("You forgot to input saleperson's name."));
        QCOMPARE(box.title, shell::AppTitle());
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
        f->PushButton6_Click();
        const Rows before = h->rows();
        enter(name, total, commission);
        f->PushButton4_Click();
        QCOMPARE(h->rows(), before);
        QCOMPARE(f->txtSaleperson()->text(), name);
        QCOMPARE(f->txtCommission()->text(), commission);
        QCOMPARE(h->dialogs.boxes.size(), size_t(1));
        QCOMPARE(h->dialogs.boxes.front().text, records::kSeparatorRefusedMessage);
        QCOMPARE(h->dialogs.boxes.front().title, shell::AppTitle());
    }

    void deleteRemovesTheSelectedRow() {
        f->PushButton6_Click();
        f->txtSaleperson()->setText(QStringLiteral("left alone?"));
        f->ListView1()->SelectRow(2);
        QTest::mouseClick(f->PushButton3(), Qt::LeftButton);
        QCOMPARE(h->rows(), (Rows{{"Aldo Fennick", "5600", "560"}, {"Zodo Duvevado", "11100", "1110"}}));
        QVERIFY(f->txtSaleperson()->text().isEmpty());
        QVERIFY(h->dialogs.boxes.empty());
    }

    void deleteWithoutSelectionReportsAt102ThenClears() {
        f->PushButton6_Click();
        f->ListView1()->clearSelection();
        enter(QStringLiteral("n"), QStringLiteral("1"), QStringLiteral("c"));
        f->PushButton3_Click();
        QCOMPARE(f->RowCount(), 3);
        QCOMPARE(h->errorHeads(), QStringList{errorHead(QStringLiteral("No record is selected."),
                                                        shell::errorLocationText(shell::ErrorLocation::DeleteSelectedRecord), 102)});
        QVERIFY(f->txtSaleperson()->text().isEmpty());
        QVERIFY(f->txtTotalSalesAmount()->text().isEmpty());
        QVERIFY(f->txtCommission()->text().isEmpty());
    }

    void deleteOnAnEmptyListChangesNothing() {
        enter(QStringLiteral("n"), QStringLiteral("1"), QStringLiteral("c"));
        f->PushButton3_Click();
        QCOMPARE(f->txtSaleperson()->text(), QStringLiteral("n"));
        QCOMPARE(f->txtCommission()->text(), QStringLiteral("c"));
        QVERIFY(h->dialogs.boxes.empty());
    }

    void clearResetEmptiesEverythingButKeepsRowsWhileBusy() {
        f->PushButton6_Click();
        enter(QStringLiteral("n"), QStringLiteral("1"), QStringLiteral("c"));
        f->SetMousePointer(records::PointerShape::Busy);
        f->PushButton5_Click();
        QCOMPARE(f->RowCount(), 3);
        QVERIFY(f->txtCommissionrate()->text().isEmpty());
        QVERIFY(f->txtSaleperson()->text().isEmpty());
        QVERIFY(f->txtCommission()->text().isEmpty());
        QCOMPARE(Form1Harness::stored(shell::kKeyCommissionRate), QString());

        f->SetMousePointer(records::PointerShape::Default);
        QTest::mouseClick(f->PushButton5(), Qt::LeftButton);
        QCOMPARE(f->RowCount(), 0);
        QVERIFY(h->dialogs.boxes.empty());
    }

    void clearTextFieldsLeavesThePercentage() {
        enter(QStringLiteral("n"), QStringLiteral("1"), QStringLiteral("c"));
        f->txtCommission()->setFocus();
        QTest::mouseClick(f->PushButton2(), Qt::LeftButton);
        QVERIFY(f->txtSaleperson()->text().isEmpty());
        QVERIFY(f->txtTotalSalesAmount()->text().isEmpty());
        QVERIFY(f->txtCommission()->text().isEmpty());
        QCOMPARE(f->txtCommissionrate()->text(), QStringLiteral("10"));
        QCOMPARE(QApplication::focusWidget(), f->txtSaleperson());
    }

    void rowClickShowsTheRowsOwnCommission() {
        enter(QStringLiteral("Odd"), QStringLiteral("1000"), QStringLiteral("12.5"));  // 10 % would be 100
        f->PushButton4_Click();
        f->PushButton6_Click();  // replaces the list
        enter(QStringLiteral("Odd"), QStringLiteral("1000"), QStringLiteral("12.5"));
        f->PushButton4_Click();
        QCOMPARE(f->RowCount(), 4);

        QTreeWidget* list = f->ListView1();
        const QRect rowRect = list->visualItemRect(list->topLevelItem(3));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowRect.center());
        QCOMPARE(f->ListView1()->SelectedPosition(), 4);
        QCOMPARE(f->txtSaleperson()->text(), QStringLiteral("Odd"));
        QCOMPARE(f->txtTotalSalesAmount()->text(), QStringLiteral("1000"));
        QCOMPARE(f->txtCommission()->text(), QStringLiteral("12.5"));
        QCOMPARE(f->Row(4), (CommissionRecord{"Odd", "1000", "12.5"}));

        // A click beside the rows keeps the selection and shows the selected row again.
        f->txtSaleperson()->clear();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 3));
        QCOMPARE(f->txtSaleperson()->text(), QStringLiteral("Odd"));
    }

    void rowClickWithoutSelectionDoesNothing() {
        f->PushButton6_Click();
        f->ListView1()->clearSelection();
        enter(QStringLiteral("typed"), QString(), QString());
        f->ListView1_Click();
        QCOMPARE(f->txtSaleperson()->text(), QStringLiteral("typed"));
    }

    void theGeneratorReadsTheWindow() {
        f->PushButton6_Click();
        f->txtCommissionrate()->setText(QStringLiteral("7.5"));
        QCOMPARE(f->recordCount(), 3);
        QCOMPARE(f->recordName(3), QStringLiteral("Zodo Duvevado"));
        QCOMPARE(f->recordTotal(2), QStringLiteral("8400"));
        QCOMPARE(f->percentageText(), QStringLiteral("7.5"));
    }
};

QTEST_MAIN(Form1Records)
#include "tst_form1_records.moc"
