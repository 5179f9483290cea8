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
    static constexpr int kMaxRows = kMaxRecords;

    explicit RecordListView(QWidget* parent = nullptr);
    ~RecordListView() override;

    // Appends a column with the header text; its width is given in twips.
    void addColumn(const QString& header);
    void setColumnWidthTwips(int column, int twips);

    int rowCount() const;
    bool isFull() const { return rowCount() >= kMaxRows; }
    CommissionRecord row(int position) const;
    // Every row in display order.
    QList<CommissionRecord> rows() const;

    // Appends a row with the name and empty amounts; returns its position.
    int appendRow(const QString& name);
    void setTotal(int position, const QString& text);
    void setCommission(int position, const QString& text);

    // Position of the first row with exactly this name (case-sensitive, untrimmed); 0 when none.
    int findName(const QString& name) const;

    // Position of the selected row; 0 when none.
    int selectedPosition() const;
    void selectRow(int position);
    // Selects the row at the position, or no row for 0.
    void setSelectedPosition(int position);
    // Removes the selected row; fails when no row is selected.
    void removeSelected();
    void removeAll();
    // Replaces the count rows from the position on by the given rows (a count of
    // 0 inserts them there).
    void replaceRows(int position, int count, const QList<CommissionRecord>& rows);

protected:
    // An empty list shows a one-line hint of the ways rows come in.
    void paintEvent(QPaintEvent* event) override;

private:
    // The hint is the empty list's accessible description too.
    void describeEmptiness();

    QTreeWidgetItem* itemAt(int position) const;
};

}  // namespace records
