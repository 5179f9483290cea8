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
namespace {

// The statement numbers the error boxes report.
namespace step {
// The load.
constexpr int kApplySkin = 102;
constexpr int kLoadHandCursor = 110;
constexpr int kReadSavedList = 148;
constexpr int kReadPercentage = 152;
constexpr int kSavedListTooLong = 160;
constexpr int kRestoreTotal = 162;
constexpr int kRestoreCommission = 164;
constexpr int kStoreConvertedNumbers = 170;
// The close request.
constexpr int kStoreRecordList = 108;
// Start Creating Template.
constexpr int kRunGeneration = 106;
}  // namespace step

}  // namespace

void MainWindow::load() {
    shell::Trap trap(dialogs(), shell::ErrorLocation::MainWindowLoad);
    trap(step::kApplySkin,
         [&] { shell::applySkin(*this, m_context.programFile(QString::fromLatin1(shell::kSkinFile))); });
    trap(step::kLoadHandCursor, [&] {
        setWindowTitle(QString::fromLatin1(shell::kProductName));
        setWindowIcon(QIcon(QStringLiteral(":/quenvale.png")));
        setUpdatesEnabled(false);
        const QString cursorFile = m_context.programFile(QString::fromLatin1(shell::kHandCursorFile));
        if (shell::fileExists(cursorFile)) loadCustomPointer(cursorFile);
    });

    QString saved;
    QString numberLocale;
    trap(step::kReadSavedList, [&] {
        setUpdatesEnabled(true);
        repaint();
        for (const char* title : kColumnTitles) m_recordList->addColumn(QString::fromLatin1(title));
        m_recordList->setColumnWidthTwips(0, 2600);
        m_recordList->setColumnWidthTwips(1, 2200);
        m_recordList->setColumnWidthTwips(2, 2400);
        saved = shell::readProgramSetting(QString::fromLatin1(shell::kKeyCommissionList));
        numberLocale = shell::readProgramSetting(QString::fromLatin1(shell::kKeyNumberLocale));
    });
    // Amounts typed under another locale's number rules are read under the rules in force.
    const StoredNumberTexts stored(numberLocale);
    QStringList recordTexts;
    QStringList unreadable;
    trap(step::kReadPercentage, [&] {
        recordTexts = splitRecordTexts(saved);
        const QString rate =
            shell::readProgramSetting(QString::fromLatin1(shell::kKeyCommissionRate), QStringLiteral("10"));
        const std::optional<QString> inForce = stored.inForce(rate);
        if (!inForce) unreadable << QStringLiteral("the commission percentage \"%1\"").arg(rate);
        m_percentageEdit->setText(inForce.value_or(rate));
    });
    restoreSavedRecords(trap, recordTexts, stored, unreadable);
    if (stored.convert()) {
        // The store follows at once, so that every text in it reads under the locale it records.
        trap(step::kStoreConvertedNumbers, [&] {
            if (!unreadable.isEmpty())
                dialogs().showMessage(unreadableNumbersMessage(stored.storedLocale(), unreadable));
            shell::writeProgramSettings({{QString::fromLatin1(shell::kKeyCommissionList), encodedRecordList()},
                                         {QString::fromLatin1(shell::kKeyCommissionRate), m_percentageEdit->text()},
                                         {QString::fromLatin1(shell::kKeyNumberLocale), numberLocaleInForce()}});
        });
    }
}

void MainWindow::loadCustomPointer(const QString& cursorFile) {
    m_customPointer = shell::loadCursorFile(cursorFile);
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
    for (const QString& recordText : recordTexts) {
        if (recordText.isEmpty()) continue;
        if (m_recordList->isFull()) {
            // More records than the list can hold: say so once and keep the rows read.
            trap(step::kSavedListTooLong, [] { throw shell::Failure(kSavedListTooLongFailure); });
            break;
        }
        // A record text always has its name; the amounts may be missing.
        const QStringList fields = splitFields(recordText);
        const QString& name = fields.first();
        int position = 0;
        trap(step::kRestoreTotal, [&] {
            position = m_recordList->appendRow(name);
            m_recordList->setTotal(position, inForce(name, QStringLiteral("total"), fieldAt(fields, 1)));
        });
        trap(step::kRestoreCommission, [&] {
            m_recordList->setCommission(position, inForce(name, QStringLiteral("commission"), fieldAt(fields, 2)));
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
    shell::Trap trap(dialogs(), shell::ErrorLocation::MainWindowClose);
    return trap(step::kStoreRecordList, [&] {
        shell::writeProgramSettings({{QString::fromLatin1(shell::kKeyCommissionList), encodedRecordList()},
                                     {QString::fromLatin1(shell::kKeyNumberLocale), numberLocaleInForce()}});
    });
}

bool MainWindow::storeRecordListBeforeEnd() {
    if (storeRecordList()) return true;
    // The box above said why; the list typed this session lives only in the window.
    return dialogs().showMessage(kListNotStoredQuestion, shell::BoxButtons::YesNo, shell::BoxIcon::Warning) ==
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
    shell::Trap trap(dialogs(), shell::ErrorLocation::StartCreatingTemplate);
    trap(step::kRunGeneration, [&] {
        setUpdatesEnabled(false);
        setPointerShape(PointerShape::Busy);
        m_services.runGeneration();
    });
    // After a failed run too: the window thaws under the arrow.
    setPointerShape(PointerShape::Default);
    setUpdatesEnabled(true);
}

}  // namespace records
