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

}  // namespace

bool MainWindow::isListed(const QString& name) const { return m_recordList->findName(name) != 0; }

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
        shell::showMessage(kSeparatorRefusedMessage);
        return true;
    }
    if (const std::optional<QString> refusal = nameRefusal(m_nameEdit->text())) {
        shell::showMessage(nameRefusedMessage(*refusal));
        return true;
    }
    return false;
}

void MainWindow::addRecord() {
    const UndoStep undoStep(*this, "Add Record");
    shell::Trap trap(shell::ErrorLocation::AddRecord);
    if (refuseUnstorableTexts()) return;

    const QString name = m_nameEdit->text();
    if (trap.condition(100, [&] { return !isListed(name); })) {
        if (trap.condition(102, [&] { return name.trimmed().isEmpty(); })) {
            trap(104, [&] { shell::showMessage(kNameMissingMessage); });
            return;
        }
        if (m_recordList->isFull()) {
            shell::showMessage(kListFullMessage);
            return;
        }
        int position = 0;
        trap(110, [&] { position = m_recordList->appendRow(name); });
        trap(112, [&] { m_recordList->setTotal(position, m_totalEdit->text()); });
        trap(114, [&] { m_recordList->setCommission(position, m_commissionEdit->text()); });
        trap(116, [&] { emptyEntryFields(); });
        return;
    }

    const int count = m_recordList->rowCount();  // [118]
    for (int i = 1; i <= count; ++i) {
        if (trap.condition(120, [&] { return m_recordList->row(i).saleperson == name; })) {
            int position = 0;
            trap(122, [&] { position = i; });
            trap(124, [&] { m_recordList->setTotal(position, m_totalEdit->text()); });
            trap(126, [&] { m_recordList->setCommission(position, m_commissionEdit->text()); });
            return;
        }
    }  // [128]
}

void MainWindow::deleteSelectedRecord() {
    const UndoStep undoStep(*this, "Delete Selected Record");
    shell::Trap trap(shell::ErrorLocation::DeleteSelectedRecord);
    if (trap.condition(100, [&] { return m_recordList->rowCount() > 0; })) {
        trap(102, [&] { m_recordList->removeSelected(); });
        trap(104, [&] { emptyEntryFields(); });
    }
}

void MainWindow::clearAllData() {
    const UndoStep undoStep(*this, "Clear/Reset Data");
    shell::Trap trap(shell::ErrorLocation::ClearAllData);
    // While a generation run has the hourglass up, the rows stay.
    if (trap.condition(100, [&] { return m_pointerShape != PointerShape::Busy; }))
        trap(100, [&] { m_recordList->removeAll(); });
    trap(102, [&] { m_percentageEdit->setText(QString()); });
    trap(104, [&] { m_nameEdit->setText(QString()); });
    trap(106, [&] { m_totalEdit->setText(QString()); });
    trap(108, [&] { m_commissionEdit->setText(QString()); });
}

void MainWindow::loadSampleData() {
    const UndoStep undoStep(*this, "Load Sample/Example Data");
    shell::Trap trap(shell::ErrorLocation::LoadSampleData);
    trap(100, [&] { m_percentageEdit->setText(QStringLiteral("10")); });
    trap(102, [&] { m_recordList->removeAll(); });
    int line = 104;
    for (const SampleRow& row : kSampleRows) {
        trap(line, [&] { m_nameEdit->setText(QString::fromLatin1(row.name)); });
        trap(line + 2, [&] { m_totalEdit->setText(QString::fromLatin1(row.total)); });
        trap(line + 4, [&] { m_commissionEdit->setText(QString::fromLatin1(row.commission)); });
        trap(line + 6, [&] { addRecord(); });
        line += 8;
    }
}

void MainWindow::clearTextFields() {
    shell::Trap trap(shell::ErrorLocation::ClearTextFields);
    trap(100, [&] { emptyEntryFields(); });
}

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
        shell::untrapped([&] { shell::showMessage(percentageNotStoredMessage(shell::describe(failure)), shell::BoxButtons::Ok, shell::BoxIcon::Warning); });
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
