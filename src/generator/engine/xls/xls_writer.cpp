#include "generator/engine/xls/xls_writer.h"

#include "generator/engine/model/engine_error.h"
#include "generator/engine/xls/biff_record_types.h"
#include "generator/engine/xls/biff_writer.h"
#include "generator/engine/xls/byte_io.h"
#include "generator/engine/xls/cell_format_table.h"
#include "generator/engine/xls/compound_file_writer.h"
#include "generator/engine/xls/defined_names.h"
#include "generator/engine/xls/shared_string_table.h"
#include "generator/engine/xls/sheet_stream_writer.h"
#include "shell/atomic_file.h"

#include <QIODevice>
#include <functional>

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

std::vector<StyleId> usedStyles(const WorkbookData& wb) {
    std::vector<StyleId> used;
    for (const auto& sheet : wb.sheets) {
        used.push_back(sheet->defaultStyle);
        for (const auto& [col, id] : sheet->columnStyles) used.push_back(id);
        for (const auto& [row, id] : sheet->rowStyles) used.push_back(id);
        for (const auto& [at, cell] : sheet->cells) used.push_back(cell.style);
    }
    for (StyleId id : used)
        if (id >= wb.styles.size()) throw EngineError(QStringLiteral("A cell refers to a format that does not exist."));
    return used;
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

void writeGlobalsHead(BiffWriter& out, const WorkbookData& wb) {
    out.record(rt::kBof, body([](ByteWriter& w) {
        w.u16(0x0600);  // BIFF8
        w.u16(0x0005);  // workbook globals
        w.u16(0x0DBB);
        w.u16(0x07CC);
        w.u32(0);
        w.u32(0x06);
    }));
    u16Record(out, rt::kCodePage, 1200);  // texts are Unicode
    u16Record(out, rt::kDsf, 0);
    out.record(rt::kTabId, body([&](ByteWriter& w) {
        for (std::size_t i = 0; i < wb.sheets.size(); ++i) w.u16(i + 1);
    }));
    u16Record(out, rt::kWindowProtect, 0);
    u16Record(out, rt::kProtect, 0);
    u16Record(out, rt::kPassword, 0);
    u16Record(out, rt::kProt4Rev, 0);
    u16Record(out, rt::kProt4RevPass, 0);
    out.record(rt::kWindow1, body([&](ByteWriter& w) {
        w.u16(0x0168);  // window position and size, in twips
        w.u16(0x001E);
        w.u16(0x3A5C);
        w.u16(0x2328);
        w.u16(0x0038);  // horizontal and vertical scroll bars, sheet tabs shown
        w.u16(wb.activeSheet);
        w.u16(0);       // first tab shown
        w.u16(1);       // selected tabs
        w.u16(0x0258);  // tab bar width ratio
    }));
    u16Record(out, rt::kBackup, 0);
    u16Record(out, rt::kHideObj, 0);
    u16Record(out, rt::kDateMode, 0);   // dates count from 1900
    u16Record(out, rt::kPrecision, 1);  // full precision
    u16Record(out, rt::kRefreshAll, 0);
    u16Record(out, rt::kBookBool, 0);
}

void writePalette(BiffWriter& out, const Palette& palette) {
    out.record(rt::kPalette, body([&](ByteWriter& w) {
        w.u16(palette.size());
        for (std::uint32_t colour : palette) w.u32(colour & 0x00FFFFFF);  // red, green, blue, unused
    }));
}

}  // namespace

QByteArray buildWorkbookStream(const WorkbookData& wb) {
    if (wb.sheets.empty()) throw EngineError(QStringLiteral("A workbook must contain at least one sheet."));
    if (wb.activeSheet < 0 || wb.activeSheet >= int(wb.sheets.size()))
        throw EngineError(QStringLiteral("The active sheet does not exist."));
    checkSheetNames(wb);

    const CellFormatTable formats(wb.styles, usedStyles(wb));
    SharedStringTableBuilder strings;
    std::vector<PrintAreaName> printAreas;
    for (std::size_t i = 0; i < wb.sheets.size(); ++i) {
        collectSheetTexts(*wb.sheets[i], strings);
        if (const auto& area = wb.sheets[i]->pageSetup.printArea) printAreas.push_back({int(i), *area});
    }

    BiffWriter out;
    writeGlobalsHead(out, wb);
    formats.write(out);
    writePalette(out, wb.palette);
    u16Record(out, rt::kUsesElfs, 0);
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
    out.record(rt::kCountry, body([](ByteWriter& w) {
        w.u16(1);  // user interface: United States
        w.u16(1);  // system settings
    }));
    writePrintAreaNames(out, int(wb.sheets.size()), printAreas);
    strings.write(out);
    out.record(rt::kEof, {});

    for (std::size_t i = 0; i < wb.sheets.size(); ++i) {
        out.patchU32(sheetOffsets[i], static_cast<std::uint32_t>(out.position()));
        writeSheetStream(out, *wb.sheets[i], int(i) == wb.activeSheet, formats, strings);
    }
    return std::move(out.stream());
}

QByteArray buildWorkbookFile(const WorkbookData& wb) {
    return buildCompoundFile({{QStringLiteral("Workbook"), buildWorkbookStream(wb)}});
}

void writeWorkbook(const WorkbookData& wb, const QString& path) {
    const QByteArray file = buildWorkbookFile(wb);
    try {
        shell::WriteFileAtomically(path, [&](QIODevice& out) { return out.write(file) == file.size(); });
    } catch (const EngineError&) {
        throw;
    } catch (const shell::Failure& f) {
        throw EngineError(f.description());
    }
}

}  // namespace engine::xls
