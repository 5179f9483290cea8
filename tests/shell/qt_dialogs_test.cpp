// The program's own message box and print dialog (not the scripted ones): an
// error box's lines each on a line of their own on every style, its text never
// read as markup; the print dialog on the caller's printer.
#include "records/pending_import.h"
#include "shell/dialogs.h"
#include "shell/import_preview_dialog.h"
#include "shell/error_locations.h"
#include "shell/error_trap.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct ShownBox {
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    int labelHeight = 0;
    int lineSpacing = 0;
};

// Shows a box through the program's dialogs and reads it while it is open.
ShownBox showAndRead(const QString& text) {
    ShownBox shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        if (const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            shown.text = label->text();
            shown.format = label->textFormat();
            shown.labelHeight = label->height();
            shown.lineSpacing = label->fontMetrics().lineSpacing();
        }
        box->accept();
    });
    shell::QtDialogs().message(QStringLiteral("Application Error"), text, shell::BoxButtons::Ok, shell::BoxIcon::Warning);
    return shown;
}

}  // namespace

TEST(QtMessageBox, ShowsEachLineOfAnErrorBoxOnItsOwnLineInEveryStyle) {
    const QString location = shell::errorLocationText(shell::ErrorLocation::StartCreatingTemplate);
    const QString text = shell::errorBoxText(QStringLiteral("Disk <b>full</b>"), location, 104);
    const QStringList lines = {QStringLiteral("Disk <b>full</b>"), location + QStringLiteral("at line 104"), QString(),
                               text.section(QStringLiteral("\r\r"), 1)};
    const QString styleBefore = QApplication::style()->name();
    for (const char* styleName : {"fusion", "windows"}) {
        SCOPED_TRACE(styleName);
        QStyle* style = QStyleFactory::create(QString::fromLatin1(styleName));
        ASSERT_NE(style, nullptr);
        QApplication::setStyle(style);

        const ShownBox shown = showAndRead(text);
        EXPECT_EQ(shown.text.split(QLatin1Char('\n')), lines);
        EXPECT_EQ(shown.format, Qt::PlainText);  // a line feed breaks the line; "<b>" is shown as typed
        EXPECT_GE(shown.labelHeight, int(lines.size()) * shown.lineSpacing);
    }
    QApplication::setStyle(QStyleFactory::create(styleBefore));
}

// The program's print dialog works on the printer it is given, which comes set up
// as the caller would print; cancelled, it says so.
TEST(QtPrintDialog, ShowsThePrinterAndTellsWhetherToPrint) {
    QPrinter printer;
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
    for (const bool accept : {false, true}) {
        QPrinter* shown = nullptr;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            shown = dialog->printer();
            accept ? dialog->accept() : dialog->reject();
        });
        EXPECT_EQ(shell::QtDialogs().choosePrinter(printer), accept);
        EXPECT_EQ(shown, &printer);
    }
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
}

// The program's import preview on a real dialog: the first rows as read, every
// change of a choice shown at once, and OK only while it would change the list.
TEST(QtImportPreview, ShowsTheRowsAndEachChangeOfAChoiceAtOnce) {
    records::PendingImport pending(records::ImportSource::fromText(QStringLiteral("Name;Total\nAnn;1,5\nBob;2\n")),
                                   QStringLiteral("the clipboard"), {}, QStringLiteral("10"),
                                   QLocale(QLocale::German, QLocale::Germany));
    shell::ImportPreviewDialog dialog(pending);
    QPushButton* ok = dialog.buttons()->button(QDialogButtonBox::Ok);
    EXPECT_EQ(dialog.separatorChoice()->currentText(), "Semicolon");
    EXPECT_EQ(dialog.firstRows()->rowCount(), 3);
    EXPECT_EQ(dialog.firstRows()->item(1, 1)->text(), "1,5");
    EXPECT_EQ(dialog.outcome()->text(), "2 rows added, 0 rows of the same name updated, 0 lines refused.");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_TRUE(dialog.refusals()->isHidden());

    dialog.totalColumnChoice()->setCurrentIndex(0);  // the names as totals
    EXPECT_EQ(dialog.outcome()->text(), "0 rows added, 0 rows of the same name updated, 2 lines refused.");
    EXPECT_EQ(dialog.refusals()->count(), 2);
    EXPECT_FALSE(ok->isEnabled());

    dialog.separatorChoice()->setCurrentIndex(0);  // comma: one column, guessed again
    EXPECT_EQ(pending.separator(), ',');
    EXPECT_EQ(dialog.nameColumnChoice()->count(), 2);
    dialog.headerChoice()->setChecked(false);
    EXPECT_FALSE(pending.firstRowIsHeader());
    EXPECT_FALSE(dialog.percentageChoice()->isVisibleTo(&dialog));
}
