#include "records/html_table.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace records {
namespace {

QTextTable* firstTable(QTextFrame* frame) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) return table;
        if (QTextTable* inner = firstTable(child)) return inner;
    }
    return nullptr;
}

}  // namespace

generator::RecordTable readHtmlTable(const QString& html) {
    generator::RecordTable out;
    QTextDocument document;
    document.setHtml(html);
    QTextTable* table = firstTable(document.rootFrame());
    if (!table) return out;
    out.columnCount = table->columns();
    for (int r = 0; r < table->rows(); ++r) {
        generator::TableRow row{r + 1, std::vector<generator::TableCell>(std::size_t(table->columns()))};
        bool empty = true;
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            // A cell spanning several holds its text in its first only.
            if (cell.row() != r || cell.column() != c) continue;
            QTextCursor cursor = cell.firstCursorPosition();
            cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            QString text = cursor.selectedText();
            text.replace(QChar::ParagraphSeparator, QLatin1Char('\n')).replace(QChar::LineSeparator, QLatin1Char('\n'));
            if (text.isEmpty()) continue;
            row.cells[std::size_t(c)] = {text, generator::TableCell::Kind::Text};
            empty = false;
        }
        if (!empty) out.rows.push_back(std::move(row));
    }
    return out;
}

}  // namespace records
