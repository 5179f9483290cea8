#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace shell {

class ImportPreview;

enum class BoxButtons { Ok, YesNo };
enum class BoxIcon { None, Warning };
enum class BoxAnswer { Ok, Yes, No };

// Every message box and file dialog of the program goes through this interface:
// Qt's widgets in the program (QtDialogs), a scripted recorder in tests. Whoever
// runs the windows owns the dialogs and hands them down (shell::ProgramContext).
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal message box; the answer is the button pressed.
    virtual BoxAnswer message(const QString& title, const QString& text, BoxButtons buttons,
                              BoxIcon icon) = 0;
    // A modal "save as" dialog; the empty text when cancelled. The dialog asks
    // nothing about overwriting: the caller does.
    virtual QString saveFileName(const QString& title, const QString& filter,
                                 const QString& fileName) = 0;
    // A modal print dialog on printer, which comes set up as the caller would print
    // and leaves as the user chose; false when cancelled. Dialogs that offer no
    // printer (where nobody is there to print) answer as cancelled.
    virtual bool choosePrinter(QPrinter& printer);
    // A modal "open" dialog; the empty text when cancelled. Dialogs where nobody
    // is there to choose answer as cancelled.
    virtual QString openFileName(const QString& title, const QString& filter);
    // The modal preview of an import, whose choices the user may change; true
    // for OK. Dialogs where nobody is there to look answer Cancel.
    virtual bool previewImport(ImportPreview& preview);

    // A message box titled with the application title.
    BoxAnswer showMessage(const QString& text, BoxButtons buttons = BoxButtons::Ok, BoxIcon icon = BoxIcon::None);
};

// Qt's message boxes and file, print and import dialogs, over the active window.
class QtDialogs final : public Dialogs {
public:
    BoxAnswer message(const QString& title, const QString& text, BoxButtons buttons, BoxIcon icon) override;
    QString saveFileName(const QString& title, const QString& filter, const QString& fileName) override;
    bool choosePrinter(QPrinter& printer) override;
    QString openFileName(const QString& title, const QString& filter) override;
    bool previewImport(ImportPreview& preview) override;
};

// The question asked before a file the user named is replaced.
QString overwriteQuestion(const QString& path);

}  // namespace shell
