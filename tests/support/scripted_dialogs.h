#pragma once

#include "shell/dialogs.h"
#include "shell/import_preview.h"

#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

// Records every box and answers from queues.
class ScriptedDialogs : public shell::Dialogs {
public:
    struct Box {
        QString title;
        QString text;
        shell::BoxButtons buttons;
        shell::BoxIcon icon;
        bool underWaitPointer;  // the program showed the wait pointer over the box
    };

    shell::BoxAnswer message(const QString& title, const QString& text, shell::BoxButtons buttons,
                             shell::BoxIcon icon) override;
    QString saveFileName(const QString& title, const QString& filter, const QString& fileName) override;
    // Sends the print to the next of printFiles as a PDF file; cancelled when none is left.
    bool choosePrinter(QPrinter& printer) override;
    QString openFileName(const QString& title, const QString& filter) override;
    // Records the preview as first shown, then answers with the next of importAnswers.
    bool previewImport(shell::ImportPreview& preview) override;

    // Answers for Yes/No boxes (default Yes when the queue is empty).
    std::deque<shell::BoxAnswer> answers;
    // File names the save dialog returns (empty: cancelled).
    std::deque<QString> fileNames;

    std::vector<Box> boxes;
    struct SaveDialog {
        QString title, filter, fileName;
    };
    std::vector<SaveDialog> saveDialogs;
    // PDF files the print dialog prints to (empty queue: cancelled).
    std::deque<QString> printFiles;
    // The page each print dialog was shown with.
    std::vector<QPageLayout> printDialogs;
    // File names the open dialog returns (empty queue: cancelled).
    std::deque<QString> openFileNames;
    // Each import preview is answered by the next of these, which may change its
    // choices and returns true for OK; with none left, OK as shown.
    std::deque<std::function<bool(shell::ImportPreview&)>> importAnswers;
    // Each import preview as it was first shown.
    struct ShownPreview {
        QString source;
        QStringList sheets;
        std::optional<char> separator;
        QStringList columns;
        int nameColumn = 0;
        int totalColumn = 0;
        bool header = false;
        std::optional<QString> percentage;
        QString outcome;
        QStringList refusals;
    };
    std::vector<ShownPreview> importPreviews;

    // Texts of the boxes titled "Application Error".
    QStringList errorTexts() const;
    void clear() {
        boxes.clear();
        saveDialogs.clear();
        printDialogs.clear();
    }
};
