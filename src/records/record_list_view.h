#pragma once

#include "records/commission_record.h"

#include <QTreeWidget>

namespace records {

// The record list control: a report view with one row per record (name, total,
// commission), addressed by 1-based position, at most one row selected.
// Operations on a position that does not exist throw shell::Failure.
class RecordListView : public QTreeWidget {
    Q_OBJECT
public:
    // Positions and counts are 16-bit signed: the list holds at most this many rows.
    static constexpr int kMaxRows = 32767;

    explicit RecordListView(QWidget* parent = nullptr);

    // Appends a column with the header text; its width is given in twips.
    void AddColumn(const QString& header);
    void SetColumnWidthTwips(int column, int twips);

    int RowCount() const;
    bool IsFull() const { return RowCount() >= kMaxRows; }
    CommissionRecord Row(int position) const;

    // Appends a row with the name and empty amounts; returns its position.
    int AppendRow(const QString& name);
    void SetTotal(int position, const QString& text);
    void SetCommission(int position, const QString& text);

    // Position of the first row with exactly this name (case-sensitive, untrimmed); 0 when none.
    int FindName(const QString& name) const;

    // Position of the selected row; 0 when none.
    int SelectedPosition() const;
    void SelectRow(int position);
    // Removes the selected row; fails when no row is selected.
    void RemoveSelected();
    void RemoveAll();

private:
    QTreeWidgetItem* itemAt(int position) const;
};

}  // namespace records
