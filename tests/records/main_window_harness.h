#pragma once

// A main window on an isolated settings store, with scripted dialogs and scripted
// generator services, for the widget tests of the main window.
#include "records/main_window.h"
#include "records/record_list_view.h"
#include "records/select_all_line_edit.h"
#include "shell/error_locations.h"
#include "shell/error_trap.h"
#include "shell/program_context.h"
#include "shell/settings_store.h"
#include "shell/startup_services.h"
#include "support/isolated_environment.h"
#include "support/scoped_default_locale.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <memory>

struct MainWindowHarness {
    IsolatedEnvironment env;  // first: nothing may touch the user's store
    ScriptedDialogs dialogs;
    ScopedDefaultLocale locale{QLocale(QLocale::English, QLocale::UnitedStates)};

    // Where the windows look for the skin and the hand cursor.
    QString programFolder = QCoreApplication::applicationDirPath();
    int generations = 0;
    std::function<void()> duringGeneration;
    std::unique_ptr<records::MainWindow> window;

    shell::ProgramContext context() { return shell::ProgramContext(dialogs, programFolder); }

    records::MainWindowServices services() {
        return {[this] {
            ++generations;
            if (duringGeneration) duringGeneration();
        }};
    }

    // Loads and shows a new main window on the current store.
    records::MainWindow& start() {
        window = std::make_unique<records::MainWindow>(context(), services());
        window->load();
        window->show();
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowActive(window.get())) qWarning("main window did not become active");
        QTest::qWait(10);  // lets the focus settle
        return *window;
    }

    // Closes the window as the user would (the close request stores the list).
    void closeWindow() {
        window->close();
        window.reset();
    }

    static QString stored(const char* key, const QString& absent = QStringLiteral("<absent>")) {
        return shell::readProgramSetting(QString::fromLatin1(key), absent);
    }
    static void store(const char* key, const QString& value) {
        shell::writeProgramSetting(QString::fromLatin1(key), value);
    }

    QList<records::CommissionRecord> rows() const {
        QList<records::CommissionRecord> out;
        for (int i = 1; i <= window->recordCount(); ++i) out << window->record(i);
        return out;
    }

    // Sets a field as a program step would (its change handling runs).
    static void set(QLineEdit* field, const QString& text) { field->setText(text); }

    // Sets the name, total and commission fields, in that order, as a program step would.
    void enter(const QString& name, const QString& total, const QString& commission) const {
        window->nameEdit()->setText(name);
        window->totalEdit()->setText(total);
        window->commissionEdit()->setText(commission);
    }

    // Error box texts without the e-mail request, e.g. "D\r\nin ....PushButton3_Click at line 102".
    QStringList errorHeads() const {
        QStringList out;
        for (const QString& text : dialogs.errorTexts()) out << text.section(QStringLiteral("\r\r"), 0, 0);
        return out;
    }
};

// The base of a main window test whose functions each start on a new harness
// with its window loaded and shown. A test file that uses it ends with
// #include "moc_main_window_harness.cpp".
class MainWindowTest : public QObject {
    Q_OBJECT
protected:
    std::unique_ptr<MainWindowHarness> h;
    records::MainWindow* f = nullptr;

private slots:
    void init() {
        h = std::make_unique<MainWindowHarness>();
        f = &h->start();
    }
    void cleanup() {
        f = nullptr;
        h.reset();
    }
};

inline QString errorHead(const QString& description, const QString& location, int line) {
    return description + QStringLiteral("\r\n") + location + QStringLiteral("at line ") + QString::number(line);
}

using Rows = QList<records::CommissionRecord>;

namespace QTest {
template <>
inline char* toString(const records::CommissionRecord& r) {
    return qstrdup(QStringLiteral("{%1|%2|%3}").arg(r.saleperson, r.totalSalesAmount, r.commissionAmount).toUtf8());
}
}  // namespace QTest
