// The preview window as keyboard and screen-reader users meet it: every control
// named, the Tab order with the focus shown, captions that fit (at scale 1 and 2),
// the sheet read as a table, the cell cursor, and Escape.
#include "generator/listed_records.h"
#include "preview/preview_window.h"
#include "preview/sheet_canvas.h"
#include "shell/font_substitutions.h"
#include "support/isolated_environment.h"
#include "support/scripted_dialogs.h"
#include "support/window_access.h"

#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

using preview::PreviewWindow;

namespace {

QString dollars(double amount) {
    return QLatin1Char('$') + QLocale(QLocale::English, QLocale::UnitedStates).toString(amount, 'f', 2);
}

// What a sighted user reads on the sheet of n numbered records, row by row.
QList<QStringList> sheetRows(int n) {
    const double sales = 100.0 * n * (n + 1) / 2;
    QList<QStringList> rows = {
        QStringList(3, QStringLiteral("Sales Commission Calculator")),
        QStringList(3, QString()),
        {QStringLiteral("Commission Percentage"), QStringLiteral("Total sales"),
         QStringLiteral("Total commission paid")},
        {QStringLiteral("10.0%"), dollars(sales), dollars(sales / 10)},
        QStringList(3, QString()),
        {QStringLiteral("SalePerson"), QStringLiteral("Total Sales Amount"), QStringLiteral("Commission")},
    };
    for (int i = 1; i <= n; ++i)
        rows.append({QStringLiteral("Person %1").arg(i), dollars(100.0 * i), dollars(10.0 * i)});
    rows.append({QStringLiteral("Totals"), dollars(sales), dollars(sales / 10)});
    return rows;
}

}  // namespace

class TestPreviewAccess : public QObject {
    Q_OBJECT

    struct Fixture {
        IsolatedEnvironment env;
        ScriptedDialogs dialogs;
        QStringList calls;
        PreviewWindow window{shell::ProgramContext(dialogs),
                             {[this] { calls << QStringLiteral("showMainWindow"); }, [] { return true; }, [] {}}};

        explicit Fixture(int records) {
            window.setSheet(numberedRecordsPicture(records));
            window.showPreview();
            QVERIFY(QTest::qWaitForWindowActive(&window));
        }
        QAccessibleInterface* sheet() const { return QAccessible::queryAccessibleInterface(window.canvas()); }
        QString cursorText() const { return sheet()->focusChild()->text(QAccessible::Name); }
        // The cell under the cursor lies wholly in the viewport.
        bool cursorInView() const {
            const QRect cell = sheet()->focusChild()->rect().translated(-window.canvas()->mapToGlobal(QPoint(0, 0)));
            return window.canvas()->rect().contains(cell);
        }
    };

private slots:
    void initTestCase() { shell::installFontSubstitutions(); }

    void everyControlIsNamedReachedByTabAndFitsItsCaption() {
        Fixture f(100);
        QTest::keyClick(f.window.windowHandle(), Qt::Key_Plus);  // wider than the viewport: both bars on
        using A = QAccessible;
        verifyControls(&f.window,
                       {{f.window.horizontalScrollBar(), A::ScrollBar, QStringLiteral("Scroll the sheet sideways")},
                        {f.window.verticalScrollBar(), A::ScrollBar, QStringLiteral("Scroll the sheet up and down")},
                        {f.window.viewport(), A::Client, QStringLiteral("Sheet view")},
                        {f.window.canvas(), A::Table, QStringLiteral("Commission sheet")},
                        {f.window.zoomInButton(), A::Button, QStringLiteral("Zoom In")},
                        {f.window.zoomOutButton(), A::Button, QStringLiteral("Zoom Out")},
                        {f.window.saveResultsButton(), A::Button, QStringLiteral("Save Results To Excel File")},
                        {f.window.backButton(), A::Button, QStringLiteral("< Back")}},
                       {{f.window.zoomFrame(), A::Grouping, QStringLiteral("Zoom: 125%")}});
    }

    void theSheetReadsAsATableRowByRow_data() {
        QTest::addColumn<int>("records");
        QTest::newRow("sample") << 3;
        QTest::newRow("1,000 records") << 1000;
    }
    void theSheetReadsAsATableRowByRow() {
        QFETCH(int, records);
        Fixture f(records);
        QAccessibleInterface* const sheet = f.sheet();
        QAccessibleTableInterface* const table = sheet->tableInterface();
        const QList<QStringList> expected = sheetRows(records);
        QCOMPARE(table->rowCount(), expected.size());
        QCOMPARE(sheet->childCount(), expected.size() * 3);
        for (int index = 0; index < sheet->childCount(); ++index) {
            const int row = index / 3;
            QAccessibleInterface* const cell = sheet->child(index);
            QCOMPARE(cell->text(QAccessible::Name), expected[row][index % 3]);
            QCOMPARE(cell->role(), row == 2 || row == 5 ? QAccessible::ColumnHeader : QAccessible::Cell);
        }
        // The merged title is one cell over the three columns.
        QAccessibleTableCellInterface* const title = table->cellAt(0, 2)->tableCellInterface();
        QCOMPARE(title->columnIndex(), 0);
        QCOMPARE(title->columnExtent(), 3);
        QCOMPARE(sheet->indexOfChild(table->cellAt(0, 1)), 0);
        // Figures are headed by their labels, the records by the column headings.
        const auto headerOf = [&](int row, int column) {
            const auto headers = table->cellAt(row, column)->tableCellInterface()->columnHeaderCells();
            return headers.size() == 1 ? headers[0]->text(QAccessible::Name) : QString();
        };
        QCOMPARE(headerOf(3, 2), QStringLiteral("Total commission paid"));
        QCOMPARE(headerOf(6 + records, 1), QStringLiteral("Total Sales Amount"));
        QCOMPARE(table->columnDescription(0), QStringLiteral("SalePerson"));
    }

    // Ctrl with the arrows, Home and End moves the cell cursor and the viewport
    // follows it; the plain keys still scroll; Escape goes back.
    void cellCursorMovesWithCtrlAndEscapeGoesBack() {
        Fixture f(100);
        QWindow* const keys = f.window.windowHandle();
        QScrollBar* const bar = f.window.verticalScrollBar();
        QCOMPARE(QApplication::focusWidget(), f.window.canvas());
        QCOMPARE(f.cursorText(), QStringLiteral("Sales Commission Calculator"));
        QVERIFY(!f.window.canvas()->cursorShown());

        QTest::keyClick(keys, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(f.cursorText(), dollars(50500));
        QVERIFY(f.window.canvas()->cursorShown());
        QCOMPARE(bar->value(), bar->maximum());
        QVERIFY(f.cursorInView());

        QTest::keyClick(keys, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(bar->value(), 0);
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left})
            QTest::keyClick(keys, key, Qt::ControlModifier);
        QCOMPARE(f.cursorText(), QStringLiteral("Total sales"));
        QVERIFY(f.sheet()->focusChild()->state().focused);

        QTest::keyClick(keys, Qt::Key_Down);
        QCOMPARE(bar->value(), 20);
        QCOMPARE(f.cursorText(), QStringLiteral("Total sales"));
        for (int i = 0; i < 40; ++i) QTest::keyClick(keys, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(f.cursorText(), dollars(3700));
        QVERIFY(f.cursorInView());
        QVERIFY(bar->value() > 20);

        QTest::keyClick(keys, Qt::Key_Escape);
        QCOMPARE(f.calls, QStringList{QStringLiteral("showMainWindow")});
        QVERIFY(!f.window.isVisible());
        QVERIFY(f.dialogs.boxes.empty());
    }
};

QTEST_MAIN(TestPreviewAccess)
#include "tst_preview_access.moc"
