// The record list commands: Add Record, Delete Selected Record, Clear/Reset Data,
// Load Sample/Example Data, Clear Text Fields, and the row click.
#include "records/form1.h"
#include "records/record_list_view.h"
#include "records/record_messages.h"
#include "records/saved_list_codec.h"
#include "records/select_all_line_edit.h"
#include "shell/dialogs.h"
#include "shell/error_trap.h"

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

bool Form1::SalespersonInList(const QString& name) const { return m_listView1->FindName(name) != 0; }

void Form1::ClearTextFields() {
    m_txtSaleperson->setText(QString());
    m_txtTotalSalesAmount->setText(QString());
    m_txtCommission->setText(QString());
    m_txtSaleperson->setFocus();
}

// The saved list has no escaping: a text holding one of its separators would not
// come back as entered, so such a record is refused before anything changes.
bool Form1::RefuseUnstorableTexts() {
    if (!ContainsSeparator(m_txtSaleperson->text()) && !ContainsSeparator(m_txtTotalSalesAmount->text()) &&
        !ContainsSeparator(m_txtCommission->text()))
        return false;
    shell::MsgBox(kSeparatorRefusedMessage);
    return true;
}

void Form1::PushButton4_Click() {
    shell::Trap trap(shell::ErrorLocation::AddRecord);
    if (RefuseUnstorableTexts()) return;

    const QString name = m_txtSaleperson->text();
    if (trap.condition(100, [&] { return !SalespersonInList(name); })) {
        if (trap.condition(102, [&] { return name.trimmed().isEmpty(); })) {
            trap(104, [&] { shell::MsgBox(kNameMissingMessage); });
            return;
        }
        if (m_listView1->IsFull()) {
            shell::MsgBox(kListFullMessage);
            return;
        }
        int position = 0;
        trap(110, [&] { position = m_listView1->AppendRow(name); });
        trap(112, [&] { m_listView1->SetTotal(position, m_txtTotalSalesAmount->text()); });
        trap(114, [&] { m_listView1->SetCommission(position, m_txtCommission->text()); });
        trap(116, [&] { ClearTextFields(); });
        return;
    }

    const int count = m_listView1->RowCount();  // [118]
    for (int i = 1; i <= count; ++i) {
        if (trap.condition(120, [&] { return m_listView1->Row(i).saleperson == name; })) {
            int position = 0;
            trap(122, [&] { position = i; });
            trap(124, [&] { m_listView1->SetTotal(position, m_txtTotalSalesAmount->text()); });
            trap(126, [&] { m_listView1->SetCommission(position, m_txtCommission->text()); });
            return;
        }
    }  // [128]
}

void Form1::PushButton3_Click() {
    shell::Trap trap(shell::ErrorLocation::DeleteSelectedRecord);
    if (trap.condition(100, [&] { return m_listView1->RowCount() > 0; })) {
        trap(102, [&] { m_listView1->RemoveSelected(); });
        trap(104, [&] { ClearTextFields(); });
    }
}

void Form1::PushButton5_Click() {
    shell::Trap trap(shell::ErrorLocation::ClearAllData);
    // While a generation run has the hourglass up, the rows stay.
    if (trap.condition(100, [&] { return MousePointer() != PointerShape::Busy; }))
        trap(100, [&] { m_listView1->RemoveAll(); });
    trap(102, [&] { m_txtCommissionrate->setText(QString()); });
    trap(104, [&] { m_txtSaleperson->setText(QString()); });
    trap(106, [&] { m_txtTotalSalesAmount->setText(QString()); });
    trap(108, [&] { m_txtCommission->setText(QString()); });
}

void Form1::PushButton6_Click() {
    shell::Trap trap(shell::ErrorLocation::LoadSampleData);
    trap(100, [&] { m_txtCommissionrate->setText(QStringLiteral("10")); });
    trap(102, [&] { m_listView1->RemoveAll(); });
    int line = 104;
    for (const SampleRow& row : kSampleRows) {
        trap(line, [&] { m_txtSaleperson->setText(QString::fromLatin1(row.name)); });
        trap(line + 2, [&] { m_txtTotalSalesAmount->setText(QString::fromLatin1(row.total)); });
        trap(line + 4, [&] { m_txtCommission->setText(QString::fromLatin1(row.commission)); });
        trap(line + 6, [&] { PushButton4_Click(); });
        line += 8;
    }
}

void Form1::PushButton2_Click() {
    shell::Trap trap(shell::ErrorLocation::ClearTextFields);
    trap(100, [&] { ClearTextFields(); });
}

void Form1::ListView1_Click() {
    shell::untrapped([&] {
        const int position = m_listView1->RowCount() > 0 ? m_listView1->SelectedPosition() : 0;
        if (position == 0) return;
        const CommissionRecord row = m_listView1->Row(position);
        m_txtSaleperson->setText(row.saleperson);
        m_txtTotalSalesAmount->setText(row.totalSalesAmount);  // recalculates the commission
        m_txtCommission->setText(row.commissionAmount);       // then shows the row's own
    });
}

}  // namespace records
