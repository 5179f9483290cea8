// The entry-field rules on the real main window: select all on focus, the total
// and percentage checks, the commission text and the stored percentage.
#include "main_window_harness.h"

class MainWindowEntryFields : public MainWindowTest {
    Q_OBJECT

    static bool wholeTextSelectedFromStart(const QLineEdit* field) {
        return field->selectionStart() == 0 && field->selectedText() == field->text() && field->cursorPosition() == 0;
    }

private slots:
    void typingATotalRecalculatesOnEveryDigit() {
        f->totalEdit()->setFocus();
        QStringList seen;
        for (const QChar digit : QStringLiteral("5600")) {
            QTest::keyClick(f->totalEdit(), digit.toLatin1());
            seen << f->commissionEdit()->text();
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
        f->percentageEdit()->setText(rate);
        f->totalEdit()->setText(total);
        QCOMPARE(f->commissionEdit()->text(), commission);
    }

    void aTotalIsNotCheckedAgainstAPercentageThatIsNoNumber() {
        f->commissionEdit()->setText(QStringLiteral("kept"));
        f->percentageEdit()->setText(QString());
        f->totalEdit()->setText(QStringLiteral("100"));
        QCOMPARE(f->commissionEdit()->text(), QStringLiteral("kept"));
        f->percentageEdit()->setText(QStringLiteral("ten"));
        f->totalEdit()->setText(QStringLiteral("200"));
        QCOMPARE(f->commissionEdit()->text(), QStringLiteral("kept"));
    }

    void aTotalThatIsNoNumberTakesTheFocusAndChangesNothing() {
        f->totalEdit()->setText(QStringLiteral("100"));
        f->nameEdit()->setFocus();
        QTest::qWait(10);
        f->totalEdit()->setText(QStringLiteral("1x"));
        QCOMPARE(f->commissionEdit()->text(), QStringLiteral("10"));
        QTRY_COMPARE(QApplication::focusWidget(), f->totalEdit());
        QVERIFY(h->dialogs.boxes.empty());
    }

    void aHandTypedCommissionIsKeptAndAdded() {
        f->nameEdit()->setText(QStringLiteral("Hand"));
        f->totalEdit()->setFocus();
        QTest::keyClicks(f->totalEdit(), QStringLiteral("300"));
        QCOMPARE(f->commissionEdit()->text(), QStringLiteral("30"));
        f->commissionEdit()->setFocus();
        QTest::qWait(10);
        QTest::keyClicks(f->commissionEdit(), QStringLiteral("31.5"));  // replaces the selected text
        QCOMPARE(f->commissionEdit()->text(), QStringLiteral("31.5"));
        f->addRecord();
        QCOMPARE(f->record(1), (records::CommissionRecord{"Hand", "300", "31.5"}));
    }

    void thePercentageIsStoredOnEveryChange() {
        f->percentageEdit()->setFocus();
        QTest::qWait(10);
        QTest::keyClicks(f->percentageEdit(), QStringLiteral("1"));
        QCOMPARE(MainWindowHarness::stored(shell::kKeyCommissionRate), QStringLiteral("1"));
        QTest::keyClicks(f->percentageEdit(), QStringLiteral("2a"));
        QCOMPARE(MainWindowHarness::stored(shell::kKeyCommissionRate), QStringLiteral("12a"));
        f->percentageEdit()->clear();
        QCOMPARE(MainWindowHarness::stored(shell::kKeyCommissionRate), QString());
    }

    void changingThePercentageRecalculatesOnlyWhenLeavingIt() {
        f->totalEdit()->setText(QStringLiteral("5600"));
        QCOMPARE(f->commissionEdit()->text(), QStringLiteral("560"));
        f->percentageEdit()->setFocus();
        QTest::qWait(10);
        QTest::keyClicks(f->percentageEdit(), QStringLiteral("20"));
        QCOMPARE(f->commissionEdit()->text(), QStringLiteral("560"));
        QTest::keyClick(f, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), f->nameEdit());
        QCOMPARE(f->commissionEdit()->text(), QStringLiteral("1120"));
    }

    void leavingAPercentageThatIsNoNumberBringsTheFocusBack() {
        f->percentageEdit()->setFocus();
        QTest::qWait(10);
        QTest::keyClicks(f->percentageEdit(), QStringLiteral("ab"));
        QTest::keyClick(f, Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), f->percentageEdit());
        QTest::qWait(20);
        QCOMPARE(QApplication::focusWidget(), f->percentageEdit());
        QVERIFY(wholeTextSelectedFromStart(f->percentageEdit()));
        QVERIFY(h->dialogs.boxes.empty());

        // A click elsewhere is refused the same way.
        QTest::mouseClick(f->commissionEdit(), Qt::LeftButton);
        QTRY_COMPARE(QApplication::focusWidget(), f->percentageEdit());

        // Emptied, the field may be left; the commission keeps its text.
        f->percentageEdit()->clear();
        QTest::keyClick(f, Qt::Key_Tab);
        QTest::qWait(20);
        QCOMPARE(QApplication::focusWidget(), f->nameEdit());
    }

    void bothRulesTogetherSettleWithoutPingPong() {
        // A percentage that is no number, and a row click putting a total that is no
        // number: both fields claim the focus once; the percentage keeps it.
        f->nameEdit()->setText(QStringLiteral("Odd"));
        f->totalEdit()->setText(QString());
        f->commissionEdit()->setText(QStringLiteral("c"));
        f->addRecord();
        f->recordList()->setTotal(1, QStringLiteral("n/a"));
        f->recordList()->selectRow(1);

        f->percentageEdit()->setFocus();
        QTest::qWait(10);
        QTest::keyClicks(f->percentageEdit(), QStringLiteral("x"));
        f->selectRecord();
        QTRY_COMPARE(QApplication::focusWidget(), f->percentageEdit());
        QTest::qWait(50);
        QCOMPARE(QApplication::focusWidget(), f->percentageEdit());
        QCOMPARE(f->totalEdit()->text(), QStringLiteral("n/a"));
        QCOMPARE(f->commissionEdit()->text(), QStringLiteral("c"));
    }

    void leavingANumericPercentageWithoutTotalLeavesTheCommission() {
        f->commissionEdit()->setText(QStringLiteral("typed"));
        f->percentageEdit()->setFocus();
        QTest::qWait(10);
        QTest::keyClicks(f->percentageEdit(), QStringLiteral("15"));
        QTest::keyClick(f, Qt::Key_Tab);
        QTest::qWait(10);
        QCOMPARE(f->commissionEdit()->text(), QStringLiteral("typed"));
    }

    void focusSelectsTheWholeText_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("tab") << 0;
        QTest::newRow("click") << 1;
        QTest::newRow("program") << 2;
    }
    void focusSelectsTheWholeText() {
        QFETCH(int, how);
        f->nameEdit()->setText(QStringLiteral("Aldo Fennick"));
        f->totalEdit()->setText(QStringLiteral("5600"));
        QLineEdit* target = f->totalEdit();
        f->nameEdit()->setFocus();
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

QTEST_MAIN(MainWindowEntryFields)
#include "tst_main_window_entry_fields.moc"
#include "moc_main_window_harness.cpp"
