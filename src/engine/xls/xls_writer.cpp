#include "engine/xls/xls_writer.h"

#include "engine/model/engine_error.h"
#include "engine/xls/biff_record_types.h"
#include "engine/xls/biff_writer.h"
#include "engine/xls/byte_io.h"
#include "engine/xls/cell_format_table.h"
#include "engine/xls/compound_file_writer.h"
#include "engine/xls/defined_names.h"
#include "engine/xls/shared_string_table.h"
#include "engine/xls/sheet_stream_writer.h"
#include "engine/xls/sheet_survey.h"
#include "shell/atomic_file.h"

#include <QIODevice>

namespace engine::xls {

namespace {

void checkSheetNames(const WorkbookData& wb) {
    static const QString forbidden = QStringLiteral("[]:*?/\\");
    for (std::size_t i = 0; i < wb.sheets.size(); ++i) {
        const QString& name = wb.sheets[i]->name;
        bool valid = !name.isEmpty() && name.size() <= 31 && !name.startsWith('\'') && !name.endsWith('\'');
        for (QChar c : name) valid = valid && !forbidden.contains(c);
        if (!valid) throw EngineError(QStringLiteral("The sheet name \"%1\" cannot be saved in a workbook.").arg(name));
        for (std::size_t j = 0; j < i; ++j)
            if (wb.sheets[j]->name.compare(name, Qt::CaseInsensitive) == 0)
                throw EngineError(QStringLiteral("The sheet name \"%1\" is used twice.").arg(name));
    }
}

void writeGlobalsHead(BiffWriter& out, const WorkbookData& wb) {
    const qsizetype bof = out.beginRecord(rt::kBof);
    out.u16(0x0600);  // BIFF8
    out.u16(0x0005);  // workbook globals
    out.u16(0x0DBB);
    out.u16(0x07CC);
    out.u32(0);
    out.u32(0x06);
    out.endRecord(bof);
    out.u16Record(rt::kCodePage, 1200);  // texts are Unicode
    out.u16Record(rt::kDsf, 0);
    const qsizetype tabs = out.beginRecord(rt::kTabId);
    for (std::size_t i = 0; i < wb.sheets.size(); ++i) out.u16(i + 1);
    out.endRecord(tabs);
    out.u16Record(rt::kWindowProtect, 0);
    out.u16Record(rt::kProtect, 0);
    out.u16Record(rt::kPassword, 0);
    out.u16Record(rt::kProt4Rev, 0);
    out.u16Record(rt::kProt4RevPass, 0);
    const qsizetype window = out.beginRecord(rt::kWindow1);
    out.u16(0x0168);  // window position and size, in twips
    out.u16(0x001E);
    out.u16(0x3A5C);
    out.u16(0x2328);
    out.u16(0x0038);  // horizontal and vertical scroll bars, sheet tabs shown
    out.u16(wb.activeSheet);
    out.u16(0);       // first tab shown
    out.u16(1);       // selected tabs
    out.u16(0x0258);  // tab bar width ratio
    out.endRecord(window);
    out.u16Record(rt::kBackup, 0);
    out.u16Record(rt::kHideObj, 0);
    out.u16Record(rt::kDateMode, 0);   // dates count from 1900
    out.u16Record(rt::kPrecision, 1);  // full precision
    out.u16Record(rt::kRefreshAll, 0);
    out.u16Record(rt::kBookBool, 0);
}

void writePalette(BiffWriter& out, const Palette& palette) {
    const qsizetype record = out.beginRecord(rt::kPalette);
    out.u16(palette.size());
    for (std::uint32_t colour : palette) out.u32(colour & 0x00FFFFFF);  // red, green, blue, unused
    out.endRecord(record);
}

// Room for the whole stream and the container's structures after it, so that the
// buffer never moves: a cell's records with their share of the row records and of
// the shared texts rarely take 48 bytes. Room that is not written to costs nothing.
qsizetype expectedFileSize(const WorkbookData& wb) {
    qsizetype bytes = 64 * 1024;
    for (const auto& sheet : wb.sheets) bytes += 48 * qsizetype(sheet->cells.size()) + 4096;
    return bytes + bytes / 64;
}

// Writes the workbook stream into out.
void writeWorkbookStream(BiffWriter& out, const WorkbookData& wb) {
    if (wb.sheets.empty()) throw EngineError(QStringLiteral("A workbook must contain at least one sheet."));
    if (wb.activeSheet < 0 || wb.activeSheet >= int(wb.sheets.size()))
        throw EngineError(QStringLiteral("The active sheet does not exist."));
    checkSheetNames(wb);

    SharedStringTableBuilder strings;
    const WorkbookSurvey survey = surveyWorkbook(wb, strings);
    const CellFormatTable formats(wb.styles, survey.usedStyles);
    if (survey.textTooLong) throw EngineError(*survey.textTooLong);
    std::vector<PrintAreaName> printAreas;
    for (std::size_t i = 0; i < wb.sheets.size(); ++i)
        if (const auto& area = wb.sheets[i]->pageSetup.printArea) printAreas.push_back({int(i), *area});

    out.reserve(expectedFileSize(wb));
    writeGlobalsHead(out, wb);
    formats.write(out);
    writePalette(out, wb.palette);
    out.u16Record(rt::kUsesElfs, 0);
    std::vector<qsizetype> sheetOffsets;
    for (const auto& sheet : wb.sheets) {
        sheetOffsets.push_back(out.position() + 4);
        QByteArray b;
        ByteWriter w(b);
        w.u32(0);  // position of the sheet's BOF, patched below
        w.u8(0);   // visible
        w.u8(0);   // worksheet
        appendUnicodeString(b, sheet->name, LengthField::Byte);
        out.record(rt::kBoundSheet, b);
    }
    const qsizetype country = out.beginRecord(rt::kCountry);
    out.u16(1);  // user interface: United States
    out.u16(1);  // system settings
    out.endRecord(country);
    writePrintAreaNames(out, int(wb.sheets.size()), printAreas);
    strings.write(out);
    out.record(rt::kEof, {});

    for (std::size_t i = 0; i < wb.sheets.size(); ++i) {
        out.patchU32(sheetOffsets[i], static_cast<std::uint32_t>(out.position()));
        writeSheetStream(out, *wb.sheets[i], int(i) == wb.activeSheet, formats, survey.sheets[i]);
    }
}

}  // namespace

QByteArray buildWorkbookStream(const WorkbookData& wb) {
    BiffWriter out;
    writeWorkbookStream(out, wb);
    return out.take();
}

// The stream is written where the file will hold it, after room for the header.
QByteArray buildWorkbookFile(const WorkbookData& wb) {
    BiffWriter out(kCompoundHeaderRoom);
    writeWorkbookStream(out, wb);
    return completeCompoundFile(QStringLiteral("Workbook"), out.take());
}

void writeWorkbook(const WorkbookData& wb, const QString& path, shell::Durability durability) {
    const QByteArray file = buildWorkbookFile(wb);
    try {
        shell::writeFileAtomically(
            path, [&](QIODevice& out) { return out.write(file) == file.size(); }, durability);
    } catch (const EngineError&) {
        throw;
    } catch (const shell::Failure& f) {
        throw EngineError(f.description());
    }
}

}  // namespace engine::xls
