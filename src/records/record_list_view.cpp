#include "records/record_list_view.h"

#include "records/record_messages.h"

#include "shell/failure.h"
#include "shell/twips.h"

#include <QHeaderView>
#include <QPainter>

namespace records {
namespace {
enum Column { kName = 0, kTotal = 1, kCommission = 2 };

CommissionRecord recordOf(const QTreeWidgetItem* item) {
    return {item->text(kName), item->text(kTotal), item->text(kCommission)};
}

QTreeWidgetItem* newItem(const CommissionRecord& record) {
    return new QTreeWidgetItem(QStringList{record.saleperson, record.totalSalesAmount, record.commissionAmount});
}
}  // namespace

RecordListView::RecordListView(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setColumnCount(0);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model(), signal, this, &RecordListView::describeEmptiness);
    connect(model(), &QAbstractItemModel::modelReset, this, &RecordListView::describeEmptiness);
    describeEmptiness();
}

// The tree's model is torn down after this class is gone and resets itself on the
// way; the description must not be asked for then.
RecordListView::~RecordListView() { model()->disconnect(this); }

void RecordListView::describeEmptiness() {
    setAccessibleDescription(rowCount() == 0
                                 ? kEmptyListHint
                                 : QStringLiteral("One row per salesperson; Enter shows the selected row in the fields"));
}

void RecordListView::paintEvent(QPaintEvent* event) {
    QTreeWidget::paintEvent(event);
    if (rowCount() > 0) return;
    QPainter painter(viewport());
    QFont font = painter.font();
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect().adjusted(6, 6, -6, -6), Qt::AlignCenter | Qt::TextWordWrap, kEmptyListHint);
}

void RecordListView::addColumn(const QString& header) {
    const int column = columnCount();
    setColumnCount(column + 1);
    headerItem()->setText(column, header);
}

void RecordListView::setColumnWidthTwips(int column, int twips) {
    if (column < 0 || column >= columnCount())
        throw shell::Failure(QStringLiteral("The record list has no column %1.").arg(column + 1));
    setColumnWidth(column, shell::twipsToPixels(twips));
}

int RecordListView::rowCount() const { return topLevelItemCount(); }

QTreeWidgetItem* RecordListView::itemAt(int position) const {
    if (position < 1 || position > rowCount())
        throw shell::Failure(QStringLiteral("The record list has no row %1.").arg(position));
    return topLevelItem(position - 1);
}

CommissionRecord RecordListView::row(int position) const {
    return recordOf(itemAt(position));
}

QList<CommissionRecord> RecordListView::rows() const {
    QList<CommissionRecord> out;
    const int count = rowCount();
    out.reserve(count);
    for (int i = 0; i < count; ++i) out.append(recordOf(topLevelItem(i)));
    return out;
}

int RecordListView::appendRow(const QString& name) {
    if (isFull())
        throw shell::Failure(kListFullFailure);
    addTopLevelItem(newItem({name, QString(), QString()}));
    return rowCount();
}

void RecordListView::setTotal(int position, const QString& text) { itemAt(position)->setText(kTotal, text); }

void RecordListView::setCommission(int position, const QString& text) {
    itemAt(position)->setText(kCommission, text);
}

int RecordListView::findName(const QString& name) const {
    const int count = rowCount();
    for (int i = 0; i < count; ++i)
        if (topLevelItem(i)->text(kName) == name) return i + 1;
    return 0;
}

int RecordListView::selectedPosition() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? 0 : indexOfTopLevelItem(selected.first()) + 1;
}

void RecordListView::selectRow(int position) {
    QTreeWidgetItem* item = itemAt(position);
    setCurrentItem(item);
    item->setSelected(true);
}

void RecordListView::setSelectedPosition(int position) {
    if (position == 0)
        clearSelection();
    else
        selectRow(position);
}

void RecordListView::removeSelected() {
    const int position = selectedPosition();
    if (position == 0) throw shell::Failure(QStringLiteral("No record is selected."));
    delete takeTopLevelItem(position - 1);
}

void RecordListView::removeAll() { clear(); }

void RecordListView::replaceRows(int position, int count, const QList<CommissionRecord>& rows) {
    const int total = rowCount();
    if (position < 1 || count < 0 || position - 1 + count > total)
        throw shell::Failure(QStringLiteral("The record list has no %1 rows from row %2.").arg(count).arg(position));
    if (total - count + rows.size() > kMaxRows) throw shell::Failure(kListFullFailure);

    if (count == total) {
        clear();
    } else {
        // From the last row of the run, so that fewer rows move up.
        for (int i = position - 1 + count - 1; i >= position - 1; --i) delete takeTopLevelItem(i);
    }
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    for (const CommissionRecord& record : rows) items.append(newItem(record));
    insertTopLevelItems(position - 1, items);
}

}  // namespace records
