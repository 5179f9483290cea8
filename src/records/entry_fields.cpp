// The entry-field rules: the percentage stored on every change and checked on
// leaving its field; the total checked, and the commission recalculated, on every
// change. None of these handlers shows a message or lets a failure escape.
#include "records/form1.h"
#include "records/select_all_line_edit.h"
#include "shell/error_trap.h"
#include "shell/locale_number.h"
#include "shell/settings_store.h"

#include <QPointer>
#include <QTimer>

namespace records {

void Form1::txtCommissionrate_Change() {
    // A store that cannot be written loses this value only; typing goes on.
    shell::untrapped([&] {
        shell::SaveProgramSetting(QString::fromLatin1(shell::kKeyCommissionRate), m_txtCommissionrate->text());
    });
}

void Form1::txtCommissionrate_LostFocus() {
    shell::untrapped([&] {
        const QString rate = m_txtCommissionrate->text();
        if (rate.isEmpty()) return;
        if (shell::IsNumeric(rate)) {
            if (shell::IsNumeric(m_txtTotalSalesAmount->text())) ShowCommission(m_txtTotalSalesAmount->text(), rate);
            return;
        }
        // A percentage that is no number keeps the focus. The focus is taken back
        // once the move that took it away has finished; by then another rule (the
        // total's) may have moved it again, and the text may have been mended.
        QPointer<SelectAllLineEdit> field(m_txtCommissionrate);
        QTimer::singleShot(0, this, [field] {
            if (field && field->isVisible() && !field->text().isEmpty() && !shell::IsNumeric(field->text()))
                field->setFocus(Qt::OtherFocusReason);
        });
    });
}

void Form1::txtTotalSalesAmount_Change() {
    shell::untrapped([&] {
        const QString total = m_txtTotalSalesAmount->text();
        if (total.isEmpty()) return;
        if (!shell::IsNumeric(total)) {
            m_txtTotalSalesAmount->setFocus(Qt::OtherFocusReason);
            return;
        }
        const QString rate = m_txtCommissionrate->text();
        if (!shell::IsNumeric(rate)) return;
        if (shell::ToDouble(rate) == 0.0)
            m_txtCommission->setText(QStringLiteral("0"));
        else
            ShowCommission(total, rate);
    });
}

// The commission of two numeric texts; a result that has no text (an overflow)
// leaves the commission as it was.
void Form1::ShowCommission(const QString& total, const QString& rate) {
    if (const auto text = shell::CommissionText(shell::ToDouble(total), shell::ToDouble(rate)))
        m_txtCommission->setText(*text);
}

}  // namespace records
