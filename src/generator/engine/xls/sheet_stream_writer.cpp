#include "generator/engine/xls/sheet_stream_writer.h"

#include "generator/engine/constants.h"
#include "generator/engine/formula/formula.h"
#include "generator/engine/model/engine_error.h"
#include "generator/engine/range_reference.h"
#include "generator/engine/xls/biff_conventions.h"
#include "generator/engine/xls/biff_record_types.h"
#include "generator/engine/xls/biff_writer.h"
#include "generator/engine/xls/byte_io.h"
#include "generator/engine/xls/cell_format_table.h"
#include "generator/engine/xls/cell_values.h"
#include "generator/engine/xls/shared_string_table.h"

#include <cmath>
#include <functional>
#include <set>

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
    if (text.size() > kMaxTextLength)
        throw EngineError(QStringLiteral("Cell %1 holds a text of %2 characters; a workbook cell holds at most %3.")
                              .arg(cellName(at)).arg(text.size()).arg(kMaxTextLength));
}

QByteArray body(const std::function<void(ByteWriter&)>& fill) {
    QByteArray b;
    ByteWriter w(b);
    fill(w);
    return b;
}

void u16Record(BiffWriter& out, std::uint16_t type, std::uint32_t value) {
    out.record(type, body([&](ByteWriter& w) { w.u16(value); }));
}

void f64Record(BiffWriter& out, std::uint16_t type, double value) {
    out.record(type, body([&](ByteWriter& w) { w.f64(value); }));
}

// A row's ROW record: its height when it has one of its own, its format when
// formatted as a whole, and the span of its cells.
struct RowInfo {
    int firstCol = -1;
    int lastCol = -1;
};

class SheetStreamWriter {
public:
    SheetStreamWriter(BiffWriter& out, const SheetData& sheet, const CellFormatTable& formats,
                      const SharedStringTableBuilder& strings)
        : m_out(out), m_sheet(sheet), m_formats(formats), m_strings(strings) {}

    void write(bool active);

private:
    void writeCalculationSettings();
    void writePageSetup();
    qsizetype writeColumns();
    void writeDimensions();
    std::vector<std::uint32_t> writeRowBlocks();
    void writeRowRecord(int row);
    void writeCell(const CellAddress& at, const Cell& cell);
    void writeWindow(bool active);
    void writeMerges();

    BiffWriter& m_out;
    const SheetData& m_sheet;
    const CellFormatTable& m_formats;
    const SharedStringTableBuilder& m_strings;
    std::map<int, RowInfo> m_rows;  // every row that needs a ROW record
    int m_firstCol = kMaxColumns;   // the columns the cells span
    int m_lastCol = -1;
};

void SheetStreamWriter::write(bool active) {
    for (const auto& [at, cell] : m_sheet.cells) {
        RowInfo& r = m_rows[at.row];
        if (r.firstCol < 0) r.firstCol = at.col;
        r.lastCol = at.col;
        m_firstCol = std::min(m_firstCol, at.col);
        m_lastCol = std::max(m_lastCol, at.col);
    }
    for (const auto& [row, height] : m_sheet.rowHeights) m_rows[row];
    for (const auto& [row, style] : m_sheet.rowStyles) m_rows[row];

    m_out.record(rt::kBof, body([](ByteWriter& w) {
        w.u16(0x0600);  // BIFF8
        w.u16(0x0010);  // worksheet
        w.u16(0x0DBB);
        w.u16(0x07CC);
        w.u32(0);
        w.u32(0x06);
    }));

    // INDEX: filled in once the row blocks are written.
    const int blockCount = [&] {
        std::set<int> blocks;
        for (const auto& [row, info] : m_rows) blocks.insert(row / kRowsPerBlock);
        return int(blocks.size());
    }();
    const qsizetype index = m_out.position();
    m_out.record(rt::kIndex, QByteArray(16 + 4 * blockCount, '\0'));

    writeCalculationSettings();
    u16Record(m_out, rt::kPrintHeaders, 0);
    u16Record(m_out, rt::kPrintGridlines, 0);
    u16Record(m_out, rt::kGridSet, 1);
    m_out.record(rt::kGuts, QByteArray(8, '\0'));
    m_out.record(rt::kDefaultRowHeight, body([&](ByteWriter& w) {
        const bool custom = m_sheet.standardRowHeight != SheetData::kDefaultRowHeight;
        w.u16(custom ? 0x0001 : 0x0000);
        w.u16(pointsToTwips(m_sheet.standardRowHeight));
    }));
    u16Record(m_out, rt::kWsBool, kWsBoolStandard | (m_sheet.pageSetup.zoom ? 0 : kWsBoolFitToPage));
    writePageSetup();
    const qsizetype defColWidth = writeColumns();
    writeDimensions();
    const std::vector<std::uint32_t> dbCells = writeRowBlocks();
    writeWindow(active);
    writeMerges();
    m_out.record(rt::kEof, {});

    const int firstRow = m_rows.empty() ? 0 : m_rows.begin()->first;
    const int endRow = m_rows.empty() ? 0 : m_rows.rbegin()->first + 1;
    m_out.patchU32(index + 4 + 4, firstRow);
    m_out.patchU32(index + 4 + 8, endRow);
    m_out.patchU32(index + 4 + 12, static_cast<std::uint32_t>(defColWidth));
    for (std::size_t k = 0; k < dbCells.size(); ++k) m_out.patchU32(index + 4 + 16 + 4 * k, dbCells[k]);
}

void SheetStreamWriter::writeCalculationSettings() {
    u16Record(m_out, rt::kCalcMode, 1);     // automatic
    u16Record(m_out, rt::kCalcCount, 100);
    u16Record(m_out, rt::kRefMode, 1);      // A1
    u16Record(m_out, rt::kIteration, 0);
    f64Record(m_out, rt::kDelta, 0.001);
    u16Record(m_out, rt::kSaveRecalc, 1);   // recalculate before saving
}

void SheetStreamWriter::writePageSetup() {
    const PageSetupData& p = m_sheet.pageSetup;
    u16Record(m_out, rt::kHCenter, 0);
    u16Record(m_out, rt::kVCenter, 0);
    f64Record(m_out, rt::kLeftMargin, p.leftMargin);
    f64Record(m_out, rt::kRightMargin, p.rightMargin);
    f64Record(m_out, rt::kTopMargin, p.topMargin);
    f64Record(m_out, rt::kBottomMargin, p.bottomMargin);

    std::uint16_t flags = p.orientation == 2 ? 0 : kSetupPortrait;
    if (p.printComments == xlPrintInPlace) flags |= kSetupNotes;
    if (p.printComments == xlPrintSheetEnd) flags |= kSetupNotes | kSetupEndNotes;
    m_out.record(rt::kSetup, body([&](ByteWriter& w) {
        w.u16(p.paperSize);
        w.u16(p.zoom.value_or(100));
        w.u16(1);  // first page number
        w.u16(p.fitToPagesWide);
        w.u16(p.fitToPagesTall);
        w.u16(flags);
        w.u16(600);  // print resolution
        w.u16(600);
        w.f64(p.headerMargin);
        w.f64(p.footerMargin);
        w.u16(1);  // copies
    }));
}

// Columns: the standard width, then one COLINFO per run of equal columns. Every
// column is listed when the sheet has a whole-sheet format, since that format lives
// in the columns' entries; columns with a width of their own are marked as set by
// the user, which tells them apart from columns of the standard width.
qsizetype SheetStreamWriter::writeColumns() {
    const qsizetype defColWidth = m_out.position();
    u16Record(m_out, rt::kDefColWidth, static_cast<std::uint32_t>(std::lround(std::floor(m_sheet.standardColumnWidth))));
    if (m_sheet.standardColumnWidth != SheetData::kDefaultColumnWidth)
        u16Record(m_out, rt::kStandardWidth, columnWidthToBiff(m_sheet.standardColumnWidth));

    struct Column {
        std::uint16_t width;
        std::uint16_t xf;
        bool ownWidth;
        bool listed;
        bool operator==(const Column&) const = default;
    };
    auto column = [&](int col) {
        const auto width = m_sheet.columnWidths.find(col);
        const auto style = m_sheet.columnStyles.find(col);
        const StyleId sid = style != m_sheet.columnStyles.end() ? style->second : m_sheet.defaultStyle;
        const bool own = width != m_sheet.columnWidths.end();
        const double characters = own ? width->second : m_sheet.standardColumnWidth;
        const std::uint16_t xf = m_formats.xfIndex(sid);
        return Column{columnWidthToBiff(characters), xf, own, own || xf != CellFormatTable::kDefaultCellXf};
    };

    for (int first = 0; first < kAllColumns;) {
        const Column c = column(first);
        int last = first;
        while (last + 1 < kAllColumns && column(last + 1) == c) ++last;
        if (c.listed) {
            m_out.record(rt::kColInfo, body([&](ByteWriter& w) {
                w.u16(first);
                w.u16(last);
                w.u16(c.width);
                w.u16(c.xf);
                w.u16((c.ownWidth ? 0x0002 : 0) | (c.width == 0 ? 0x0001 : 0));  // user-set, hidden
                w.u16(0);
            }));
        }
        first = last + 1;
    }
    return defColWidth;
}

void SheetStreamWriter::writeDimensions() {
    const bool empty = m_sheet.cells.empty();
    m_out.record(rt::kDimensions, body([&](ByteWriter& w) {
        w.u32(empty ? 0 : m_sheet.cells.begin()->first.row);
        w.u32(empty ? 0 : m_sheet.cells.rbegin()->first.row + 1);
        w.u16(empty ? 0 : m_firstCol);
        w.u16(empty ? 0 : m_lastCol + 1);
        w.u16(0);
    }));
}

// Rows in blocks of 32: the block's ROW records, its cells, and a DBCELL record
// locating them. Returns the DBCELL positions for the INDEX record.
std::vector<std::uint32_t> SheetStreamWriter::writeRowBlocks() {
    std::vector<std::uint32_t> dbCells;
    auto rowIt = m_rows.begin();
    auto cellIt = m_sheet.cells.begin();
    while (rowIt != m_rows.end()) {
        const int block = rowIt->first / kRowsPerBlock;
        const qsizetype firstRowRecord = m_out.position();
        std::vector<int> rows;
        for (; rowIt != m_rows.end() && rowIt->first / kRowsPerBlock == block; ++rowIt) {
            rows.push_back(rowIt->first);
            writeRowRecord(rowIt->first);
        }
        // Offsets of each row's first cell: the first from the end of the first ROW
        // record, the others from the previous row's first cell.
        std::vector<std::uint16_t> offsets;
        qsizetype previous = firstRowRecord + 4 + 16;
        for (int row : rows) {
            const qsizetype start = m_out.position();
            bool any = false;
            for (; cellIt != m_sheet.cells.end() && cellIt->first.row == row; ++cellIt) {
                writeCell(cellIt->first, cellIt->second);
                any = true;
            }
            offsets.push_back(any ? static_cast<std::uint16_t>(std::min<qsizetype>(start - previous, 0xFFFF)) : 0);
            if (any) previous = start;
        }
        const qsizetype dbCell = m_out.position();
        dbCells.push_back(static_cast<std::uint32_t>(dbCell));
        m_out.record(rt::kDbCell, body([&](ByteWriter& w) {
            w.u32(static_cast<std::uint32_t>(dbCell - firstRowRecord));
            for (auto o : offsets) w.u16(o);
        }));
    }
    return dbCells;
}

void SheetStreamWriter::writeRowRecord(int row) {
    const RowInfo& info = m_rows.at(row);
    const auto height = m_sheet.rowHeights.find(row);
    const auto style = m_sheet.rowStyles.find(row);
    const bool ownHeight = height != m_sheet.rowHeights.end();
    const double points = ownHeight ? height->second : m_sheet.standardRowHeight;

    std::uint16_t flags = kRowAlwaysSet;
    if (ownHeight) flags |= kRowUnsynced;
    if (ownHeight && points == 0) flags |= kRowZeroHeight;
    if (style != m_sheet.rowStyles.end()) flags |= kRowGhostDirty;
    const std::uint16_t xf = style != m_sheet.rowStyles.end() ? m_formats.xfIndex(style->second)
                                                            : CellFormatTable::kDefaultCellXf;
    m_out.record(rt::kRow, body([&](ByteWriter& w) {
        w.u16(row);
        w.u16(info.firstCol < 0 ? 0 : info.firstCol);
        w.u16(info.firstCol < 0 ? 0 : info.lastCol + 1);
        w.u16(pointsToTwips(points));
        w.u16(0);
        w.u16(0);
        w.u16(flags);
        w.u16(xf);
    }));
}

void SheetStreamWriter::writeCell(const CellAddress& at, const Cell& cell) {
    const std::uint16_t xf = m_formats.xfIndex(cell.style);
    auto header = [&](ByteWriter& w) {
        w.u16(at.row);
        w.u16(at.col);
        w.u16(xf);
    };

    if (cell.hasFormula()) {
        const QByteArray tokens = cell.formula->toBiff8Tokens(at);
        constexpr qsizetype kFormulaFields = 22;  // address, format, result, options, token count
        if (tokens.size() > kMaxRecordBody - kFormulaFields)
            throw EngineError(QStringLiteral("The formula in cell %1 is too long to be saved.").arg(cellName(at)));
        const FormulaResult result = encodeFormulaResult(cell.value);
        m_out.record(rt::kFormula, body([&](ByteWriter& w) {
            header(w);
            w.bytes(result.value);
            w.u16(0x0001);  // calculate on every load
            w.u32(0);
            w.u16(tokens.size());
            w.bytes(tokens);
        }));
        if (result.text) {
            checkTextLength(*result.text, at);
            ContinuedRecordWriter string(m_out, rt::kString);
            string.unicodeString(*result.text);
            string.finish();
        }
        return;
    }

    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                m_out.record(rt::kBlank, body(header));
            } else if constexpr (std::is_same_v<T, double>) {
                if (!std::isfinite(v)) {
                    m_out.record(rt::kBoolErr, body([&](ByteWriter& w) {
                        header(w);
                        w.u8(static_cast<std::uint8_t>(ErrorValue::Num));
                        w.u8(1);
                    }));
                } else if (auto rk = encodeRk(v)) {
                    m_out.record(rt::kRk, body([&](ByteWriter& w) {
                        header(w);
                        w.u32(*rk);
                    }));
                } else {
                    m_out.record(rt::kNumber, body([&](ByteWriter& w) {
                        header(w);
                        w.f64(v);
                    }));
                }
            } else if constexpr (std::is_same_v<T, QString>) {
                m_out.record(rt::kLabelSst, body([&](ByteWriter& w) {
                    header(w);
                    w.u32(m_strings.indexOf(v));
                }));
            } else if constexpr (std::is_same_v<T, bool>) {
                m_out.record(rt::kBoolErr, body([&](ByteWriter& w) {
                    header(w);
                    w.u8(v ? 1 : 0);
                    w.u8(0);
                }));
            } else {
                m_out.record(rt::kBoolErr, body([&](ByteWriter& w) {
                    header(w);
                    w.u8(static_cast<std::uint8_t>(v));
                    w.u8(1);
                }));
            }
        },
        cell.value);
}

void SheetStreamWriter::writeWindow(bool active) {
    m_out.record(rt::kWindow2, body([&](ByteWriter& w) {
        w.u16(kWindow2Standard | (active ? kWindow2Active : 0));
        w.u16(0);   // top row shown
        w.u16(0);   // left column shown
        w.u16(kIcvSystemForeground);  // grid colour
        w.u16(0);
        w.u16(0);   // page-break preview zoom: default
        w.u16(0);   // normal zoom: default
        w.u32(0);
    }));
}

void SheetStreamWriter::writeMerges() {
    constexpr std::size_t kPerRecord = 1026;
    const auto& merges = m_sheet.merges;
    for (std::size_t first = 0; first < merges.size(); first += kPerRecord) {
        const std::size_t count = std::min(kPerRecord, merges.size() - first);
        m_out.record(rt::kMergedCells, body([&](ByteWriter& w) {
            w.u16(count);
            for (std::size_t k = first; k < first + count; ++k) {
                w.u16(merges[k].firstRow);
                w.u16(merges[k].lastRow);
                w.u16(merges[k].firstCol);
                w.u16(merges[k].lastCol);
            }
        }));
    }
}

}  // namespace

void collectSheetTexts(const SheetData& sheet, SharedStringTableBuilder& strings) {
    for (const auto& [at, cell] : sheet.cells) {
        if (cell.hasFormula()) continue;
        if (const QString* text = std::get_if<QString>(&cell.value)) {
            checkTextLength(*text, at);
            strings.add(*text);
        }
    }
}

void writeSheetStream(BiffWriter& out, const SheetData& sheet, bool active, const CellFormatTable& formats,
                      const SharedStringTableBuilder& strings) {
    SheetStreamWriter(out, sheet, formats, strings).write(active);
}

}  // namespace engine::xls
