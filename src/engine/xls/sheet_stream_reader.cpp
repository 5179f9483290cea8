#include "engine/xls/sheet_stream_reader.h"

#include "engine/formula/formula.h"
#include "engine/model/cell_reference.h"
#include "engine/model/engine_error.h"
#include "engine/xls/biff_conventions.h"
#include "engine/xls/biff_reader.h"
#include "engine/xls/biff_record_types.h"
#include "engine/xls/cell_format_catalog.h"
#include "engine/xls/cell_format_table.h"
#include "engine/xls/cell_values.h"

#include <array>
#include <map>

namespace engine::xls {

namespace {

constexpr std::uint16_t kRowZeroHeight = 0x0020;
constexpr std::uint16_t kRowUnsynced = 0x0040;
constexpr std::uint16_t kRowGhostDirty = 0x0080;
constexpr std::uint16_t kColumnHidden = 0x0001;
constexpr std::uint16_t kColumnUserSet = 0x0002;
constexpr std::uint16_t kWsBoolFitToPage = 0x0100;
constexpr std::uint16_t kSetupPortrait = 0x0002;
constexpr std::uint16_t kSetupNoPrinterData = 0x0004;
constexpr std::uint16_t kSetupNotes = 0x0020;
constexpr std::uint16_t kSetupEndNotes = 0x0200;

class SheetStreamReader {
public:
    SheetStreamReader(QByteArrayView stream, qsizetype bof, SheetData& sheet, CellFormatCatalog& formats,
                      const std::vector<QString>& strings, std::size_t& cellBudget)
        : m_records(stream, bof), m_sheet(sheet), m_formats(formats), m_strings(strings), m_cellBudget(cellBudget) {
        m_columnXf.fill(CellFormatTable::kDefaultCellXf);
    }

    void read();

private:
    void readRecord(const BiffRecord& record);
    CellAddress cellAddress(RecordReader& r);
    Cell& cellAt(const CellAddress& at, std::uint16_t xf);
    void readFormula(RecordReader& r);
    void readColumns(RecordReader& r);
    void readRow(RecordReader& r);
    void readMerges(RecordReader& r);
    void readSelection(RecordReader& r);
    void readSetup(RecordReader& r);
    void finishColumns();

    BiffRecordReader m_records;
    SheetData& m_sheet;
    CellFormatCatalog& m_formats;
    const std::vector<QString>& m_strings;
    std::size_t& m_cellBudget;
    std::array<std::uint16_t, kMaxColumns> m_columnXf;
    bool m_fitToPage = false;
    std::optional<int> m_scale = 100;
};

void SheetStreamReader::read() {
    BiffRecord record;
    if (!m_records.next(record) || record.type != rt::kBof)
        throw EngineError(QStringLiteral("a sheet does not start where the workbook says"));
    RecordReader bof(record.body, QStringLiteral("the sheet's BOF record"));
    if (bof.u16() != 0x0600 || bof.u16() != 0x0010)
        throw EngineError(QStringLiteral("a sheet is not a worksheet of this format"));

    int nested = 0;  // embedded substreams (charts) are skipped whole
    while (m_records.next(record)) {
        if (record.type == rt::kBof) {
            ++nested;
        } else if (record.type == rt::kEof) {
            if (nested == 0) {
                finishColumns();
                m_sheet.pageSetup.zoom = m_fitToPage ? std::nullopt : m_scale;
                return;
            }
            --nested;
        } else if (nested == 0) {
            readRecord(record);
        }
    }
    throw EngineError(QStringLiteral("a sheet ends without its end record"));
}

CellAddress SheetStreamReader::cellAddress(RecordReader& r) {
    CellAddress at;
    at.row = r.u16();
    at.col = r.u16();
    if (at.col >= kMaxColumns) r.fail(QStringLiteral("names a cell outside the sheet"));
    return at;
}

Cell& SheetStreamReader::cellAt(const CellAddress& at, std::uint16_t xf) {
    const StyleId style = m_formats.style(xf);
    if (m_cellBudget == 0 && !m_sheet.cells.find(at.row, at.col))
        throw EngineError(QStringLiteral("the workbook holds more cells than can be opened"));
    bool added = false;
    Cell& cell = m_sheet.cells.obtain(at.row, at.col, [&] { return style; }, &added);
    if (added) {
        --m_cellBudget;
        return cell;
    }
    // A cell given twice takes what the later record says.
    cell = Cell{};
    cell.style = style;
    return cell;
}

void SheetStreamReader::readRecord(const BiffRecord& record) {
    RecordReader r(record.body, record.type);
    switch (record.type) {
    case rt::kNumber: {
        const CellAddress at = cellAddress(r);
        const std::uint16_t xf = r.u16();
        cellAt(at, xf).value = r.f64();
        break;
    }
    case rt::kRk: {
        const CellAddress at = cellAddress(r);
        const std::uint16_t xf = r.u16();
        cellAt(at, xf).value = decodeRk(r.u32());
        break;
    }
    case rt::kMulRk: case rt::kMulBlank: {
        const CellAddress first = cellAddress(r);
        const bool numbers = record.type == rt::kMulRk;
        const qsizetype each = numbers ? 6 : 2;
        const qsizetype count = (r.remaining() - 2) / each;
        if (count <= 0 || first.col + count > kMaxColumns) r.fail(QStringLiteral("names cells outside the sheet"));
        for (qsizetype k = 0; k < count; ++k) {
            const std::uint16_t xf = r.u16();
            Cell& cell = cellAt(CellAddress{first.row, first.col + int(k)}, xf);
            if (numbers) cell.value = decodeRk(r.u32());
        }
        break;
    }
    case rt::kLabelSst: {
        const CellAddress at = cellAddress(r);
        const std::uint16_t xf = r.u16();
        const std::uint32_t index = r.u32();
        if (index >= m_strings.size()) r.fail(QStringLiteral("refers to a shared text that does not exist"));
        cellAt(at, xf).value = m_strings[index];
        break;
    }
    case rt::kLabel: {
        const CellAddress at = cellAddress(r);
        const std::uint16_t xf = r.u16();
        std::vector<QByteArrayView> segments{record.body.sliced(6)};
        for (auto c : m_records.takeContinuations()) segments.push_back(c);
        RecordReader label(segments, record.type);
        cellAt(at, xf).value = label.string();
        break;
    }
    case rt::kBlank: {
        const CellAddress at = cellAddress(r);
        cellAt(at, r.u16());
        break;
    }
    case rt::kBoolErr: {
        const CellAddress at = cellAddress(r);
        const std::uint16_t xf = r.u16();
        const std::uint8_t value = r.u8();
        const bool isError = r.u8();
        cellAt(at, xf).value = isError ? CellValue(errorFromCode(value)) : CellValue(value != 0);
        break;
    }
    case rt::kFormula:
        readFormula(r);
        break;
    case rt::kColInfo:
        readColumns(r);
        break;
    case rt::kRow:
        readRow(r);
        break;
    case rt::kMergedCells:
        readMerges(r);
        break;
    case rt::kSelection:
        readSelection(r);
        break;
    case rt::kStandardWidth:
        m_sheet.standardColumnWidth = columnWidthFromBiff(r.u16());
        break;
    case rt::kDefaultRowHeight:
        r.u16();
        m_sheet.standardRowHeight = twipsToPoints(r.u16());
        break;
    case rt::kLeftMargin: m_sheet.pageSetup.leftMargin = r.f64(); break;
    case rt::kRightMargin: m_sheet.pageSetup.rightMargin = r.f64(); break;
    case rt::kTopMargin: m_sheet.pageSetup.topMargin = r.f64(); break;
    case rt::kBottomMargin: m_sheet.pageSetup.bottomMargin = r.f64(); break;
    case rt::kSetup:
        readSetup(r);
        break;
    case rt::kWsBool:
        m_fitToPage = r.u16() & kWsBoolFitToPage;
        break;
    default:
        break;
    }
}

void SheetStreamReader::readFormula(RecordReader& r) {
    const CellAddress at = cellAddress(r);
    const std::uint16_t xf = r.u16();
    const QByteArrayView result = r.view(8);
    r.u16();  // options
    r.u32();
    const std::uint16_t size = r.u16();
    const QByteArrayView tokens = r.view(size);

    Cell& cell = cellAt(at, xf);
    bool textFollows = false;
    cell.value = decodeFormulaResult(result.data(), textFollows);
    try {
        // The tokens are read in place: the stream outlives the decoding.
        cell.formula = formula::Formula::fromBiff8Tokens(QByteArray::fromRawData(tokens.data(), tokens.size()), at);
    } catch (const EngineError& e) {
        throw EngineError(QStringLiteral("the formula in cell %1 cannot be read (%2)")
                              .arg(areaReference(CellArea{at.row, at.col, at.row, at.col}), e.description()));
    }
    cell.resultValid = true;

    if (textFollows) {
        BiffRecord string;
        if (!m_records.next(string) || string.type != rt::kString)
            throw EngineError(QStringLiteral("the text result of a formula is missing"));
        std::vector<QByteArrayView> segments{string.body};
        for (auto c : m_records.takeContinuations()) segments.push_back(c);
        RecordReader text(segments, QStringLiteral("the text result of a formula"));
        cell.value = text.string();
    }
}

void SheetStreamReader::readColumns(RecordReader& r) {
    const std::uint16_t first = r.u16();
    const std::uint16_t last = std::min<std::uint16_t>(r.u16(), kMaxColumns - 1);
    const std::uint16_t width = r.u16();
    const std::uint16_t xf = r.u16();
    const std::uint16_t flags = r.u16();
    if (first > last) r.fail(QStringLiteral("describes columns outside the sheet"));
    m_formats.style(xf);  // refuses an XF that does not exist
    for (int col = first; col <= last; ++col) {
        m_columnXf[col] = xf;
        if (flags & kColumnHidden)
            m_sheet.columnWidths[col] = 0;
        else if (flags & kColumnUserSet)
            m_sheet.columnWidths[col] = columnWidthFromBiff(width);
    }
}

// The whole-sheet format lives in the column entries: the format most columns share
// is the sheet's, the others are the columns' own.
void SheetStreamReader::finishColumns() {
    std::map<std::uint16_t, int> counts;
    for (auto xf : m_columnXf) ++counts[xf];
    std::uint16_t common = m_columnXf[0];
    for (const auto& [xf, count] : counts)
        if (count > counts[common]) common = xf;
    m_sheet.defaultStyle = m_formats.style(common);
    for (int col = 0; col < kMaxColumns; ++col)
        if (m_columnXf[col] != common) m_sheet.columnStyles[col] = m_formats.style(m_columnXf[col]);
}

void SheetStreamReader::readRow(RecordReader& r) {
    const std::uint16_t row = r.u16();
    r.u16();
    r.u16();
    const std::uint16_t height = r.u16() & 0x7FFF;
    r.u16();
    r.u16();
    const std::uint16_t flags = r.u16();
    const std::uint16_t xf = r.u16() & 0x0FFF;
    if (flags & kRowUnsynced) m_sheet.rowHeights[row] = (flags & kRowZeroHeight) ? 0.0 : twipsToPoints(height);
    if (flags & kRowGhostDirty) m_sheet.rowStyles[row] = m_formats.style(xf);
}

void SheetStreamReader::readMerges(RecordReader& r) {
    const std::uint16_t count = r.u16();
    if (qsizetype(count) * 8 > r.remaining()) r.fail(QStringLiteral("lists more merged areas than it holds"));
    for (int k = 0; k < count; ++k) {
        CellArea a;
        a.firstRow = r.u16();
        a.lastRow = r.u16();
        a.firstCol = r.u16();
        a.lastCol = r.u16();
        if (a.firstRow > a.lastRow || a.firstCol > a.lastCol || a.lastCol >= kMaxColumns)
            r.fail(QStringLiteral("holds a merged area outside the sheet"));
        m_sheet.merges.push_back(a);
    }
}

// The selection of the top-left pane, the only one of a sheet that is not split.
// A selection that does not fit the sheet is left out: the sheet opens at A1.
void SheetStreamReader::readSelection(RecordReader& r) {
    constexpr std::uint8_t kTopLeftPane = 3;
    if (r.u8() != kTopLeftPane) return;
    CellAddress active;
    active.row = r.u16();
    active.col = r.u16();
    const std::uint16_t activeArea = r.u16();
    const std::uint16_t count = r.u16();
    if (activeArea >= count || qsizetype(count) * 6 > r.remaining()) return;
    CellArea area;
    for (int k = 0; k <= activeArea; ++k) {
        area.firstRow = r.u16();
        area.lastRow = r.u16();
        area.firstCol = r.u8();
        area.lastCol = r.u8();
    }
    if (area.firstRow > area.lastRow || area.firstCol > area.lastCol || !area.contains(active.row, active.col))
        return;
    m_sheet.selection = area;
    m_sheet.activeCell = active;
}

void SheetStreamReader::readSetup(RecordReader& r) {
    PageSetupData& p = m_sheet.pageSetup;
    const std::uint16_t paper = r.u16();
    const std::uint16_t scale = r.u16();
    r.u16();
    const std::uint16_t wide = r.u16();
    const std::uint16_t tall = r.u16();
    const std::uint16_t flags = r.u16();
    r.u16();
    r.u16();
    p.headerMargin = r.f64();
    p.footerMargin = r.f64();
    p.fitToPagesWide = wide;
    p.fitToPagesTall = tall;
    if (!(flags & kSetupNoPrinterData)) {
        p.paperSize = static_cast<PaperSize>(paper);
        p.orientation = (flags & kSetupPortrait) ? Orientation::Portrait : Orientation::Landscape;
        m_scale = scale;
    }
    p.printComments = !(flags & kSetupNotes)      ? PrintComments::None
                      : (flags & kSetupEndNotes) ? PrintComments::AtEndOfSheet
                                                 : PrintComments::InPlace;
}

}  // namespace

void readSheetStream(QByteArrayView stream, qsizetype bof, SheetData& sheet, CellFormatCatalog& formats,
                     const std::vector<QString>& sharedStrings, std::size_t& cellBudget) {
    SheetStreamReader(stream, bof, sheet, formats, sharedStrings, cellBudget).read();
}

}  // namespace engine::xls
