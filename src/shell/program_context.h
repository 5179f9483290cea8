#pragma once

#include <QString>

namespace shell {

class Dialogs;

// What the windows take from the program around them: the dialogs every box
// goes through, and the folder the program's own files (the skin, the hand
// cursor) are looked up in. Whoever runs the windows makes it (main, the
// command line, a test harness) and hands it down; a copy refers to the same
// dialogs, which outlive the windows.
class ProgramContext {
public:
    // The program folder is the executable's.
    explicit ProgramContext(Dialogs& dialogs);
    ProgramContext(Dialogs& dialogs, QString programFolder);

    Dialogs& dialogs() const { return *m_dialogs; }
    const QString& programFolder() const { return m_programFolder; }

    // One of the program's own files: name is a relative path written with "/"
    // ("HAND-M.CUR", "x/o.cjs"). A file (or folder) of that name in the program's
    // folder comes first; failing that, the copy an installation puts in
    // ../share/quenvale beside the program's folder; failing both, the path in the
    // program's folder, so that callers find nothing there.
    QString programFile(const QString& name) const;

private:
    Dialogs* m_dialogs;
    QString m_programFolder;
};

}  // namespace shell
