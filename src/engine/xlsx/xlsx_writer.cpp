#include "engine/xlsx/xlsx_writer.h"

#include "engine/formula/formula.h"
#include "engine/model/cell_reference.h"
#include "engine/model/engine_error.h"
#include "engine/model/used_range.h"
#include "engine/xlsx/xlsx_formats.h"
#include "shell/atomic_file.h"
#include "shell/message_text.h"
#include "shell/storable_text.h"
#include "shell/transient_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cmath>
#include <set>
#include <type_traits>
#include <utility>
#include <variant>
#include <xlsxwriter.h>

namespace engine::xlsx {
namespace {

QString cellName(int row, int col) { return areaReference(CellArea{row, col, row, col}); }

// A cell's text as the file holds it. XML cannot carry every character a cell
// may hold; such a text is refused rather than written into a file that readers
// cannot open (or, at a NUL, cut short).
QByteArray xmlText(const QString& text, int row, int col) {
    if (const std::optional<qsizetype> at = shell::firstUnstorableCharacter(text))
        throw EngineError(QStringLiteral("The cell %1 cannot be written to an .xlsx workbook: it holds %2, which the "
                                         "file format cannot carry.")
                              .arg(cellName(row, col), shell::characterDescription(text, *at)));
    return text.toUtf8();
}

void check(lxw_error error, const QString& what) {
    if (error == LXW_NO_ERROR) return;
    QString reason = QString::fromUtf8(lxw_strerror(error));
    while (reason.endsWith(QLatin1Char('.'))) reason.chop(1);
    throw EngineError(QStringLiteral("%1 cannot be written to an .xlsx workbook: %2.").arg(what, reason));
}

// A workbook being written into a private folder, which also holds the library's
// own temporary files; freed unwritten when writing fails half-way.
class OpenWorkbook {
public:
    OpenWorkbook(const QByteArray& fileName, QByteArray folder) : m_folder(std::move(folder)) {
        lxw_workbook_options options{};
        options.tmpdir = m_folder.data();
        m_book = workbook_new_opt(fileName.constData(), &options);
        if (!m_book) throw EngineError(QStringLiteral("Out of memory while starting an .xlsx workbook."));
    }
    ~OpenWorkbook() {
        if (m_book) lxw_workbook_free(m_book);
    }
    OpenWorkbook(const OpenWorkbook&) = delete;
    OpenWorkbook& operator=(const OpenWorkbook&) = delete;

    lxw_workbook* get() const { return m_book; }

    // Writes the file; the workbook is gone afterwards, written or not.
    void close() {
        lxw_workbook* book = std::exchange(m_book, nullptr);
        errno = 0;
        const lxw_error error = workbook_close(book);
        // The library's text for a failed write of its file gives no reason; the system's does.
        if (error != LXW_NO_ERROR && errno != 0)
            throw EngineError(QStringLiteral("The workbook cannot be written to an .xlsx workbook: %1.")
                                  .arg(shell::systemErrorText(errno)));
        check(error, QStringLiteral("The workbook"));
    }

private:
    QByteArray m_folder;  // the library keeps a pointer to it until the workbook is closed
    lxw_workbook* m_book = nullptr;
};

// One sheet's cells, sizes, merged areas and page setup.
class SheetWriter {
public:
    SheetWriter(lxw_worksheet* out, const SheetData& sheet, XlsxFormats& formats)
        : m_out(out), m_sheet(sheet), m_formats(formats) {}

    void write() {
        writeColumns();
        writeRows();
        writeMerges();
        writeCells();
        writeSelection();
        writePageSetup();
    }

private:
    // A column's own format, or the sheet's.
    StyleId columnStyle(int col) const {
        const auto it = m_sheet.columnStyles.find(col);
        return it != m_sheet.columnStyles.end() ? it->second : m_sheet.defaultStyle;
    }

    // Every column of the sheet gets its width and format, in runs of equal
    // columns, so that empty cells show the sheet's format rather than the file's
    // default font. Columns beyond the sheet's last (IV) are left to the reader.
    void writeColumns() {
        struct Column {
            double width;
            StyleId style;
            bool operator==(const Column&) const = default;
        };
        auto column = [&](int col) { return Column{m_sheet.columnWidth(col), columnStyle(col)}; };
        for (int first = 0; first < kMaxColumns;) {
            const Column c = column(first);
            int last = first;
            while (last + 1 < kMaxColumns && column(last + 1) == c) ++last;
            lxw_row_col_options options{};
            options.hidden = c.width <= 0;
            check(worksheet_set_column_opt(m_out, lxw_col_t(first), lxw_col_t(last), c.width,
                                           m_formats.format(c.style), &options),
                  QStringLiteral("The columns %1 to %2").arg(columnLetters(first), columnLetters(last)));
            first = last + 1;
        }
    }

    // Rows with a height or a format of their own; the others take the standard height.
    void writeRows() {
        if (m_sheet.standardRowHeight != LXW_DEF_ROW_HEIGHT) worksheet_set_default_row(m_out, m_sheet.standardRowHeight, 0);
        std::set<int> rows;
        for (const auto& [row, height] : m_sheet.rowHeights) rows.insert(row);
        for (const auto& [row, style] : m_sheet.rowStyles) rows.insert(row);
        for (const int row : rows) {
            const auto style = m_sheet.rowStyles.find(row);
            lxw_format* format = style != m_sheet.rowStyles.end() ? m_formats.format(style->second) : nullptr;
            double height = m_sheet.rowHeight(row);
            // libxlsxwriter takes a height of exactly its own default (15 points)
            // for "the sheet's standard" and writes none; where the sheet's
            // standard is another, the next double up is written as "15".
            if (height == LXW_DEF_ROW_HEIGHT && m_sheet.standardRowHeight != LXW_DEF_ROW_HEIGHT)
                height = std::nextafter(height, 2 * height);
            lxw_row_col_options options{};
            options.hidden = height <= 0;
            check(worksheet_set_row_opt(m_out, lxw_row_t(row), height, format, &options),
                  QStringLiteral("The row %1").arg(row + 1));
        }
    }

    // Merged areas; every cell of one keeps its own format (the outline is drawn
    // by the cells' borders), the value is written with the cells.
    void writeMerges() {
        for (const CellArea& area : m_sheet.merges) {
            if (area.rowCount() * area.columnCount() < 2) continue;
            check(worksheet_merge_range(m_out, lxw_row_t(area.firstRow), lxw_col_t(area.firstCol),
                                        lxw_row_t(area.lastRow), lxw_col_t(area.lastCol), "",
                                        m_formats.format(m_sheet.effectiveStyle(area.firstRow, area.firstCol))),
                  QStringLiteral("The merged area %1").arg(areaReference(area)));
            for (int row = area.firstRow; row <= area.lastRow; ++row)
                for (int col = area.firstCol; col <= area.lastCol; ++col)
                    if (!m_sheet.cell(row, col))
                        check(worksheet_write_blank(m_out, lxw_row_t(row), lxw_col_t(col),
                                                    m_formats.format(m_sheet.effectiveStyle(row, col))),
                              QStringLiteral("The cell %1").arg(cellName(row, col)));
        }
    }

    void writeCells() {
        const std::optional<CellArea> used = usedArea(m_sheet);
        if (!used) return;
        for (int row = used->firstRow; row <= used->lastRow; ++row)
            for (int col = used->firstCol; col <= used->lastCol; ++col)
                if (const Cell* cell = m_sheet.cell(row, col))
                    check(writeCell(row, col, *cell, m_formats.format(m_sheet.effectiveStyle(row, col))),
                          QStringLiteral("The cell %1").arg(cellName(row, col)));
    }

    lxw_error writeCell(int row, int col, const Cell& cell, lxw_format* format) {
        const auto r = lxw_row_t(row);
        const auto c = lxw_col_t(col);
        if (cell.hasFormula()) {
            const QByteArray text = xmlText(cell.formula->toA1(CellAddress{row, col}), row, col);
            if (const double* number = std::get_if<double>(&cell.value))
                return worksheet_write_formula_num(m_out, r, c, text.constData(), format, *number);
            if (isEmpty(cell.value)) return worksheet_write_formula(m_out, r, c, text.constData(), format);
            return worksheet_write_formula_str(m_out, r, c, text.constData(), format,
                                               xmlText(valueText(cell.value), row, col).constData());
        }
        return std::visit(
            [&](const auto& value) -> lxw_error {
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, std::monostate>) return worksheet_write_blank(m_out, r, c, format);
                else if constexpr (std::is_same_v<T, double>) return worksheet_write_number(m_out, r, c, value, format);
                else if constexpr (std::is_same_v<T, QString>)
                    return worksheet_write_string(m_out, r, c, xmlText(value, row, col).constData(), format);
                else if constexpr (std::is_same_v<T, bool>) return worksheet_write_boolean(m_out, r, c, value, format);
                else {
                    // The file has no constant error of its own: a formula of the error.
                    const QByteArray error = errorText(value).toUtf8();
                    return worksheet_write_formula_str(m_out, r, c, error.constData(), format, error.constData());
                }
            },
            cell.value);
    }

    // A formula's result that is no number, as the text a reader shows.
    static QString valueText(const CellValue& value) {
        if (const QString* text = std::get_if<QString>(&value)) return *text;
        if (const bool* truth = std::get_if<bool>(&value)) return *truth ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        if (const ErrorValue* error = std::get_if<ErrorValue>(&value)) return errorText(*error);
        return {};
    }

    // The selection as the sheet was left, its active cell the area's first: the
    // only active cell the object model gives a selection.
    void writeSelection() {
        const CellArea& area = m_sheet.selection;
        worksheet_set_selection(m_out, lxw_row_t(area.firstRow), lxw_col_t(area.firstCol),
                                lxw_row_t(area.lastRow), lxw_col_t(area.lastCol));
    }

    void writePageSetup() {
        const PageSetupData& page = m_sheet.pageSetup;
        if (const auto& area = page.printArea)
            check(worksheet_print_area(m_out, lxw_row_t(area->firstRow), lxw_col_t(area->firstCol),
                                       lxw_row_t(area->lastRow), lxw_col_t(area->lastCol)),
                  QStringLiteral("The print area %1").arg(areaReference(*area)));
        worksheet_set_margins(m_out, page.leftMargin, page.rightMargin, page.topMargin, page.bottomMargin);
        // The library sets header and footer margins only above zero (and with a
        // header text); the sheet's own, zero included, go straight into its
        // page setup, which is written as it stands.
        m_out->margin_header = page.headerMargin;
        m_out->margin_footer = page.footerMargin;
        if (page.orientation == Orientation::Landscape) worksheet_set_landscape(m_out);
        else worksheet_set_portrait(m_out);
        worksheet_set_paper(m_out, std::uint8_t(page.paperSize));
        if (page.zoom) worksheet_set_print_scale(m_out, std::uint16_t(*page.zoom));
        else worksheet_fit_to_pages(m_out, std::uint16_t(page.fitToPagesWide), std::uint16_t(page.fitToPagesTall));
    }

    lxw_worksheet* m_out;
    const SheetData& m_sheet;
    XlsxFormats& m_formats;
};

// Writes the workbook to a file in a folder only this process uses.
void writeFile(const WorkbookData& wb, const QString& folder, const QString& fileName) {
    if (wb.sheets.empty()) throw EngineError(QStringLiteral("A workbook must contain at least one sheet."));
    if (wb.activeSheet < 0 || wb.activeSheet >= int(wb.sheets.size()))
        throw EngineError(QStringLiteral("The active sheet does not exist."));

    OpenWorkbook book(QFile::encodeName(fileName), QFile::encodeName(folder));
    XlsxFormats formats(book.get(), wb);
    for (std::size_t i = 0; i < wb.sheets.size(); ++i) {
        const SheetData& sheet = *wb.sheets[i];
        lxw_worksheet* out = workbook_add_worksheet(book.get(), sheet.name.toUtf8().constData());
        if (!out)
            throw EngineError(QStringLiteral("The sheet name \"%1\" cannot be saved in a workbook.").arg(sheet.name));
        SheetWriter(out, sheet, formats).write();
        if (int(i) == wb.activeSheet) worksheet_activate(out);
    }
    book.close();
}

}  // namespace

void writeWorkbook(const WorkbookData& wb, const QString& path) {
    if (path.isEmpty()) throw EngineError(QStringLiteral("A workbook needs a file name to be saved."));
    // libxlsxwriter writes a named file; it goes to a private folder first and then
    // takes the same road into place as every other document the program writes.
    const QTemporaryDir scratch;
    if (!scratch.isValid())
        throw EngineError(QStringLiteral("Cannot write %1: no private folder for the new workbook (%2).")
                              .arg(path, scratch.errorString()));
    // The scratch folder goes with an interrupted program too.
    const shell::TransientPath scratchRegistration(scratch.path(), shell::TransientPath::Kind::Folder);
    const QString written = scratch.filePath(QStringLiteral("workbook.xlsx"));
    writeFile(wb, scratch.path(), written);
    try {
        shell::copyFileAtomically(written, path);
    } catch (const shell::Failure& f) {
        throw EngineError(f.description());
    }
}

}  // namespace engine::xlsx
