#pragma once

#include "records/commission_record.h"

#include <QList>
#include <QUndoCommand>
#include <memory>

class QLineEdit;

namespace records {

class RecordListView;

// What an undo step brings back: the rows in display order, the selected
// position (0: none) and the percentage text.
struct ListState {
    QList<CommissionRecord> rows;
    int selectedPosition = 0;
    QString percentage;
};

// One undo step of the record list. It keeps only what a command changed: the run
// of rows between the rows it left alone at both ends (before and after), the
// selection before and after, and the percentage when the command set another.
// Undo and redo put them back into the list and the percentage field; a changed
// field stores its text as every change of it does.
class ListChange : public QUndoCommand {
public:
    // The step from one state to the next; none when neither the rows nor the
    // percentage differ.
    static std::unique_ptr<ListChange> between(const QString& commandName, const ListState& before,
                                               const ListState& after, RecordListView& list,
                                               QLineEdit& percentageField);

    void undo() override;
    // The first redo is the command itself, which has already run.
    void redo() override;

private:
    struct Side {
        QList<CommissionRecord> rows;  // the changed run
        int selectedPosition = 0;
        QString percentage;
    };

    ListChange(const QString& commandName, RecordListView& list, QLineEdit& percentageField);
    void restore(const Side& from, const Side& to);

    RecordListView& m_list;
    QLineEdit& m_percentageField;
    int m_firstChangedPosition = 1;
    bool m_percentageChanged = false;
    bool m_done = true;
    Side m_before;
    Side m_after;
};

}  // namespace records
