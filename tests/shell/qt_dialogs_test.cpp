// The program's own message box and print dialog (not the scripted ones): an
// error box's lines each on a line of their own on every style, its text never
// read as markup; the print dialog on the caller's printer.
#include "shell/dialogs.h"
#include "shell/error_locations.h"
#include "shell/error_trap.h"

#include <QApplication>
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
    shell::dialogs().message(QStringLiteral("Application Error"), text, shell::BoxButtons::Ok, shell::BoxIcon::Warning);
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
        EXPECT_EQ(shell::dialogs().choosePrinter(printer), accept);
        EXPECT_EQ(shown, &printer);
    }
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
}
