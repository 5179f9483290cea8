// The entry-field rules on the real main window: select all on focus, the total
// and percentage checks, the commission text and the stored percentage.
#include "form1_harness.h"

class Form1EntryFields : public QObject {
    Q_OBJECT
    std::unique_ptr<Form1Harness> h;
    records::Form1* f = nullptr;

    static bool wholeTextSelectedFromStart(const QLineEdit* field) {
        return field->selectionStart() == 0 && field->selectedText() == field->text() && field->cursorPosition() == 0;
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

    void typingATotalRecalculatesOnEveryDigit() {
        f->txtTotalSalesAmount()->setFocus();
        QStringList seen;
        for (const QChar digit : QStringLiteral("5600")) {
            QTest::keyClick(f->txtTotalSalesAmount(), digit.toLatin1());
            seen << f->txtCommission()->text();
        }
        QCOMPARE(seen, (QStringList{"0.5", "5.6", "56", "560"}));
    }

    void commissionTexts_data() {
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("commission");
        QTest::newRow("zero percent") << "0" << "5600" << "0";
        QTest::newRow("no rounding") << "7.5" << "1234.56" << "92.592";
        QTest::newRow("many decimals") << "12.5" << "999.99" << "124.99875";
        QTest::newRow("negative total") << "10" << "-50" << "-5";
    }
    void commissionTexts() {
        QFETCH(QString, rate);
        QFETCH(QString, total);
        QFETCH(QString, commission);
        f->txtCommissionrate()->setText(rate);
        f->txtTotalSalesAmount()->setText(total);
        QCOMPARE(f->txtCommission()->text(), commission);
    }

    void aTotalIsNotCheckedAgainstAPercentageThatIsNoNumber() {
        f->txtCommission()->setText(QStringLiteral("kept"));
        f->txtCommissionrate()->setText(QString());
        f->txtTotalSalesAmount()->setText(QStringLiteral("100"));
        QCOMPARE(f->txtCommission()->text(), QStringLiteral("kept"));
        f->txtCommissionrate()->setText(QStringLiteral("ten"));
        f->txtTotalSalesAmount()->setText(QStringLiteral("200"));
        QCOMPARE(f->txtCommission()->text(), QStringLiteral("kept"));
    }

    void aTotalThatIsNoNumberTakesTheFocusAndChangesNothing() {
        f->txtTotalSalesAmount()->setText(QStringLiteral("100"));
        f->txtSaleperson()->setFocus();
        QTest::qWait(10);
        f->txtTotalSalesAmount()->setText(QStringLiteral("1x"));
        QCOMPARE(f->txtCommission()->text(), QStringLiteral("10"));
        QTRY_COMPARE(QApplication::focusWidget(), f->txtTotalSalesAmount());
        QVERIFY(h->dialogs.boxes.empty());
    }

    void aHandTypedCommissionIsKeptAndAdded() {
        f->txtSaleperson()->setText(QStringLiteral("Hand"));
        f->txtTotalSalesAmount()->setFocus();
        QTest::keyClicks(f->txtTotalSalesAmount(), QStringLiteral("300"));
        QCOMPARE(f->txtCommission()->text(), QStringLiteral("30"));
        f->txtCommission()->setFocus();
        QTest::qWait(10);
        QTest::keyClicks(f->txtCommission(), QStringLiteral("31.5"));  // replaces the selected text
        QCOMPARE(f->txtCommission()->text(), QStringLiteral("31.5"));
        f->PushButton4_Click();
        QCOMPARE(f->Row(1), (records::CommissionRecord{"Hand", "300", "31.5"}));
    }

    void thePercentageIsStoredOnEveryChange() {
        f->txtCommissionrate()->setFocus();
        QTest::qWait(10);
        QTest::keyClicks(f->txtCommissionrate(), QStringLiteral("1"));
        QCOMPARE(Form1Harness::stored(shell::kKeyCommissionRate), QStringLiteral("1"));
        QTest::keyClicks(f->txtCommissionrate(), QStringLiteral("2a"));
        QCOMPARE(Form1Harness::stored(shell::kKeyCommissionRate), QStringLiteral("12a"));
        f->txtCommissionrate()->clear();
        QCOMPARE(Form1Harness::stored(shell::kKeyCommissionRate), QString());
    }

    void changingThePercentageRecalculatesOnlyWhenLeavingIt() {
        f->txtTotalSalesAmount()->setText(QStringLiteral("5600"));
        QCOMPARE(f->txtCommission()->text(), QStringLiteral("560"));
        f->txtCommissionrate()->setFocus();
        QTest::qWait(10);
        QTest::keyClicks(f->txtCommissionrate(), QStringLiteral("20"));
        QCOMPARE(f->txtCommission()->text(), QStringLiteral("560"));
        QTest::keyClick(f, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), f->txtSaleperson());
        QCOMPARE(f->txtCommission()->text(), QStringLiteral("1120"));
    }

    void leavingAPercentageThatIsNoNumberBringsTheFocusBack() {
        f->txtCommissionrate()->setFocus();
        QTest::qWait(10);
        QTest::keyClicks(f->txtCommissionrate(), QStringLiteral("ab"));
        QTest::keyClick(f, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), f->txtCommissionrate());
        QTest::qWait(20);
        QCOMPARE(QApplication::focusWidget(), f->txtCommissionrate());
        QVERIFY(wholeTextSelectedFromStart(f->txtCommissionrate()));
        QVERIFY(h->dialogs.boxes.empty());

        // A click elsewhere is refused the same way.
        QTest::mouseClick(f->txtCommission(), Qt::LeftButton);
        QTRY_COMPARE(QApplication::focusWidget(), f->txtCommissionrate());

        // Emptied, the field may be left; the commission keeps its text.
        f->txtCommissionrate()->clear();
        QTest::keyClick(f, Qt::Key_Tab);
        QTest::qWait(20);
        QCOMPARE(QApplication::focusWidget(), f->txtSaleperson());
    }

    void bothRulesTogetherSettleWithoutPingPong() {
        // A percentage that is no number, and a row click putting a total that is no
        // number: both fields claim the focus once; the percentage keeps it.
        f->txtSaleperson()->setText(QStringLiteral("Odd"));
        f->txtTotalSalesAmount()->setText(QString());
        f->txtCommission()->setText(QStringLiteral("c"));
        f->PushButton4_Click();
        f->ListView1()->SetTotal(1, QStringLiteral("n/a"));
        f->ListView1()->SelectRow(1);

        f->txtCommissionrate()->setFocus();
        QTest::qWait(10);
        QTest::keyClicks(f->txtCommissionrate(), QStringLiteral("x"));
        f->ListView1_Click();
        QTRY_COMPARE(QApplication::focusWidget(), f->txtCommissionrate());
        QTest::qWait(50);
        QCOMPARE(QApplication::focusWidget(), f->txtCommissionrate());
        QCOMPARE(f->txtTotalSalesAmount()->text(), QStringLiteral("n/a"));
        QCOMPARE(f->txtCommission()->text(), QStringLiteral("c"));
    }

    void leavingANumericPercentageWithoutTotalLeavesTheCommission() {
        f->txtCommission()->setText(QStringLiteral("typed"));
        f->txtCommissionrate()->setFocus();
        QTest::qWait(10);
        QTest::keyClicks(f->txtCommissionrate(), QStringLiteral("15"));
        QTest::keyClick(f, Qt::Key_Tab);
        QTest::qWait(10);
        QCOMPARE(f->txtCommission()->text(), QStringLiteral("typed"));
    }

    void focusSelectsTheWholeText_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("tab") << 0;
        QTest::newRow("click") << 1;
        QTest::newRow("program") << 2;
    }
    void focusSelectsTheWholeText() {
        QFETCH(int, how);
        f->txtSaleperson()->setText(QStringLiteral("Aldo Fennick"));
        f->txtTotalSalesAmount()->setText(QStringLiteral("5600"));
        QLineEdit* target = f->txtTotalSalesAmount();
        f->txtSaleperson()->setFocus();
        QTest::qWait(10);
        if (how == 0)
            QTest::keyClick(f, Qt::Key_Tab);
        else if (how == 1)
            QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(target->width() / 2, target->height() / 2));
        else
            target->setFocus();
        QTRY_VERIFY(target->hasFocus());
        QTRY_VERIFY(wholeTextSelectedFromStart(target));
        QCOMPARE(target->selectedText(), QStringLiteral("5600"));
    }
};

QTEST_MAIN(Form1EntryFields)
#include "tst_form1_entry_fields.moc"
