#include "shell/dialogs.h"

#include "shell/import_preview_dialog.h"
#include "shell/startup_services.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>

namespace shell {
namespace {

// Box texts break their lines with carriage returns, alone or before a line
// feed; some styles draw a lone carriage return as a blank. Shown, every break
// is a line feed, which every style starts a new line at.
QString withLineFeeds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

bool Dialogs::choosePrinter(QPrinter&) { return false; }

QString Dialogs::openFileName(const QString&, const QString&) { return QString(); }

bool Dialogs::previewImport(ImportPreview&) { return false; }

BoxAnswer Dialogs::showMessage(const QString& text, BoxButtons buttons, BoxIcon icon) {
    return message(appTitle(), text, buttons, icon);
}

BoxAnswer QtDialogs::message(const QString& title, const QString& text, BoxButtons buttons, BoxIcon icon) {
    QMessageBox box(icon == BoxIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, title,
                    withLineFeeds(text),
                    buttons == BoxButtons::YesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                    QApplication::activeWindow());
    // Descriptions carry file names and typed text: never read as markup.
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes ? BoxAnswer::Yes
           : buttons == BoxButtons::YesNo ? BoxAnswer::No
                                          : BoxAnswer::Ok;
}

QString QtDialogs::saveFileName(const QString& title, const QString& filter, const QString& fileName) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, fileName, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

bool QtDialogs::choosePrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

QString QtDialogs::openFileName(const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, QString(), filter);
}

bool QtDialogs::previewImport(ImportPreview& preview) {
    ImportPreviewDialog dialog(preview, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

QString overwriteQuestion(const QString& path) {
    return QStringLiteral("Are you sure you wish to overwrite ") + path + QStringLiteral(" ?");
}

}  // namespace shell
