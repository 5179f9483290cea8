// The program started through main()'s own start-up names the desktop entry that
// is installed, so that desktops tie its windows to the entry's icon and launcher.
#include "app/program_start.h"
#include "support/isolated_environment.h"
#include "support/scripted_dialogs.h"

#include <QtTest>

class ProgramStart : public QObject {
    Q_OBJECT
private slots:
    void namesTheInstalledDesktopEntry() {
        IsolatedEnvironment env;
        ScriptedDialogs dialogs;
        const auto windows = app::startProgram(shell::ProgramContext(dialogs));
        const QString entry = qEnvironmentVariable("QUENVALE_SOURCE_DIR") + QStringLiteral("/resources/desktop/") +
                              QGuiApplication::desktopFileName() + QStringLiteral(".desktop");
        QVERIFY2(QFileInfo(entry).isFile(), qPrintable(entry));
    }
};

QTEST_MAIN(ProgramStart)
#include "tst_program_start.moc"
