#include "engine/xls/sheet_stream_writer.h"

#include "engine/formula/formula.h"
#include "engine/model/cell_reference.h"
#include "engine/model/engine_error.h"
#include "engine/xls/biff_conventions.h"
#include "engine/xls/biff_record_types.h"
#include "engine/xls/biff_writer.h"
#include "engine/xls/byte_io.h"
#include "engine/xls/cell_format_table.h"
#include "engine/xls/cell_values.h"
#include "engine/xls/sheet_survey.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>

namespace engine::xls {

namespace {

constexpr int kRowsPerBlock = 32;
constexpr std::uint16_t kAllColumns = 256;

// ROW record option flags: bit 8 is always set; custom height, row formatted,
// hidden (zero height).
constexpr std::uint16_t kRowAlwaysSet = 0x0100;
constexpr std::uint16_t kRowUnsynced = 0x0040;
constexpr std::uint16_t kRowGhostDirty = 0x0080;
constexpr std::uint16_t kRowZeroHeight = 0x0020;

// WSBOOL: automatic page breaks shown, outline summaries below and right, outline
// symbols shown; fit to pages when no zoom is given.
constexpr std::uint16_t kWsBoolStandard = 0x04C1;
constexpr std::uint16_t kWsBoolFitToPage = 0x0100;

// SETUP option flags.
constexpr std::uint16_t kSetupPortrait = 0x0002;
constexpr std::uint16_t kSetupNotes = 0x0020;
constexpr std::uint16_t kSetupEndNotes = 0x0200;

// WINDOW2: gridlines, headers, zeros, automatic grid colour, outline symbols; the
// active sheet is also selected and shown.
constexpr std::uint16_t kWindow2Standard = 0x00B6;
constexpr std::uint16_t kWindow2Active = 0x0600;

QString cellName(const CellAddress& at) {
    return areaReference(CellArea{at.row, at.col, at.row, at.col});
}

void checkTextLength(const QString& text, const CellAddress& at) {
    if (auto problem = textTooLongFor(text, at)) throw EngineError(*problem);
}

void f64Record(BiffWriter& out, std::uint16_t type, double value) {
    storeF64(out.recordBody(type, 8), value);
}

// A row that needs a ROW record: the span of its cells (none when it has no cells),
// and its own height and format when it has them.
struct RowRecord {
    int row = 0;
    int firstCol = -1;
    int lastCol = -1;
    const double* height = nullptr;
    const StyleId* style = nullptr;
};

// Rows are written straight from the sheet, block by block.
class SheetStreamWriter {
public:
    SheetStreamWriter(BiffWriter& out, const SheetData& sheet, const CellFormatTable& formats,
                      const SheetSurvey& survey)
        : m_out(out), m_sheet(sheet), m_formats(formats), m_survey(survey) {}

    void write(bool active);

private:
    // The row's ROW record, if it needs one.
    std::optional<RowRecord> rowRecord(int row) const;
    // The ROW records of block b (rows 32b to 32b + 31); returns how many.
    int blockRows(int block, std::array<RowRecord, kRowsPerBlock>& rows) const;
    void writeCalculationSettings();
    void writePageSetup();
    qsizetype writeColumns();
    void writeDimensions();
    std::vector<std::uint32_t> writeRowBlocks();
    void writeRowRecord(const RowRecord& info);
    void writeCell(const CellAddress& at, const Cell& cell);
    void writeFormula(const CellAddress& at, const Cell& cell, std::uint16_t xf);
    void writeWindow(bool active);
    void writeSelection();
    void writeMerges();

    BiffWriter& m_out;
    const SheetData& m_sheet;
    const CellFormatTable& m_formats;
    const SheetSurvey& m_survey;
    std::size_t m_nextText = 0;  // in m_survey.textIndexes
    // The rows that may need a ROW record (those with cells, a height or a format)
    // end before this one.
    const int m_endRow =
        std::max({m_sheet.cells.rowEnd(), m_sheet.rowHeights.indexEnd(), m_sheet.rowStyles.indexEnd()});
};

std::optional<RowRecord> SheetStreamWriter::rowRecord(int row) const {
    const auto cells = m_sheet.cells.row(row);
    const double* height = m_sheet.rowHeights.get(row);
    const StyleId* style = m_sheet.rowStyles.get(row);
    if (cells.empty() && !height && !style) return std::nullopt;
    RowRecord record{row, -1, -1, height, style};
    if (!cells.empty()) {
        record.firstCol = cells.front().first.col;
        record.lastCol = cells.back().first.col;
    }
    return record;
}

int SheetStreamWriter::blockRows(int block, std::array<RowRecord, kRowsPerBlock>& rows) const {
    int count = 0;
    const int end = std::min(m_endRow, (block + 1) * kRowsPerBlock);
    for (int r = block * kRowsPerBlock; r < end; ++r)
        if (const std::optional<RowRecord> record = rowRecord(r)) rows[static_cast<std::size_t>(count++)] = *record;
    return count;
}

void SheetStreamWriter::write(bool active) {
    char* bof = m_out.recordBody(rt::kBof, 16);
    storeU16(bof, 0x0600);  // BIFF8
    storeU16(bof + 2, 0x0010);  // worksheet
    storeU16(bof + 4, 0x0DBB);
    storeU16(bof + 6, 0x07CC);
    storeU32(bof + 8, 0);
    storeU32(bof + 12, 0x06);

    // INDEX: filled in once the row blocks are written.
    int blocks = 0;
    int firstRow = -1, lastRow = -1;  // with a ROW record
    std::array<RowRecord, kRowsPerBlock> rows;
    for (int block = 0; block * kRowsPerBlock < m_endRow; ++block) {
        const int count = blockRows(block, rows);
        if (count == 0) continue;
        ++blocks;
        if (firstRow < 0) firstRow = rows[0].row;
        lastRow = rows[static_cast<std::size_t>(count - 1)].row;
    }
    const qsizetype index = m_out.position();
    std::memset(m_out.recordBody(rt::kIndex, 16 + 4 * blocks), 0, 16 + 4 * blocks);

    writeCalculationSettings();
    m_out.u16Record(rt::kPrintHeaders, 0);
    m_out.u16Record(rt::kPrintGridlines, 0);
    m_out.u16Record(rt::kGridSet, 1);
    std::memset(m_out.recordBody(rt::kGuts, 8), 0, 8);
    {
        const bool custom = m_sheet.standardRowHeight != SheetData::kDefaultRowHeight;
        char* p = m_out.recordBody(rt::kDefaultRowHeight, 4);
        storeU16(p, custom ? 0x0001 : 0x0000);
        storeU16(p + 2, pointsToTwips(m_sheet.standardRowHeight));
    }
    m_out.u16Record(rt::kWsBool, kWsBoolStandard | (m_sheet.pageSetup.zoom ? 0 : kWsBoolFitToPage));
    writePageSetup();
    const qsizetype defColWidth = writeColumns();
    writeDimensions();
    const std::vector<std::uint32_t> dbCells = writeRowBlocks();
    writeWindow(active);
    writeSelection();
    writeMerges();
    m_out.recordBody(rt::kEof, 0);

    m_out.patchU32(index + 4 + 4, blocks == 0 ? 0 : firstRow);
    m_out.patchU32(index + 4 + 8, blocks == 0 ? 0 : lastRow + 1);
    m_out.patchU32(index + 4 + 12, static_cast<std::uint32_t>(defColWidth));
    for (std::size_t k = 0; k < dbCells.size(); ++k) m_out.patchU32(index + 4 + 16 + 4 * k, dbCells[k]);
}

void SheetStreamWriter::writeCalculationSettings() {
    m_out.u16Record(rt::kCalcMode, 1);     // automatic
    m_out.u16Record(rt::kCalcCount, 100);
    m_out.u16Record(rt::kRefMode, 1);      // A1
    m_out.u16Record(rt::kIteration, 0);
    f64Record(m_out, rt::kDelta, 0.001);
    m_out.u16Record(rt::kSaveRecalc, 1);   // recalculate before saving
}

void SheetStreamWriter::writePageSetup() {
    const PageSetupData& p = m_sheet.pageSetup;
    m_out.u16Record(rt::kHCenter, 0);
    m_out.u16Record(rt::kVCenter, 0);
    f64Record(m_out, rt::kLeftMargin, p.leftMargin);
    f64Record(m_out, rt::kRightMargin, p.rightMargin);
    f64Record(m_out, rt::kTopMargin, p.topMargin);
    f64Record(m_out, rt::kBottomMargin, p.bottomMargin);

    std::uint16_t flags = p.orientation == Orientation::Landscape ? 0 : kSetupPortrait;
    if (p.printComments == PrintComments::InPlace) flags |= kSetupNotes;
    if (p.printComments == PrintComments::AtEndOfSheet) flags |= kSetupNotes | kSetupEndNotes;
    const qsizetype setup = m_out.beginRecord(rt::kSetup);
    m_out.u16(static_cast<std::uint16_t>(p.paperSize));
    m_out.u16(p.zoom.value_or(100));
    m_out.u16(1);  // first page number
    m_out.u16(p.fitToPagesWide);
    m_out.u16(p.fitToPagesTall);
    m_out.u16(flags);
    m_out.u16(600);  // print resolution
    m_out.u16(600);
    m_out.f64(p.headerMargin);
    m_out.f64(p.footerMargin);
    m_out.u16(1);  // copies
    m_out.endRecord(setup);
}

// Columns: the standard width, then one COLINFO per run of equal columns. Every
// column is listed when the sheet has a whole-sheet format, since that format lives
// in the columns' entries; columns with a width of their own are marked as set by
// the user, which tells them apart from columns of the standard width.
qsizetype SheetStreamWriter::writeColumns() {
    const qsizetype defColWidth = m_out.position();
    m_out.u16Record(rt::kDefColWidth, static_cast<std::uint32_t>(std::lround(std::floor(m_sheet.standardColumnWidth))));
    if (m_sheet.standardColumnWidth != SheetData::kDefaultColumnWidth)
        m_out.u16Record(rt::kStandardWidth, columnWidthToBiff(m_sheet.standardColumnWidth));

    struct Column {
        std::uint16_t width;
        std::uint16_t xf;
        bool ownWidth;
        bool listed;
        bool operator==(const Column&) const = default;
    };
    auto column = [&](int col) {
        const double* width = m_sheet.columnWidths.get(col);
        const StyleId* style = m_sheet.columnStyles.get(col);
        const StyleId sid = style ? *style : m_sheet.defaultStyle;
        const bool own = width != nullptr;
        const double characters = own ? *width : m_sheet.standardColumnWidth;
        const std::uint16_t xf = m_formats.xfIndex(sid);
        return Column{columnWidthToBiff(characters), xf, own, own || xf != CellFormatTable::kDefaultCellXf};
    };

    for (int first = 0; first < kAllColumns;) {
        const Column c = column(first);
        int last = first;
        while (last + 1 < kAllColumns && column(last + 1) == c) ++last;
        if (c.listed) {
            char* p = m_out.recordBody(rt::kColInfo, 12);
            storeU16(p, first);
            storeU16(p + 2, last);
            storeU16(p + 4, c.width);
            storeU16(p + 6, c.xf);
            storeU16(p + 8, (c.ownWidth ? 0x0002 : 0) | (c.width == 0 ? 0x0001 : 0));  // user-set, hidden
            storeU16(p + 10, 0);
        }
        first = last + 1;
    }
    return defColWidth;
}

void SheetStreamWriter::writeDimensions() {
    const bool empty = m_sheet.cells.empty();
    char* p = m_out.recordBody(rt::kDimensions, 14);
    storeU32(p, empty ? 0 : m_sheet.cells.firstRow());
    storeU32(p + 4, empty ? 0 : m_sheet.cells.rowEnd());
    storeU16(p + 8, empty ? 0 : m_survey.firstCol);
    storeU16(p + 10, empty ? 0 : m_survey.lastCol + 1);
    storeU16(p + 12, 0);
}

// Rows in blocks of 32: the block's ROW records, its cells, and a DBCELL record
// locating them. Returns the DBCELL positions for the INDEX record.
std::vector<std::uint32_t> SheetStreamWriter::writeRowBlocks() {
    std::vector<std::uint32_t> dbCells;
    std::array<RowRecord, kRowsPerBlock> rows;
    std::array<std::uint16_t, kRowsPerBlock> offsets;
    for (int block = 0; block * kRowsPerBlock < m_endRow; ++block) {
        const int count = blockRows(block, rows);
        if (count == 0) continue;
        const qsizetype firstRowRecord = m_out.position();
        for (int k = 0; k < count; ++k) writeRowRecord(rows[static_cast<std::size_t>(k)]);

        // Offsets of each row's first cell: the first from the end of the first ROW
        // record, the others from the previous row's first cell.
        qsizetype previous = firstRowRecord + 4 + 16;
        for (int k = 0; k < count; ++k) {
            const qsizetype start = m_out.position();
            const auto cells = m_sheet.cells.row(rows[static_cast<std::size_t>(k)].row);
            for (const auto& [at, cell] : cells) writeCell(at, cell);
            const bool any = !cells.empty();
            offsets[static_cast<std::size_t>(k)] =
                any ? static_cast<std::uint16_t>(std::min<qsizetype>(start - previous, 0xFFFF)) : 0;
            if (any) previous = start;
        }
        const qsizetype dbCell = m_out.position();
        dbCells.push_back(static_cast<std::uint32_t>(dbCell));
        char* p = m_out.recordBody(rt::kDbCell, 4 + 2 * qsizetype(count));
        storeU32(p, static_cast<std::uint32_t>(dbCell - firstRowRecord));
        for (int k = 0; k < count; ++k) storeU16(p + 4 + 2 * k, offsets[static_cast<std::size_t>(k)]);
    }
    return dbCells;
}

void SheetStreamWriter::writeRowRecord(const RowRecord& info) {
    const bool ownHeight = info.height != nullptr;
    const double points = ownHeight ? *info.height : m_sheet.standardRowHeight;

    std::uint16_t flags = kRowAlwaysSet;
    if (ownHeight) flags |= kRowUnsynced;
    if (ownHeight && points == 0) flags |= kRowZeroHeight;
    if (info.style) flags |= kRowGhostDirty;
    const std::uint16_t xf = info.style ? m_formats.xfIndex(*info.style) : CellFormatTable::kDefaultCellXf;
    char* p = m_out.recordBody(rt::kRow, 16);
    storeU16(p, info.row);
    storeU16(p + 2, info.firstCol < 0 ? 0 : info.firstCol);
    storeU16(p + 4, info.firstCol < 0 ? 0 : info.lastCol + 1);
    storeU16(p + 6, pointsToTwips(points));
    storeU16(p + 8, 0);
    storeU16(p + 10, 0);
    storeU16(p + 12, flags);
    storeU16(p + 14, xf);
}

// A cell record's body: the address and format, then `length` bytes of value that
// the caller fills at the returned position.
char* cellRecord(BiffWriter& out, std::uint16_t type, const CellAddress& at, std::uint16_t xf, qsizetype length) {
    char* p = out.recordBody(type, 6 + length);
    storeU16(p, at.row);
    storeU16(p + 2, at.col);
    storeU16(p + 4, xf);
    return p + 6;
}

void SheetStreamWriter::writeCell(const CellAddress& at, const Cell& cell) {
    const std::uint16_t xf = m_formats.xfIndex(cell.style);
    if (cell.hasFormula()) {
        writeFormula(at, cell, xf);
        return;
    }

    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                cellRecord(m_out, rt::kBlank, at, xf, 0);
            } else if constexpr (std::is_same_v<T, double>) {
                if (!std::isfinite(v)) {
                    char* p = cellRecord(m_out, rt::kBoolErr, at, xf, 2);
                    p[0] = static_cast<char>(ErrorValue::Num);
                    p[1] = 1;
                } else if (auto rk = encodeRk(v)) {
                    storeU32(cellRecord(m_out, rt::kRk, at, xf, 4), *rk);
                } else {
                    storeF64(cellRecord(m_out, rt::kNumber, at, xf, 8), v);
                }
            } else if constexpr (std::is_same_v<T, QString>) {
                storeU32(cellRecord(m_out, rt::kLabelSst, at, xf, 4), m_survey.textIndexes.at(m_nextText++));
            } else if constexpr (std::is_same_v<T, bool>) {
                char* p = cellRecord(m_out, rt::kBoolErr, at, xf, 2);
                p[0] = v ? 1 : 0;
                p[1] = 0;
            } else {
                char* p = cellRecord(m_out, rt::kBoolErr, at, xf, 2);
                p[0] = static_cast<char>(v);
                p[1] = 1;
            }
        },
        cell.value);
}

void SheetStreamWriter::writeFormula(const CellAddress& at, const Cell& cell, std::uint16_t xf) {
    const QByteArray tokens = cell.formula->toBiff8Tokens(at);
    constexpr qsizetype kFormulaFields = 22;  // address, format, result, options, token count
    if (tokens.size() > kMaxRecordBody - kFormulaFields)
        throw EngineError(QStringLiteral("The formula in cell %1 is too long to be saved.").arg(cellName(at)));
    const FormulaResult result = encodeFormulaResult(cell.value);
    char* p = cellRecord(m_out, rt::kFormula, at, xf, kFormulaFields - 6 + tokens.size());
    std::memcpy(p, result.value.data(), result.value.size());
    storeU16(p + 8, 0x0001);  // calculate on every load
    storeU32(p + 10, 0);
    storeU16(p + 14, static_cast<std::uint32_t>(tokens.size()));
    if (!tokens.isEmpty()) std::memcpy(p + 16, tokens.constData(), tokens.size());
    if (result.text) {
        checkTextLength(*result.text, at);
        ContinuedRecordWriter string(m_out, rt::kString);
        string.unicodeString(*result.text);
        string.finish();
    }
}

void SheetStreamWriter::writeWindow(bool active) {
    char* p = m_out.recordBody(rt::kWindow2, 18);
    storeU16(p, kWindow2Standard | (active ? kWindow2Active : 0));
    storeU16(p + 2, 0);   // top row shown
    storeU16(p + 4, 0);   // left column shown
    storeU16(p + 6, kIcvSystemForeground);  // grid colour
    storeU16(p + 8, 0);
    storeU16(p + 10, 0);  // page-break preview zoom: default
    storeU16(p + 12, 0);  // normal zoom: default
    storeU32(p + 14, 0);
}

// SELECTION of the only pane (3, as the sheet is not split): the active cell and
// one selected area, so that the workbook opens where it was left.
void SheetStreamWriter::writeSelection() {
    constexpr std::uint8_t kUnsplitPane = 3;
    const CellArea& area = m_sheet.selection;
    const CellAddress& active = m_sheet.activeCell;
    char* p = m_out.recordBody(rt::kSelection, 15);
    p[0] = static_cast<char>(kUnsplitPane);
    storeU16(p + 1, active.row);
    storeU16(p + 3, active.col);
    storeU16(p + 5, 0);  // the active cell lies in the first area
    storeU16(p + 7, 1);  // one area
    storeU16(p + 9, area.firstRow);
    storeU16(p + 11, area.lastRow);
    p[13] = static_cast<char>(area.firstCol);
    p[14] = static_cast<char>(area.lastCol);
}

void SheetStreamWriter::writeMerges() {
    constexpr std::size_t kPerRecord = 1026;
    const auto& merges = m_sheet.merges;
    for (std::size_t first = 0; first < merges.size(); first += kPerRecord) {
        const std::size_t count = std::min(kPerRecord, merges.size() - first);
        char* p = m_out.recordBody(rt::kMergedCells, 2 + 8 * qsizetype(count));
        storeU16(p, count);
        for (std::size_t k = 0; k < count; ++k) {
            const CellArea& m = merges[first + k];
            storeU16(p + 2 + 8 * k, m.firstRow);
            storeU16(p + 4 + 8 * k, m.lastRow);
            storeU16(p + 6 + 8 * k, m.firstCol);
            storeU16(p + 8 + 8 * k, m.lastCol);
        }
    }
}

}  // namespace

void writeSheetStream(BiffWriter& out, const SheetData& sheet, bool active, const CellFormatTable& formats,
                      const SheetSurvey& survey) {
    SheetStreamWriter(out, sheet, formats, survey).write(active);
}

}  // namespace engine::xls
