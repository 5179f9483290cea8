// Closing the main window ends the program's event loop, also while another
// window (the preview, hidden) still exists. Its own program: the loop it runs
// cannot be run twice.
#include "main_window_harness.h"

#include <QTimer>

class MainWindowProgramEnd : public QObject {
    Q_OBJECT
private slots:
    void closingTheMainWindowEndsTheProgram() {
        // The window ends the program itself, not through the last-window rule.
        QApplication::setQuitOnLastWindowClosed(false);
        MainWindowHarness h;
        records::MainWindow& f = h.start();
        f.loadSampleData();
        QWidget hiddenPreview;
        hiddenPreview.show();
        hiddenPreview.hide();

        bool timedOut = false;
        QTimer::singleShot(0, &f, [&f] { f.close(); });
        QTimer::singleShot(20000, qApp, [&timedOut] {
            timedOut = true;
            QCoreApplication::exit(1);
        });
        const int code = QApplication::exec();
        QVERIFY(!timedOut);
        QCOMPARE(code, 0);
        QVERIFY(MainWindowHarness::stored(shell::kKeyCommissionList).startsWith(QStringLiteral("Aldo Fennick||SEP1||")));
    }
};

QTEST_MAIN(MainWindowProgramEnd)
#include "tst_main_window_program_end.moc"
