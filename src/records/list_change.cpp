#include "records/list_change.h"

#include "records/record_list_view.h"

#include <QLineEdit>
#include <algorithm>

namespace records {

ListChange::ListChange(const QString& commandName, RecordListView& list, QLineEdit& percentageField)
    : QUndoCommand(commandName), m_list(list), m_percentageField(percentageField) {}

std::unique_ptr<ListChange> ListChange::between(const QString& commandName, const ListState& before,
                                                const ListState& after, RecordListView& list,
                                                QLineEdit& percentageField) {
    // Rows a command left alone at the start and at the end are not kept twice.
    const qsizetype shorter = std::min(before.rows.size(), after.rows.size());
    qsizetype head = 0;
    while (head < shorter && before.rows[head] == after.rows[head]) ++head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           before.rows[before.rows.size() - 1 - tail] == after.rows[after.rows.size() - 1 - tail])
        ++tail;

    const bool rowsChanged = head + tail < before.rows.size() || head + tail < after.rows.size();
    const bool percentageChanged = before.percentage != after.percentage;
    if (!rowsChanged && !percentageChanged) return nullptr;

    std::unique_ptr<ListChange> change(new ListChange(commandName, list, percentageField));
    change->m_firstChangedPosition = static_cast<int>(head) + 1;
    change->m_percentageChanged = percentageChanged;
    change->m_before = {before.rows.mid(head, before.rows.size() - head - tail), before.selectedPosition,
                        before.percentage};
    change->m_after = {after.rows.mid(head, after.rows.size() - head - tail), after.selectedPosition,
                       after.percentage};
    return change;
}

void ListChange::undo() {
    restore(m_after, m_before);
    m_done = false;
}

void ListChange::redo() {
    if (!m_done) restore(m_before, m_after);
    m_done = true;
}

void ListChange::restore(const Side& from, const Side& to) {
    m_list.replaceRows(m_firstChangedPosition, static_cast<int>(from.rows.size()), to.rows);
    m_list.setSelectedPosition(to.selectedPosition);
    if (m_percentageChanged) m_percentageField.setText(to.percentage);
}

}  // namespace records
