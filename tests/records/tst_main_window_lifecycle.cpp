// The main window from load to close: first start, the saved list and percentage,
// the load's error boxes, the create-template command, layout and pointer rules.
#include "main_window_harness.h"
#include "records/record_messages.h"
#include "records/saved_list_codec.h"
#include "shell/startup_services.h"

#include <QBuffer>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QtEndian>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QRegularExpression>

using records::CommissionRecord;
using records::PointerShape;

class MainWindowLifecycle : public QObject {
    Q_OBJECT
    std::unique_ptr<MainWindowHarness> h;

    // A 32 x 32 cursor file with the given hot spot: an icon file whose type says
    // cursor and whose entry holds the hot spot.
    static void writeCursorFile(const QString& path, QPoint hotSpot) {
        QImage image(32, 32, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        for (int i = 0; i < 32; ++i) image.setPixel(i, i, qRgba(0, 0, 0, 255));
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(image.save(&buffer, "ico"));
        QByteArray bytes = buffer.data();
        qToLittleEndian<quint16>(2, bytes.data() + 2);
        qToLittleEndian<quint16>(quint16(hotSpot.x()), bytes.data() + 10);
        qToLittleEndian<quint16>(quint16(hotSpot.y()), bytes.data() + 12);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static void moveOver(QWidget* widget) {
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &move);
    }

private slots:
    void init() { h = std::make_unique<MainWindowHarness>(); }
    void cleanup() { h.reset(); }

    void firstStartOnAnEmptyStore() {
        records::MainWindow& f = h->start();
        QCOMPARE(f.recordCount(), 0);
        QCOMPARE(f.percentageEdit()->text(), QStringLiteral("10"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Quenvale"));
        QVERIFY(h->dialogs.boxes.empty());
        QTRY_COMPARE(QApplication::focusWidget(), f.percentageEdit());
        QTRY_COMPARE(f.percentageEdit()->selectedText(), QStringLiteral("10"));
        QCOMPARE(f.percentageEdit()->cursorPosition(), 0);

        QTreeWidget* list = f.recordList();
        QCOMPARE(list->columnCount(), 3);
        QCOMPARE(list->headerItem()->text(0), QStringLiteral("Saleperson"));
        QCOMPARE(list->headerItem()->text(1), QStringLiteral("Total Sales Amount ($)"));
        QCOMPARE(list->headerItem()->text(2), QStringLiteral("Commission Amount ($)"));
        QCOMPARE(list->columnWidth(0), 173);  // 2600 twips
        QCOMPARE(list->columnWidth(1), 147);  // 2200 twips
        QCOMPARE(list->columnWidth(2), 160);  // 2400 twips
        QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(!list->rootIsDecorated());
    }

    void closeThenRestartShowsTheSameRowsAndPercentage() {
        records::MainWindow& f = h->start();
        f.loadSampleData();
        f.nameEdit()->setText(QStringLiteral("  Pad "));
        f.totalEdit()->setText(QString());
        f.commissionEdit()->setText(QStringLiteral(" x "));
        f.addRecord();
        f.percentageEdit()->setText(QStringLiteral("12a"));
        const Rows before = h->rows();
        h->closeWindow();
        QCOMPARE(MainWindowHarness::stored(shell::kKeyCommissionList),
                 QStringLiteral("Aldo Fennick||SEP1||5600||SEP1||560||SEP2||John Smith||SEP1||8400||SEP1||840||SEP2||"
                                "Zodo Duvevado||SEP1||11100||SEP1||1110||SEP2||  Pad ||SEP1||||SEP1|| x ||SEP2||"));

        records::MainWindow& again = h->start();
        QCOMPARE(h->rows(), before);
        QCOMPARE(again.percentageEdit()->text(), QStringLiteral("12a"));
        QVERIFY(h->dialogs.boxes.empty());
    }

    // A list typed under one locale reads the same under another: its amounts move
    // to the rules in force, and one that is no number under its own rules is named.
    void aListTypedUnderOneLocaleKeepsItsValuesUnderAnother() {
        {
            const ScopedDefaultLocale german(QLocale(QLocale::German, QLocale::Germany));
            records::MainWindow& f = h->start();
            f.percentageEdit()->setText(QStringLiteral("1,5"));
            h->enter(QStringLiteral("Ann"), QStringLiteral("1.500,25"), QStringLiteral("22,50375"));
            f.addRecord();
            h->enter(QStringLiteral("Bob"), QStringLiteral("12x"), QString());
            f.addRecord();
            h->closeWindow();
        }
        QCOMPARE(MainWindowHarness::stored(shell::kKeyNumberLocale), QStringLiteral("de_DE"));
        records::MainWindow& f = h->start();  // en_US
        QCOMPARE(f.percentageEdit()->text(), QStringLiteral("1.5"));
        QCOMPARE(h->rows(), Rows({{"Ann", "1,500.25", "22.50375"}, {"Bob", "12x", ""}}));
        QCOMPARE(h->dialogs.boxes.size(), size_t(1));
        QVERIFY2(h->dialogs.boxes[0].text.contains(QStringLiteral("de_DE")) &&
                     h->dialogs.boxes[0].text.contains(QStringLiteral("the total \"12x\" of Bob")),
                 qPrintable(h->dialogs.boxes[0].text));
        // The store follows at once: it reads the same at the next start, with no box.
        QCOMPARE(MainWindowHarness::stored(shell::kKeyNumberLocale), QStringLiteral("en_US"));
        QCOMPARE(MainWindowHarness::stored(shell::kKeyCommissionRate), QStringLiteral("1.5"));
        h->closeWindow();
        h->dialogs.clear();
        h->start();
        QCOMPARE(h->rows(), Rows({{"Ann", "1,500.25", "22.50375"}, {"Bob", "12x", ""}}));
        QVERIFY(h->dialogs.boxes.empty());
    }

    void closingAnEmptyListStoresTheEmptyText() {
        MainWindowHarness::store(shell::kKeyCommissionList, QStringLiteral("A||SEP1||1||SEP1||2||SEP2||"));
        records::MainWindow& f = h->start();
        QCOMPARE(f.recordCount(), 1);
        f.clearAllData();
        h->closeWindow();
        QCOMPARE(MainWindowHarness::stored(shell::kKeyCommissionList), QString());
        QCOMPARE(h->start().recordCount(), 0);
    }

    void missingFieldsAreReportedAndLoadingGoesOn() {
        MainWindowHarness::store(shell::kKeyCommissionList,
                            QStringLiteral("Name only||SEP2||||SEP2||Two||SEP1||5||SEP2||Full||SEP1||1||SEP1||0.1"));
        h->start();
        QCOMPARE(h->rows(), (Rows{{"Name only", "", ""}, {"Two", "5", ""}, {"Full", "1", "0.1"}}));
        const QString load = shell::errorLocationText(shell::ErrorLocation::MainWindowLoad);
        QCOMPARE(h->errorHeads(),
                 (QStringList{errorHead(QStringLiteral("The saved record \"Name only\" has no total sales amount."), load, 162),
                              errorHead(QStringLiteral("The saved record \"Name only\" has no commission amount."), load, 164),
                              errorHead(QStringLiteral("The saved record \"Two\" has no commission amount."), load, 164)}));
    }

    void theSkinFileRecoloursFramesAndLabelsButNotFields() {
        QTemporaryDir folder;
        QDir(folder.path()).mkdir(QStringLiteral("x"));
        QFile skin(folder.filePath(QStringLiteral("x/o.cjs")));
        QVERIFY(skin.open(QIODevice::WriteOnly));
        skin.write("QPushButton { color: #123456; }");
        skin.close();
        h->programFolder = folder.path();
        records::MainWindow& f = h->start();
        QVERIFY(f.styleSheet().contains(QStringLiteral("#123456")));
        QCOMPARE(f.entryFrame()->palette().color(QPalette::Window), shell::buttonFaceColor());
        QCOMPARE(f.findChild<QLabel*>(QStringLiteral("totalLabel"))->palette().color(QPalette::Window),
                 shell::buttonFaceColor());
        QCOMPARE(f.nameEdit()->palette().color(QPalette::Base), QColor(Qt::white));
        QVERIFY(h->dialogs.boxes.empty());
    }

    void withoutSkinFramesAndLabelsAreWhite() {
        QTemporaryDir emptyFolder;
        h->programFolder = emptyFolder.path();
        records::MainWindow& f = h->start();
        QVERIFY(f.styleSheet().isEmpty());
        QCOMPARE(f.percentageFrame()->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(f.findChild<QLabel*>(QStringLiteral("percentSignLabel"))->palette().color(QPalette::Window),
                 QColor(Qt::white));
        QCOMPARE(f.palette().color(QPalette::Window), shell::buttonFaceColor());
    }

    void theHandCursorFileGivesTheCustomPointer() {
        QTemporaryDir folder;
        writeCursorFile(folder.filePath(QStringLiteral("HAND-M.CUR")), QPoint(6, 2));
        h->programFolder = folder.path();
        records::MainWindow& f = h->start();
        QVERIFY(h->dialogs.boxes.empty());
        QCOMPARE(f.customPointer().shape(), Qt::BitmapCursor);
        QCOMPARE(f.customPointer().hotSpot(), QPoint(6, 2));
        QCOMPARE(f.customPointer().pixmap().size(), QSize(32, 32));
        moveOver(f.addRecordButton());
        QCOMPARE(f.cursor().shape(), Qt::BitmapCursor);
    }

    void aDamagedHandCursorFileIsReportedAt110() {
        QTemporaryDir folder;
        QFile damaged(folder.filePath(QStringLiteral("HAND-M.CUR")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray("\0\0\2\0\1\0", 6) + "not a cursor at all");
        damaged.close();
        h->programFolder = folder.path();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^QBuffer::seek")));
        records::MainWindow& f = h->start();
        QCOMPARE(h->errorHeads(),
                 QStringList{errorHead(QDir::toNativeSeparators(damaged.fileName()) + QStringLiteral(" is not a cursor or icon file."),
                                       shell::errorLocationText(shell::ErrorLocation::MainWindowLoad), 110)});
        QCOMPARE(f.customPointer().shape(), Qt::PointingHandCursor);
        QCOMPARE(f.recordCount(), 0);
        QCOMPARE(f.percentageEdit()->text(), QStringLiteral("10"));  // the load went on
    }

    void addingANewNameToAFullListIsRefused() {
        QString value;
        for (int i = 1; i <= records::RecordListView::kMaxRows; ++i)
            value += records::encodeRecord(QStringLiteral("P%1").arg(i), QString::number(i), QString());
        MainWindowHarness::store(shell::kKeyCommissionList, value);
        records::MainWindow& f = h->start();
        QCOMPARE(f.recordCount(), records::RecordListView::kMaxRows);

        f.nameEdit()->setText(QStringLiteral("One more"));
        f.totalEdit()->setText(QStringLiteral("100"));
        f.addRecord();
        QCOMPARE(f.recordCount(), records::RecordListView::kMaxRows);
        QCOMPARE(f.nameEdit()->text(), QStringLiteral("One more"));
        QCOMPARE(f.commissionEdit()->text(), QStringLiteral("10"));
        QCOMPARE(h->dialogs.boxes.size(), size_t(1));
        QCOMPARE(h->dialogs.boxes.front().text, records::kListFullMessage);

        // A listed name is still updated.
        f.nameEdit()->setText(QStringLiteral("P32767"));
        f.addRecord();
        QCOMPARE(f.record(records::RecordListView::kMaxRows), (CommissionRecord{"P32767", "100", "10"}));
        QCOMPARE(h->dialogs.boxes.size(), size_t(1));
    }

    void aSavedListLongerThanTheLimitIsCutWithOneReport() {
        QString value;
        for (int i = 1; i <= records::RecordListView::kMaxRows + 2; ++i)
            value += records::encodeRecord(QStringLiteral("P%1").arg(i), QString(), QString());
        MainWindowHarness::store(shell::kKeyCommissionList, value);
        records::MainWindow& f = h->start();
        QCOMPARE(f.recordCount(), records::RecordListView::kMaxRows);
        QCOMPARE(h->errorHeads(),
                 QStringList{errorHead(records::kSavedListTooLongFailure, shell::errorLocationText(shell::ErrorLocation::MainWindowLoad), 160)});
    }

    void createTemplateRunsTheGenerationUnderTheHourglass() {
        records::MainWindow& f = h->start();
        PointerShape during = PointerShape::Default;
        bool updatesDuring = true;
        h->duringGeneration = [&] {
            during = f.pointerShape();
            updatesDuring = f.updatesEnabled();
            moveOver(f.startCreatingTemplateButton());  // the hourglass survives any movement
            moveOver(f.recordList()->viewport());
            f.clearAllData();      // and keeps the rows
        };
        f.loadSampleData();
        QTest::mouseClick(f.startCreatingTemplateButton(), Qt::LeftButton);
        QCOMPARE(h->generations, 1);
        QCOMPARE(during, PointerShape::Busy);
        QVERIFY(!updatesDuring);
        QCOMPARE(f.recordCount(), 3);
        QCOMPARE(f.pointerShape(), PointerShape::Default);
        QVERIFY(f.updatesEnabled());
    }

    void failuresOfTheCommandAreReportedAndItGoesOn() {
        records::MainWindow f(h->context(), {[] { throw shell::Failure(QStringLiteral("G")); }});
        f.load();
        f.startCreatingTemplate();
        QCOMPARE(h->errorHeads(),
                 QStringList{errorHead("G", shell::errorLocationText(shell::ErrorLocation::StartCreatingTemplate), 106)});
        QCOMPARE(f.pointerShape(), PointerShape::Default);
        QVERIFY(f.updatesEnabled());
    }

    void hoverSetsTheHandOverButtonsAndTheArrowElsewhere() {
        records::MainWindow& f = h->start();
        QCOMPARE(f.pointerShape(), PointerShape::Default);
        const QList<QWidget*> buttons = {f.startCreatingTemplateButton(), f.clearTextFieldsButton(), f.deleteSelectedRecordButton(),
                                         f.addRecordButton(), f.clearAllDataButton(), f.loadSampleDataButton()};
        const QList<QWidget*> others = {&f, f.percentageFrame(), f.entryFrame(), f.recordList()->viewport(),
                                        f.percentageEdit(), f.nameEdit(), f.totalEdit(),
                                        f.commissionEdit()};
        for (QWidget* button : buttons) {
            moveOver(button);
            QCOMPARE(f.pointerShape(), PointerShape::Custom);
            QCOMPARE(f.cursor().shape(), f.customPointer().shape());
            for (QWidget* other : others) {
                moveOver(button);
                moveOver(other);
                QCOMPARE(f.pointerShape(), PointerShape::Default);
            }
        }
        QCOMPARE(f.cursor().shape(), Qt::ArrowCursor);
        // Without the cursor file, the custom pointer is the pointing hand.
        QCOMPARE(f.customPointer().shape(), Qt::PointingHandCursor);

        f.setPointerShape(PointerShape::Busy);
        for (QWidget* w : buttons + others) moveOver(w);
        QCOMPARE(f.pointerShape(), PointerShape::Busy);
        QCOMPARE(f.cursor().shape(), Qt::WaitCursor);
        QCOMPARE(f.nameEdit()->cursor().shape(), Qt::WaitCursor);
    }

    void hoverThroughTheWindowSystem() {
        records::MainWindow& f = h->start();
        QTest::mouseMove(f.addRecordButton(), QPoint(10, 10));
        QTRY_COMPARE(f.pointerShape(), PointerShape::Custom);
        QTest::mouseMove(f.nameEdit(), QPoint(10, 10));
        QTRY_COMPARE(f.pointerShape(), PointerShape::Default);
    }

    void controlsStandWhereTheyWereDesigned() {
        records::MainWindow& f = h->start();
        QCOMPARE(f.size(), QSize(536, 473));  // 8040 x 7095 twips
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QCOMPARE(f.startCreatingTemplateButton()->geometry(), QRect(8, 8, 520, 27));
        QCOMPARE(f.loadSampleDataButton()->geometry(), QRect(272, 42, 256, 27));
        QCOMPARE(f.entryFrame()->geometry(), QRect(8, 135, 520, 151));
        QCOMPARE(f.totalEdit()->geometry(), QRect(168, 49, 334, 23));
        QCOMPARE(f.totalEdit()->parentWidget(), f.entryFrame());
        QCOMPARE(f.clearTextFieldsButton()->geometry(), QRect(264, 112, 240, 27));
        QCOMPARE(f.recordList()->geometry(), QRect(8, 328, 520, 138));
        QCOMPARE(f.percentageEdit()->parentWidget(), f.percentageFrame());

        QCOMPARE(f.percentageFrame()->title(), QStringLiteral("Commission percentage"));
        QCOMPARE(f.loadSampleDataButton()->text(), QStringLiteral("Load Sample/Example Data"));
        QStringList labels;
        for (const QLabel* l : f.findChildren<QLabel*>()) labels << l->text();
        QVERIFY(labels.contains(QStringLiteral("Total Sales Amount:          $")));
        QVERIFY(labels.contains(QStringLiteral("Commission Amount:       $")));

        // Labels whose caption is wider here than designed grow, but stop before their field.
        for (const char* name : {"totalLabel", "commissionLabel"}) {
            const QLabel* l = f.findChild<QLabel*>(QLatin1String(name));
            QVERIFY(l->width() >= 149);
            QVERIFY(l->geometry().right() < f.totalEdit()->x());
            QVERIFY(l->fontMetrics().horizontalAdvance(l->text()) <= l->width() + 2);
        }

        QCOMPARE(f.font().family(), QStringLiteral("Arial"));
        QCOMPARE(f.font().pointSizeF(), 9.0);
        QVERIFY(f.font().bold());
        QCOMPARE(f.deleteSelectedRecordButton()->font().pointSizeF(), 11.25);
        QVERIFY(f.deleteSelectedRecordButton()->font().bold());

        // The tab order runs as designed.
        const QList<QWidget*> order = {f.percentageEdit(), f.nameEdit(), f.totalEdit(),
                                       f.commissionEdit(),     f.addRecordButton(),   f.clearTextFieldsButton(),
                                       f.deleteSelectedRecordButton(),       f.recordList(),     f.clearAllDataButton(),
                                       f.loadSampleDataButton(),       f.startCreatingTemplateButton(),   f.percentageEdit()};
        f.percentageEdit()->setFocus();
        for (qsizetype i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTRY_COMPARE(QApplication::focusWidget(), order[i]);
        }
    }
};

QTEST_MAIN(MainWindowLifecycle)
#include "tst_main_window_lifecycle.moc"
