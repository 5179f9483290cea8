// The record list commands (Add Record, Delete Selected Record, Clear/Reset Data,
// Load Sample/Example Data, Clear Text Fields, the row click; the four that change
// the list are each recorded as one undo step) and the entry-field
// rules: the percentage stored on every change and checked on leaving its field;
// the total checked, and the commission recalculated, on every change. None of the
// entry-field handlers shows a message or lets a failure escape.
#include "records/main_window_undo_step.h"
#include "records/record_import.h"
#include "records/record_list_view.h"
#include "records/record_messages.h"
#include "records/record_rules.h"
#include "records/saved_list_codec.h"
#include "records/select_all_line_edit.h"
#include "records/stored_numbers.h"
#include "shell/dialogs.h"
#include "shell/error_trap.h"
#include "shell/locale_number.h"
#include "shell/settings_store.h"

#include <QPointer>
#include <QTimer>

namespace records {
namespace {

struct SampleRow {
    const char* name;
    const char* total;
    const char* commission;
};
constexpr SampleRow kSampleRows[] = {
    {"Aldo Fennick", "5600", "560"},
    {"John Smith", "8400", "840"},
    {"Zodo Duvevado", "11100", "1110"},
};

// The statement number Delete Selected Record's error box reports.
namespace step {
constexpr int kRemoveSelected = 102;
}  // namespace step

}  // namespace

void MainWindow::emptyEntryFields() {
    m_nameEdit->setText(QString());
    m_totalEdit->setText(QString());
    m_commissionEdit->setText(QString());
    m_nameEdit->setFocus();
}

// The saved list has no escaping: a text holding one of its separators would not
// come back as entered, and a name with a character that workbooks cannot carry
// would break the files it is written into; such a record is refused before
// anything changes.
bool MainWindow::refuseUnstorableTexts() {
    if (containsSeparator(m_nameEdit->text()) || containsSeparator(m_totalEdit->text()) ||
        containsSeparator(m_commissionEdit->text())) {
        dialogs().showMessage(kSeparatorRefusedMessage);
        return true;
    }
    if (const std::optional<QString> refusal = nameRefusal(m_nameEdit->text())) {
        dialogs().showMessage(nameRefusedMessage(*refusal));
        return true;
    }
    return false;
}

void MainWindow::addRecord() {
    const UndoStep undoStep(*this, "Add Record");
    if (refuseUnstorableTexts()) return;

    const QString name = m_nameEdit->text();
    if (const int listed = m_recordList->findName(name)) {
        // The row of the same name takes the amounts; the fields stay.
        m_recordList->setTotal(listed, m_totalEdit->text());
        m_recordList->setCommission(listed, m_commissionEdit->text());
        return;
    }
    if (name.trimmed().isEmpty()) {
        dialogs().showMessage(kNameMissingMessage);
        return;
    }
    if (m_recordList->isFull()) {
        dialogs().showMessage(kListFullMessage);
        return;
    }
    const int position = m_recordList->appendRow(name);
    m_recordList->setTotal(position, m_totalEdit->text());
    m_recordList->setCommission(position, m_commissionEdit->text());
    emptyEntryFields();
}

void MainWindow::deleteSelectedRecord() {
    const UndoStep undoStep(*this, "Delete Selected Record");
    shell::Trap trap(dialogs(), shell::ErrorLocation::DeleteSelectedRecord);
    if (m_recordList->rowCount() == 0) return;
    // Rows but none selected: the box says so, and the fields are emptied all the same.
    trap(step::kRemoveSelected, [&] { m_recordList->removeSelected(); });
    emptyEntryFields();
}

void MainWindow::clearAllData() {
    const UndoStep undoStep(*this, "Clear/Reset Data");
    // While a generation run has the hourglass up, the rows stay.
    if (m_pointerShape != PointerShape::Busy) m_recordList->removeAll();
    m_percentageEdit->setText(QString());
    m_nameEdit->setText(QString());
    m_totalEdit->setText(QString());
    m_commissionEdit->setText(QString());
}

void MainWindow::loadSampleData() {
    const UndoStep undoStep(*this, "Load Sample/Example Data");
    m_percentageEdit->setText(QStringLiteral("10"));
    m_recordList->removeAll();
    for (const SampleRow& row : kSampleRows) {
        m_nameEdit->setText(QString::fromLatin1(row.name));
        m_totalEdit->setText(QString::fromLatin1(row.total));
        m_commissionEdit->setText(QString::fromLatin1(row.commission));
        addRecord();
    }
}

void MainWindow::clearTextFields() { emptyEntryFields(); }

void MainWindow::selectRecord() {
    shell::untrapped([&] {
        const int position = m_recordList->rowCount() > 0 ? m_recordList->selectedPosition() : 0;
        if (position == 0) return;
        const CommissionRecord row = m_recordList->row(position);
        m_nameEdit->setText(row.saleperson);
        m_totalEdit->setText(row.totalSalesAmount);       // recalculates the commission
        m_commissionEdit->setText(row.commissionAmount);  // then shows the row's own
    });
}

// --- entry-field rules ---

void MainWindow::percentageChanged() {
    // A store that cannot be written is said once; typing goes on.
    try {
        shell::writeProgramSettings({{QString::fromLatin1(shell::kKeyCommissionRate), m_percentageEdit->text()},
                                    {QString::fromLatin1(shell::kKeyNumberLocale), numberLocaleInForce()}});
        m_percentageNotStoredSaid = false;
    } catch (const std::exception& failure) {
        if (m_percentageNotStoredSaid) return;
        m_percentageNotStoredSaid = true;
        shell::untrapped([&] { dialogs().showMessage(percentageNotStoredMessage(shell::describe(failure)), shell::BoxButtons::Ok, shell::BoxIcon::Warning); });
    }
}

void MainWindow::percentageEditingFinished() {
    shell::untrapped([&] {
        const QString rate = m_percentageEdit->text();
        if (rate.isEmpty()) return;
        if (shell::isNumeric(rate)) {
            showCommission(m_totalEdit->text(), rate);
            return;
        }
        // A percentage that is no number keeps the focus. The focus is taken back
        // once the move that took it away has finished; by then another rule (the
        // total's) may have moved it again, and the text may have been mended.
        QPointer<SelectAllLineEdit> field(m_percentageEdit);
        QTimer::singleShot(0, this, [field] {
            if (field && field->isVisible() && !field->text().isEmpty() && !shell::isNumeric(field->text()))
                field->setFocus(Qt::OtherFocusReason);
        });
    });
}

void MainWindow::totalChanged() {
    shell::untrapped([&] {
        const QString total = m_totalEdit->text();
        if (total.isEmpty()) return;
        if (!shell::isNumeric(total)) {
            m_totalEdit->setFocus(Qt::OtherFocusReason);
            return;
        }
        // A percentage that is no number, or a product without a text (an
        // overflow), leaves the commission as it was.
        showCommission(total, m_percentageEdit->text());
    });
}

void MainWindow::showCommission(const QString& total, const QString& rate) {
    if (const std::optional<QString> commission = typedCommission(total, rate)) m_commissionEdit->setText(*commission);
}

}  // namespace records
