// The main window as keyboard and screen-reader users meet it: every control named,
// the Tab order with the focus shown, captions that fit (at scale 1 and 2), and
// Enter in the entry fields and on the list.
#include "main_window_harness.h"
#include "records/record_messages.h"
#include "shell/font_substitutions.h"
#include "support/window_access.h"

#include <QGroupBox>
#include <QLabel>

class MainWindowAccess : public MainWindowTest {
    Q_OBJECT
    QWidget* child(const char* name) const { return f->findChild<QWidget*>(QLatin1String(name)); }

private slots:
    void initTestCase() { shell::installFontSubstitutions(); }

    void everyControlIsNamedReachedByTabAndFitsItsCaption() {
        using A = QAccessible;
        verifyControls(f,
                       {{f->percentageEdit(), A::EditableText, QStringLiteral("Commission percentage")},
                        {f->nameEdit(), A::EditableText, QStringLiteral("Saleperson")},
                        {f->totalEdit(), A::EditableText, QStringLiteral("Total Sales Amount")},
                        {f->commissionEdit(), A::EditableText, QStringLiteral("Commission Amount")},
                        {f->addRecordButton(), A::Button, QStringLiteral("Add Record")},
                        {f->clearTextFieldsButton(), A::Button, QStringLiteral("Clear Text Fields")},
                        {f->deleteSelectedRecordButton(), A::Button, QStringLiteral("Delete Selected Record")},
                        {f->recordList(), A::Tree, QStringLiteral("Commission records")},
                        {f->clearAllDataButton(), A::Button, QStringLiteral("Clear/Reset Data")},
                        {f->loadSampleDataButton(), A::Button, QStringLiteral("Load Sample/Example Data")},
                        {f->startCreatingTemplateButton(), A::Button, QStringLiteral("Start Creating Template")}},
                       {{f->percentageFrame(), A::Grouping, QStringLiteral("Commission percentage")},
                        {f->entryFrame(), A::Grouping, QStringLiteral("Commission Entry")},
                        {child("percentSignLabel"), A::StaticText, QStringLiteral("%")},
                        {child("totalLabel"), A::StaticText, QStringLiteral("Total Sales Amount:          $")}});
        QAccessibleInterface* const percentage = QAccessible::queryAccessibleInterface(f->percentageEdit());
        QCOMPARE(percentage->text(QAccessible::Description), QStringLiteral("Commission percentage, 10 means 10 %"));
        QAccessibleInterface* const list = QAccessible::queryAccessibleInterface(f->recordList());
        QCOMPARE(list->tableInterface()->columnDescription(1), QStringLiteral("Total Sales Amount ($)"));
    }

    // Enter in any of the three entry fields is Add Record, messages and all; Enter
    // on a row of the list brings it back into the fields.
    void enterAddsTheRecordAndBringsARowBack() {
        for (QLineEdit* field : {f->nameEdit(), f->totalEdit(), f->commissionEdit()}) {
            h->enter(field->objectName(), QStringLiteral("100"), QStringLiteral("10"));
            field->setFocus();
            QTest::keyClick(f->windowHandle(), Qt::Key_Return);
            QCOMPARE(h->rows().last(), (records::CommissionRecord{field->objectName(), "100", "10"}));
            QCOMPARE(QApplication::focusWidget(), f->nameEdit());
        }
        QCOMPARE(f->recordCount(), 3);
        h->enter(QString(), QStringLiteral("5"), QString());
        f->totalEdit()->setFocus();
        QTest::keyClick(f->windowHandle(), Qt::Key_Enter);
        QCOMPARE(f->recordCount(), 3);
        QCOMPARE(h->dialogs.boxes.back().text, records::kNameMissingMessage);

        f->recordList()->setFocus();
        QTest::keyClick(f->windowHandle(), Qt::Key_End);
        QTest::keyClick(f->windowHandle(), Qt::Key_Return);
        QCOMPARE(f->nameEdit()->text(), QStringLiteral("commissionEdit"));
        QCOMPARE(f->totalEdit()->text(), QStringLiteral("100"));
    }
};

QTEST_MAIN(MainWindowAccess)
#include "tst_main_window_access.moc"
#include "moc_main_window_harness.cpp"
