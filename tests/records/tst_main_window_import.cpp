// The list's way in and out on the real main window, through the keys, the
// clipboard and a drop as they arrive at the window: an import previewed and
// applied as one undo step (undone and redone), Cancel changing nothing, the
// clipboard's rows (text, or an HTML table) pasted onto the list but not into a
// text field, a dropped file imported, and the hint of the empty list.
#include "main_window_harness.h"
#include "records/record_messages.h"
#include "support/test_files.h"

#include <QClipboard>
#include <QDir>
#include <QMimeData>
#include <QUndoStack>

namespace {

const Rows kSampleRows{{"Aldo Fennick", "5600", "560"}, {"John Smith", "8400", "840"}, {"Zodo Duvevado", "11100", "1110"}};

}  // namespace

class MainWindowImport : public MainWindowTest {
    Q_OBJECT

    QString file(const char* name, const QByteArray& bytes) const {
        const QString path = QDir(h->env.tempFolder()).filePath(QString::fromLatin1(name));
        if (!writeFileContents(path, bytes)) qFatal("cannot write %s", name);
        return path;
    }
    void keys(QKeyCombination combination) const {
        QTest::keyClick(f->windowHandle(), combination.key(), combination.keyboardModifiers());
    }

private slots:
    void importIsOneStepThatUndoAndRedoTakeBackAndMakeAgain() {
        QCOMPARE(f->recordList()->accessibleDescription(), records::kEmptyListHint);
        f->loadSampleData();
        QVERIFY(f->recordList()->accessibleDescription() != records::kEmptyListHint);
        const int stepsBefore = f->undoHistory()->count();
        h->dialogs.openFileNames = {file("sales.csv", "Name;Total\nAldo Fennick;100\nNew One;50\nBad;12x\n")};
        keys(QKeyCombination(Qt::ControlModifier, Qt::Key_O));

        QCOMPARE(h->dialogs.importPreviews.size(), std::size_t(1));
        const auto& shown = h->dialogs.importPreviews.front();
        QCOMPARE(shown.source, QStringLiteral("\"sales.csv\""));
        QCOMPARE(shown.separator, std::optional<char>(';'));
        QVERIFY(shown.header);
        QCOMPARE(shown.outcome, QStringLiteral("1 row added, 1 row of the same name updated, 1 line refused."));
        QCOMPARE(shown.refusals, QStringList{"Line 4: \"12x\" is not a number (numbers are read by the rules of the locale en_US)"});
        const Rows imported{{"Aldo Fennick", "100", "10"}, kSampleRows[1], kSampleRows[2], {"New One", "50", "5"}};
        QCOMPARE(h->rows(), imported);
        QCOMPARE(f->undoHistory()->count(), stepsBefore + 1);

        keys(QKeyCombination(Qt::ControlModifier, Qt::Key_Z));
        QCOMPARE(h->rows(), kSampleRows);
        keys(QKeyCombination(Qt::ControlModifier, Qt::Key_Y));
        QCOMPARE(h->rows(), imported);

        // Cancel, and a preview whose choices leave nothing to do, change nothing.
        h->dialogs.importAnswers = {[](shell::ImportPreview&) { return false; },
                                    [](shell::ImportPreview& p) { p.setTotalColumn(0); return true; }};
        for (int i = 0; i < 2; ++i) {
            h->dialogs.openFileNames = {file("more.csv", "Name,Total\nSomeone,1\n")};
            f->importAction()->trigger();
        }
        QCOMPARE(h->rows(), imported);
        QCOMPARE(f->undoHistory()->count(), stepsBefore + 1);
        QVERIFY(h->dialogs.boxes.empty());
    }

    void pasteTakesTheClipboardsRowsOnTheListOnly() {
        QGuiApplication::clipboard()->setText(QStringLiteral("Ann\t1.5\r\nBob\t7\r\n"));
        f->nameEdit()->setFocus();
        keys(QKeyCombination(Qt::ControlModifier, Qt::Key_V));
        QCOMPARE(f->nameEdit()->text(), QGuiApplication::clipboard()->text());  // a field pastes text
        QCOMPARE(f->recordCount(), 0);

        f->recordList()->setFocus();
        keys(QKeyCombination(Qt::ControlModifier, Qt::Key_V));
        QCOMPARE(h->rows(), (Rows{{"Ann", "1.5", "0.15"}, {"Bob", "7", "0.7"}}));
        QCOMPARE(h->dialogs.importPreviews.back().source, QStringLiteral("the clipboard"));

        auto* html = new QMimeData;
        html->setHtml(QStringLiteral("<table><tr><td>Name</td><td>Sales</td></tr><tr><td>Cy</td><td>20</td></tr>"
                                     "<tr><td>Ann</td><td>3</td></tr></table>"));
        QGuiApplication::clipboard()->setMimeData(html);
        keys(QKeyCombination(Qt::ControlModifier, Qt::Key_V));
        QCOMPARE(h->rows(), (Rows{{"Ann", "3", "0.3"}, {"Bob", "7", "0.7"}, {"Cy", "20", "2"}}));

        QGuiApplication::clipboard()->clear();
        keys(QKeyCombination(Qt::ControlModifier, Qt::Key_V));
        QCOMPARE(h->dialogs.boxes.back().text, records::kNothingToPasteMessage);
        QCOMPARE(f->recordCount(), 3);
    }

    void aFileDroppedOnTheWindowIsImported() {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(file("dropped.csv", "Dee,40\nEd,\n"))});
        const QPoint at = f->recordList()->viewport()->mapTo(f, f->recordList()->viewport()->rect().center());
        QWindow* window = f->windowHandle();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        QVERIFY(enter.isAccepted());
        // The platform's move carries on what the enter answered.
        QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        move.setDropAction(enter.dropAction());
        move.setAccepted(true);
        QCoreApplication::sendEvent(window, &move);
        QVERIFY(move.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &drop);
        QTRY_COMPARE(h->rows(), (Rows{{"Dee", "40", "4"}, {"Ed", "", ""}}));
        QCOMPARE(h->dialogs.importPreviews.back().source, QStringLiteral("\"dropped.csv\""));
    }
};

QTEST_MAIN(MainWindowImport)
#include "tst_main_window_import.moc"
#include "moc_main_window_harness.cpp"
