#include "engine/xls/xls_reader.h"

#include "engine/model/engine_error.h"
#include "engine/xls/biff_reader.h"
#include "engine/xls/biff_record_types.h"
#include "engine/xls/byte_io.h"
#include "engine/xls/cell_format_catalog.h"
#include "engine/xls/cell_format_records.h"
#include "engine/xls/compound_file_reader.h"
#include "engine/xls/defined_names.h"
#include "engine/xls/shared_string_table.h"
#include "engine/xls/sheet_stream_reader.h"

#include <QFile>
#include <QFileInfo>

namespace engine::xls {

namespace {

// Larger files are refused before anything is read into memory.
constexpr qint64 kMaxFileSize = qint64(512) * 1024 * 1024;
// Cells a workbook may hold: every cell takes at least two bytes of the stream, and
// no workbook opens with more than a million cells (the commission sheet of 32,767
// records has about 130,000), which keeps memory within a few hundred megabytes.
constexpr std::size_t kMaxCells = 1'000'000;

struct SheetEntry {
    QString name;
    qsizetype offset = 0;
    bool worksheet = true;
};

// What the workbook globals hold besides the cell formats.
struct Globals {
    std::vector<SheetEntry> sheets;
    std::vector<QString> strings;
    std::vector<ExternSheetRef> externSheets;
    std::vector<PrintAreaName> printAreas;
    int activeTab = 0;
};

Globals readGlobals(QByteArrayView stream, CellFormatCatalog& formats, Palette& palette) {
    if (stream.size() < 4 || readU16(stream.data()) != rt::kBof)
        throw EngineError(QStringLiteral("the file is not an Excel 97-2003 workbook"));
    BiffRecordReader records(stream, 0);
    BiffRecord record;
    records.next(record);
    {
        RecordReader bof(record.body, QStringLiteral("the workbook's BOF record"));
        if (bof.u16() != 0x0600 || bof.u16() != 0x0005)
            throw EngineError(QStringLiteral("the workbook was saved in an older format, which cannot be read"));
    }

    Globals g;
    std::vector<QByteArrayView> nameRecords;
    while (records.next(record)) {
        RecordReader r(record.body, record.type);
        switch (record.type) {
        case rt::kFilePass:
            throw EngineError(QStringLiteral("the workbook is protected by a password"));
        case rt::kFont:
            formats.addFont(readFontRecord(r));
            break;
        case rt::kFormat: {
            const std::uint16_t index = r.u16();
            formats.addFormat(index, r.string());
            break;
        }
        case rt::kXf:
            formats.addXf(readXfRecord(r));
            break;
        case rt::kPalette: {
            const std::uint16_t count = r.u16();
            if (count > palette.size()) r.fail(QStringLiteral("holds more than 56 colours"));
            for (std::uint16_t i = 0; i < count; ++i) palette[i] = r.u32() & 0x00FFFFFF;
            break;
        }
        case rt::kBoundSheet: {
            SheetEntry s;
            s.offset = r.u32();
            r.u8();
            s.worksheet = r.u8() == 0;
            s.name = r.shortString();
            g.sheets.push_back(s);
            break;
        }
        case rt::kWindow1:
            r.skip(10);
            g.activeTab = r.u16();
            break;
        case rt::kExternSheet:
            g.externSheets = readExternSheet(r);
            break;
        case rt::kName:
            nameRecords.push_back(record.body);
            break;
        case rt::kSst: {
            std::vector<QByteArrayView> segments{record.body};
            for (auto c : records.takeContinuations()) segments.push_back(c);
            RecordReader sst(segments, QStringLiteral("the shared text table"));
            g.strings = readSharedStrings(sst);
            break;
        }
        case rt::kEof:
            for (auto body : nameRecords) {
                RecordReader r(body, QStringLiteral("a defined name"));
                if (auto area = readPrintAreaName(r, g.externSheets, int(g.sheets.size()))) g.printAreas.push_back(*area);
            }
            return g;
        default:
            break;
        }
    }
    throw EngineError(QStringLiteral("the workbook's global part has no end"));
}

}  // namespace

WorkbookData readWorkbookBytes(const QByteArray& file) {
    const CompoundFileReader container(file);
    if (!container.hasStream(QStringLiteral("Workbook"))) {
        if (container.hasStream(QStringLiteral("Book")))
            throw EngineError(QStringLiteral("the workbook was saved in an older format, which cannot be read"));
        throw EngineError(QStringLiteral("the file holds no workbook"));
    }
    QByteArray copy;  // holds the stream only when its sectors are scattered
    const QByteArrayView stream = container.streamBytes(QStringLiteral("Workbook"), copy);

    WorkbookData wb;
    CellFormatCatalog formats(wb.styles);
    const Globals g = readGlobals(stream, formats, wb.palette);

    std::size_t cellBudget = std::min<std::size_t>(kMaxCells, std::size_t(stream.size()) / 2);
    std::vector<int> sheetOfTab(g.sheets.size(), -1);
    for (std::size_t tab = 0; tab < g.sheets.size(); ++tab) {
        const SheetEntry& entry = g.sheets[tab];
        if (!entry.worksheet) continue;  // chart and macro sheets are left out
        if (entry.offset < 0 || entry.offset >= stream.size())
            throw EngineError(QStringLiteral("the sheet \"%1\" lies outside the workbook").arg(entry.name));
        auto sheet = std::make_unique<SheetData>();
        sheet->name = entry.name;
        readSheetStream(stream, entry.offset, *sheet, formats, g.strings, cellBudget);
        sheetOfTab[tab] = int(wb.sheets.size());
        wb.sheets.push_back(std::move(sheet));
    }
    if (wb.sheets.empty()) throw EngineError(QStringLiteral("the workbook has no worksheet"));

    for (const PrintAreaName& name : g.printAreas)
        if (sheetOfTab[name.sheet] >= 0) wb.sheets[sheetOfTab[name.sheet]]->pageSetup.printArea = name.area;
    if (g.activeTab >= 0 && g.activeTab < int(sheetOfTab.size()) && sheetOfTab[g.activeTab] >= 0)
        wb.activeSheet = sheetOfTab[g.activeTab];
    return wb;
}

WorkbookData readWorkbook(const QString& path) {
    const QString shown = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EngineError(QStringLiteral("The file \"%1\" could not be opened: %2.").arg(shown, file.errorString()));
    if (file.size() > kMaxFileSize)
        throw EngineError(QStringLiteral("The file \"%1\" could not be opened: it is too large.").arg(shown));
    const QByteArray bytes = file.readAll();
    try {
        return readWorkbookBytes(bytes);
    } catch (const EngineError& e) {
        throw EngineError(QStringLiteral("The file \"%1\" could not be opened: %2.").arg(shown, e.description()));
    } catch (const std::bad_alloc&) {
        throw EngineError(QStringLiteral("The file \"%1\" could not be opened: it is too large.").arg(shown));
    }
}

}  // namespace engine::xls
