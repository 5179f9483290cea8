// The main window from load to close, and the create-template command.
#include "records/main_window.h"

#include "records/record_list_view.h"
#include "records/record_messages.h"
#include "records/saved_list_codec.h"
#include "records/select_all_line_edit.h"
#include "shell/cursor_file.h"
#include "shell/error_trap.h"
#include "shell/settings_store.h"
#include "shell/startup_services.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>

namespace records {

void MainWindow::load() {
    shell::Trap trap(shell::ErrorLocation::MainWindowLoad);
    trap(102, [&] { shell::ApplySkin(this); });
    trap(104, [&] { setWindowTitle(QString::fromLatin1(shell::kProductName)); });
    trap(104, [&] { setWindowIcon(QIcon(QStringLiteral(":/quenvale.png"))); });
    trap(104, [&] { shell::SetAppTitle(); });
    trap(106, [&] { setUpdatesEnabled(false); });
    if (trap.condition(
            108, [&] { return shell::FileExists(shell::ProgramFile(QString::fromLatin1(shell::kHandCursorFile))); }))
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
    trap(148, [&] { saved = shell::GetProgramSetting(QString::fromLatin1(shell::kKeyCommissionList)); });
    QStringList recordTexts;
    trap(150, [&] { recordTexts = SplitRecordTexts(saved); });
    trap(152, [&] {
        m_percentageEdit->setText(
            shell::GetProgramSetting(QString::fromLatin1(shell::kKeyCommissionRate), QStringLiteral("10")));
    });
    restoreSavedRecords(trap, recordTexts);
    trap(168, [&] { m_services.checkEngineAvailable(); });
}

void MainWindow::loadCustomPointer() {
    m_customPointer = shell::LoadCursorFile(shell::ProgramFile(QString::fromLatin1(shell::kHandCursorFile)));
    if (m_pointerShape == PointerShape::Custom) setPointerShape(PointerShape::Custom);
}

// Rows from the saved record texts; a missing field is reported and decoding goes on.
void MainWindow::restoreSavedRecords(shell::Trap& trap, const QStringList& recordTexts) {
    for (const QString& recordText : recordTexts) {  // [154] ... [166]
        if (recordText.isEmpty()) continue;          // [156]
        if (m_recordList->isFull()) {
            // More records than the list can hold: say so once and keep the rows read.
            trap(160, [] { throw shell::Failure(kSavedListTooLongFailure); });
            break;
        }
        QStringList fields;
        trap(158, [&] { fields = SplitFields(recordText); });
        int position = 0;
        trap(160, [&] { position = m_recordList->appendRow(FieldAt(fields, 0)); });
        trap(162, [&] { m_recordList->setTotal(position, FieldAt(fields, 1)); });
        trap(164, [&] { m_recordList->setCommission(position, FieldAt(fields, 2)); });
    }
}

void MainWindow::storeRecordList() {
    shell::Trap trap(shell::ErrorLocation::MainWindowClose);
    QString value;
    trap(100, [&] { value.clear(); });
    const int count = m_recordList->rowCount();  // [102]
    for (int i = 1; i <= count; ++i) {
        trap(104, [&] {
            const CommissionRecord row = m_recordList->row(i);
            value += EncodeRecord(row.saleperson, row.totalSalesAmount, row.commissionAmount);
        });
    }  // [106]
    trap(108, [&] { shell::SaveProgramSetting(QString::fromLatin1(shell::kKeyCommissionList), value); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    storeRecordList();
    event->accept();
    // Closing this window ends the program, also while the preview window is hidden.
    QCoreApplication::quit();
}

void MainWindow::startCreatingTemplate() {
    shell::Trap trap(shell::ErrorLocation::StartCreatingTemplate);
    trap(100, [&] { setUpdatesEnabled(false); });
    bool stop = false;
    trap(102, [&] { stop = m_services.shouldStopBeforeGeneration(); });
    if (!stop) {
        trap(104, [&] { setPointerShape(PointerShape::Busy); });
        trap(106, [&] { m_services.runGeneration(); });
        trap(108, [&] { setPointerShape(PointerShape::Default); });
    }
    trap(110, [&] { setUpdatesEnabled(true); });
}

}  // namespace records
