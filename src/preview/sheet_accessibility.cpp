#include "preview/sheet_accessibility.h"

#include "preview/sheet_canvas.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWindow>
#include <utility>

namespace preview {
namespace {

using TableCell = generator::SheetPicture::TableCell;

// A cell's place in the table's children: row by row, as a sighted user reads.
int childIndex(int row, int column, int columnCount) { return row * columnCount + column; }

// One cell of the sheet's table, known by where it starts; it reads the canvas's
// picture whenever asked, so it always tells what the canvas shows.
class SheetCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    SheetCellAccessible(SheetCanvas* canvas, int row, int column) : m_canvas(canvas), m_row(row), m_column(column) {}

    bool isValid() const override {
        return m_canvas && m_row < m_canvas->picture().tableRowCount() &&
               m_column < m_canvas->picture().tableColumnCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_canvas ? m_canvas->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_canvas); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name && isValid() ? cell().text : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        return m_canvas->onWidget(cell().rect).toAlignedRect().translated(m_canvas->mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override {
        return isValid() && cell().heading ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.focusable = true;
        const TableCell cursor = m_canvas->cursorCell();
        state.focused = m_canvas->hasFocus() && cursor.row == m_row && cursor.column == m_column;
        state.offscreen = !m_canvas->rect().intersects(m_canvas->onWidget(cell().rect).toAlignedRect());
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        if (!isValid() || cell().heading) return {};
        const int heading = m_canvas->picture().headingRowAbove(m_row);
        QAccessibleInterface* const sheet = table();
        if (heading < 0 || !sheet) return {};
        return {sheet->tableInterface()->cellAt(heading, m_column)};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return isValid() ? cell().columnSpan : 1; }
    int rowExtent() const override { return isValid() ? cell().rowSpan : 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    TableCell cell() const { return m_canvas->picture().tableCell(m_row, m_column); }

    QPointer<SheetCanvas> m_canvas;
    const int m_row;
    const int m_column;
};

// The canvas as a table. Its cells are made when first asked for and kept (Qt's
// accessibility gives each an id that screen readers hold on to) until the canvas
// shows another picture.
class SheetTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit SheetTableAccessible(SheetCanvas* canvas) : QAccessibleWidget(canvas, QAccessible::Table) {}
    ~SheetTableAccessible() override { dropCells(); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override {
        const int columns = columnCount();
        if (index < 0 || index >= childCount()) return nullptr;
        return cellAt(index / columns, index % columns);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        auto* cell = dynamic_cast<const SheetCellAccessible*>(child);
        if (!cell || !cell->isValid() || cell->table() != this) return -1;
        return childIndex(cell->rowIndex(), cell->columnIndex(), columnCount());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = canvas()->mapFromGlobal(QPoint(x, y));
        if (!canvas()->rect().contains(local)) return nullptr;
        const auto place = picture().tablePlaceAt((QPointF(local) - canvas()->picturePosition()) / canvas()->zoom());
        return place ? cellAt(place->first, place->second) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        if (!canvas()->hasFocus() || childCount() == 0) return nullptr;
        const TableCell cursor = canvas()->cursorCell();
        return cellAt(cursor.row, cursor.column);
    }

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (m_generation != canvas()->pictureGeneration()) {
            dropCells();
            m_generation = canvas()->pictureGeneration();
        }
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) return nullptr;
        const TableCell cell = picture().tableCell(row, column);
        const std::pair start(cell.row, cell.column);
        if (const auto known = m_cells.constFind(start); known != m_cells.constEnd())
            return QAccessible::accessibleInterface(*known);
        auto* made = new SheetCellAccessible(canvas(), cell.row, cell.column);
        m_cells.insert(start, QAccessible::registerAccessibleInterface(made));
        return made;
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    // A column is described by its heading (the last heading row's cell).
    QString columnDescription(int column) const override {
        const int heading = picture().headingRowAbove(rowCount());
        if (heading < 0 || column < 0 || column >= columnCount()) return {};
        return picture().tableCell(heading, column).text;
    }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return picture().tableColumnCount(); }
    int rowCount() const override { return picture().tableRowCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { dropCells(); }

private:
    SheetCanvas* canvas() const { return static_cast<SheetCanvas*>(widget()); }
    const generator::SheetPicture& picture() const { return canvas()->picture(); }

    void dropCells() const {
        for (const QAccessible::Id id : std::as_const(m_cells)) QAccessible::deleteAccessibleInterface(id);
        m_cells.clear();
    }

    mutable QHash<std::pair<int, int>, QAccessible::Id> m_cells;
    mutable int m_generation = 0;
};

QAccessibleInterface* sheetAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(SheetCanvas::staticMetaObject.className()) && object && object->isWidgetType())
        return new SheetTableAccessible(static_cast<SheetCanvas*>(object));
    return nullptr;
}

}  // namespace

void installSheetAccessibility() { QAccessible::installFactory(sheetAccessibleFactory); }

void announceNewSheet(SheetCanvas& canvas) {
    if (!QAccessible::isActive()) return;
    QAccessibleTableModelChangeEvent reset(&canvas, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&reset);
}

void announceCursorCell(SheetCanvas& canvas) {
    if (!QAccessible::isActive() || !canvas.hasFocus()) return;
    const TableCell cell = canvas.cursorCell();
    QAccessibleEvent focus(&canvas, QAccessible::Focus);
    focus.setChild(childIndex(cell.row, cell.column, canvas.picture().tableColumnCount()));
    QAccessible::updateAccessibility(&focus);
}

}  // namespace preview
