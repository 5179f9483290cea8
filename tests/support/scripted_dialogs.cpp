#include "support/scripted_dialogs.h"

#include <QGuiApplication>
#include <QPrinter>

shell::BoxAnswer ScriptedDialogs::message(const QString& title, const QString& text,
                                          shell::BoxButtons buttons, shell::BoxIcon icon) {
    boxes.push_back({title, text, buttons, icon, QGuiApplication::overrideCursor() != nullptr});
    if (buttons == shell::BoxButtons::Ok) return shell::BoxAnswer::Ok;
    if (answers.empty()) return shell::BoxAnswer::Yes;
    const shell::BoxAnswer a = answers.front();
    answers.pop_front();
    return a;
}

QString ScriptedDialogs::saveFileName(const QString& title, const QString& filter,
                                      const QString& fileName) {
    saveDialogs.push_back({title, filter, fileName});
    if (fileNames.empty()) return QString();
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
}

bool ScriptedDialogs::choosePrinter(QPrinter& printer) {
    printDialogs.push_back(printer.pageLayout());
    if (printFiles.empty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printFiles.front());
    printFiles.pop_front();
    return true;
}

QStringList ScriptedDialogs::errorTexts() const {
    QStringList out;
    for (const Box& b : boxes)
        if (b.title == QStringLiteral("Application Error")) out << b.text;
    return out;
}

QString ScriptedDialogs::openFileName(const QString&, const QString&) {
    if (openFileNames.empty()) return QString();
    QString name = openFileNames.front();
    openFileNames.pop_front();
    return name;
}

bool ScriptedDialogs::previewImport(shell::ImportPreview& preview) {
    importPreviews.push_back({preview.sourceName(), preview.sheetNames(),
                              preview.hasSeparator() ? std::optional<char>(preview.separator()) : std::nullopt,
                              preview.columnTitles(), preview.nameColumn(), preview.totalColumn(),
                              preview.firstRowIsHeader(), preview.offeredPercentage(), preview.outcome(),
                              preview.refusals()});
    if (importAnswers.empty()) return true;
    const auto answer = importAnswers.front();
    importAnswers.pop_front();
    return answer(preview);
}
