#include "engine/xls/defined_names.h"

#include "engine/xls/biff_reader.h"
#include "engine/xls/biff_record_types.h"
#include "engine/xls/biff_writer.h"
#include "engine/xls/byte_io.h"

namespace engine::xls {

namespace {

constexpr std::uint16_t kNameBuiltIn = 0x0020;
constexpr std::uint8_t kBuiltInPrintArea = 0x06;
constexpr std::uint8_t kPtgArea3d = 0x3B;   // reference class; 0x5B and 0x7B are the other classes
constexpr std::uint8_t kPtgRef3d = 0x3A;
constexpr std::uint16_t kSelfReference = 0x0401;

}  // namespace

void writePrintAreaNames(BiffWriter& out, int sheetCount, const std::vector<PrintAreaName>& names) {
    if (names.empty()) return;

    QByteArray supBook;
    ByteWriter(supBook).u16(sheetCount);
    ByteWriter(supBook).u16(kSelfReference);
    out.record(rt::kSupBook, supBook);

    QByteArray externSheet;
    ByteWriter x(externSheet);
    x.u16(names.size());
    for (const auto& n : names) {
        x.u16(0);  // the self-reference above
        x.u16(n.sheet);
        x.u16(n.sheet);
    }
    out.record(rt::kExternSheet, externSheet);

    for (std::size_t i = 0; i < names.size(); ++i) {
        const CellArea& a = names[i].area;
        QByteArray formula;
        ByteWriter f(formula);
        f.u8(kPtgArea3d);
        f.u16(i);  // EXTERNSHEET entry
        f.u16(a.firstRow);
        f.u16(a.lastRow);
        f.u16(a.firstCol);  // absolute: no relative flags in the column words
        f.u16(a.lastCol);

        QByteArray body;
        ByteWriter w(body);
        w.u16(kNameBuiltIn);
        w.u8(0);                      // no keyboard shortcut
        w.u8(1);                      // name length: one built-in code
        w.u16(formula.size());
        w.u16(0);
        w.u16(names[i].sheet + 1);    // local to this sheet
        w.u32(0);                     // menu, description, help and status texts: none
        w.u8(0);                      // name stored compressed
        w.u8(kBuiltInPrintArea);
        w.bytes(formula);
        out.record(rt::kName, body);
    }
}

std::vector<ExternSheetRef> readExternSheet(RecordReader& r) {
    const std::uint16_t count = r.u16();
    if (qsizetype(count) * 6 > r.remaining()) r.fail(QStringLiteral("lists more sheets than it holds"));
    std::vector<ExternSheetRef> refs(count);
    for (auto& ref : refs) {
        ref.supBook = r.u16();
        ref.firstSheet = r.u16();
        ref.lastSheet = r.u16();
    }
    return refs;
}

std::optional<PrintAreaName> readPrintAreaName(RecordReader& r, const std::vector<ExternSheetRef>& externSheets,
                                               int sheetCount) {
    const std::uint16_t flags = r.u16();
    r.u8();
    const std::uint8_t nameLength = r.u8();
    const std::uint16_t formulaSize = r.u16();
    r.u16();
    const std::uint16_t localSheet = r.u16();
    r.skip(4);
    if (!(flags & kNameBuiltIn) || nameLength != 1) return std::nullopt;
    const std::uint8_t nameFlags = r.u8();
    const std::uint16_t code = (nameFlags & 0x01) ? r.u16() : r.u8();
    if (code != kBuiltInPrintArea || formulaSize < 7) return std::nullopt;
    if (localSheet == 0 || localSheet > sheetCount) r.fail(QStringLiteral("names a sheet that does not exist"));

    const std::uint8_t ptg = r.u8();
    const std::uint8_t base = ptg & 0x9F;  // without the token class
    if (base != (kPtgArea3d & 0x9F) && base != (kPtgRef3d & 0x9F)) return std::nullopt;  // a union of areas
    const std::uint16_t xti = r.u16();
    if (xti >= externSheets.size()) r.fail(QStringLiteral("refers to a sheet reference that does not exist"));
    PrintAreaName name;
    name.sheet = localSheet - 1;
    if (base == (kPtgArea3d & 0x9F)) {
        name.area.firstRow = r.u16();
        name.area.lastRow = r.u16();
        name.area.firstCol = r.u16() & 0x00FF;
        name.area.lastCol = r.u16() & 0x00FF;
    } else {
        name.area.firstRow = name.area.lastRow = r.u16();
        name.area.firstCol = name.area.lastCol = r.u16() & 0x00FF;
    }
    if (name.area.firstRow > name.area.lastRow) std::swap(name.area.firstRow, name.area.lastRow);
    if (name.area.firstCol > name.area.lastCol) std::swap(name.area.firstCol, name.area.lastCol);
    return name;
}

}  // namespace engine::xls
