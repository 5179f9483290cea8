// The main window from load to close, and the create-template command.
#include "records/main_window.h"

#include "records/record_list_view.h"
#include "records/record_messages.h"
#include "records/saved_list_codec.h"
#include "records/select_all_line_edit.h"
#include "records/stored_numbers.h"
#include "shell/cursor_file.h"
#include "shell/dialogs.h"
#include "shell/error_trap.h"
#include "shell/settings_store.h"
#include "shell/startup_services.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>

namespace records {

void MainWindow::load() {
    shell::Trap trap(shell::ErrorLocation::MainWindowLoad);
    trap(102, [&] { shell::applySkin(this); });
    trap(104, [&] { setWindowTitle(QString::fromLatin1(shell::kProductName)); });
    trap(104, [&] { setWindowIcon(QIcon(QStringLiteral(":/quenvale.png"))); });
    trap(104, [&] { shell::setAppTitle(); });
    trap(106, [&] { setUpdatesEnabled(false); });
    if (trap.condition(
            108, [&] { return shell::fileExists(shell::programFile(QString::fromLatin1(shell::kHandCursorFile))); }))
        trap(110, [&] { loadCustomPointer(); });
    trap(132, [&] { setUpdatesEnabled(true); });
    trap(134, [&] { repaint(); });

    trap(136, [&] { m_recordList->addColumn(QString::fromLatin1(kColumnTitles[0])); });
    trap(138, [&] { m_recordList->addColumn(QString::fromLatin1(kColumnTitles[1])); });
    trap(140, [&] { m_recordList->addColumn(QString::fromLatin1(kColumnTitles[2])); });
    trap(142, [&] { m_recordList->setColumnWidthTwips(0, 2600); });
    trap(144, [&] { m_recordList->setColumnWidthTwips(1, 2200); });
    trap(146, [&] { m_recordList->setColumnWidthTwips(2, 2400); });

    QString saved;
    QString numberLocale;
    trap(148, [&] {
        saved = shell::readProgramSetting(QString::fromLatin1(shell::kKeyCommissionList));
        numberLocale = shell::readProgramSetting(QString::fromLatin1(shell::kKeyNumberLocale));
    });
    QStringList recordTexts;
    trap(150, [&] { recordTexts = splitRecordTexts(saved); });
    // Amounts typed under another locale's number rules are read under the rules in force.
    const StoredNumberTexts stored(numberLocale);
    QStringList unreadable;
    trap(152, [&] {
        const QString rate =
            shell::readProgramSetting(QString::fromLatin1(shell::kKeyCommissionRate), QStringLiteral("10"));
        const std::optional<QString> inForce = stored.inForce(rate);
        if (!inForce) unreadable << QStringLiteral("the commission percentage \"%1\"").arg(rate);
        m_percentageEdit->setText(inForce.value_or(rate));
    });
    restoreSavedRecords(trap, recordTexts, stored, unreadable);
    if (stored.convert()) {
        if (!unreadable.isEmpty()) shell::showMessage(unreadableNumbersMessage(stored.storedLocale(), unreadable));
        // The store follows at once, so that every text in it reads under the locale it records.
        trap(170, [&] {
            shell::writeProgramSettings({{QString::fromLatin1(shell::kKeyCommissionList), encodedRecordList()},
                                        {QString::fromLatin1(shell::kKeyCommissionRate), m_percentageEdit->text()},
                                        {QString::fromLatin1(shell::kKeyNumberLocale), numberLocaleInForce()}});
        });
    }
}

void MainWindow::loadCustomPointer() {
    m_customPointer = shell::loadCursorFile(shell::programFile(QString::fromLatin1(shell::kHandCursorFile)));
    if (m_pointerShape == PointerShape::Custom) setPointerShape(PointerShape::Custom);
}

// Rows from the saved record texts; a missing field is reported and decoding goes on.
// Amounts are moved to the number rules in force; those that are no numbers under
// the rules they were kept under stay as they were and are named in unreadable.
void MainWindow::restoreSavedRecords(shell::Trap& trap, const QStringList& recordTexts,
                                     const StoredNumberTexts& stored, QStringList& unreadable) {
    const auto inForce = [&](const QString& name, const QString& what, const QString& text) {
        const std::optional<QString> moved = stored.inForce(text);
        if (!moved) unreadable << QStringLiteral("the %1 \"%2\" of %3").arg(what, text, name);
        return moved.value_or(text);
    };
    for (const QString& recordText : recordTexts) {  // [154] ... [166]
        if (recordText.isEmpty()) continue;          // [156]
        if (m_recordList->isFull()) {
            // More records than the list can hold: say so once and keep the rows read.
            trap(160, [] { throw shell::Failure(kSavedListTooLongFailure); });
            break;
        }
        QStringList fields;
        trap(158, [&] { fields = splitFields(recordText); });
        int position = 0;
        trap(160, [&] { position = m_recordList->appendRow(fieldAt(fields, 0)); });
        trap(162, [&] {
            m_recordList->setTotal(position, inForce(fieldAt(fields, 0), QStringLiteral("total"), fieldAt(fields, 1)));
        });
        trap(164, [&] {
            m_recordList->setCommission(position,
                                        inForce(fieldAt(fields, 0), QStringLiteral("commission"), fieldAt(fields, 2)));
        });
    }
}

QString MainWindow::encodedRecordList() const {
    QString value;
    for (int i = 1; i <= m_recordList->rowCount(); ++i) {
        const CommissionRecord row = m_recordList->row(i);
        value += encodeRecord(row.saleperson, row.totalSalesAmount, row.commissionAmount);
    }
    return value;
}

bool MainWindow::storeRecordList() {
    shell::Trap trap(shell::ErrorLocation::MainWindowClose);
    QString value;
    trap(104, [&] { value = encodedRecordList(); });
    return trap(108, [&] {
        shell::writeProgramSettings({{QString::fromLatin1(shell::kKeyCommissionList), value},
                                    {QString::fromLatin1(shell::kKeyNumberLocale), numberLocaleInForce()}});
    });
}

bool MainWindow::storeRecordListBeforeEnd() {
    if (storeRecordList()) return true;
    // The box above said why; the list typed this session lives only in the window.
    return shell::showMessage(kListNotStoredQuestion, shell::BoxButtons::YesNo, shell::BoxIcon::Warning) ==
           shell::BoxAnswer::Yes;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!storeRecordListBeforeEnd()) {
        event->ignore();
        return;
    }
    event->accept();
    // Closing this window ends the program, also while the preview window is hidden.
    QCoreApplication::quit();
}

void MainWindow::startCreatingTemplate() {
    shell::Trap trap(shell::ErrorLocation::StartCreatingTemplate);
    trap(100, [&] { setUpdatesEnabled(false); });
    trap(104, [&] { setPointerShape(PointerShape::Busy); });
    trap(106, [&] { m_services.runGeneration(); });
    trap(108, [&] { setPointerShape(PointerShape::Default); });
    trap(110, [&] { setUpdatesEnabled(true); });
}

}  // namespace records
