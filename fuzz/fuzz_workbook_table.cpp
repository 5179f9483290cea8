// The workbook readers behind the record import (.xlsx and .ods through minizip
// and the XML reader, .xls through the engine's): any bytes give tables whose
// rows lie within a sheet, numbered upwards, each as wide as its table, or fail
// with a description; the import's guess and plan run on every table. The first
// byte chooses what the rest is: a whole file, or the XML of a worksheet (.xlsx)
// or of content.xml (.ods) put into a small archive here, so that the XML reading
// is searched without the zip's checks in the way.
#include "fuzz_support.h"
#include "generator/workbook_tables.h"
#include "records/record_import.h"
#include "shell/failure.h"

#include <array>

namespace {

std::uint32_t crc32Of(const QByteArray& bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char b : bytes) crc = table[(crc ^ std::uint8_t(b)) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void put16(QByteArray& out, std::uint32_t v) { out.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); }
void put32(QByteArray& out, std::uint32_t v) { put16(out, v & 0xFFFF), put16(out, v >> 16); }

// A zip archive of stored (uncompressed) entries, in order.
QByteArray storedZip(const std::vector<std::pair<QByteArray, QByteArray>>& entries) {
    QByteArray out, directory;
    for (const auto& entry : entries) {
        const QByteArray& name = entry.first;
        const QByteArray& data = entry.second;
        const auto offset = std::uint32_t(out.size());
        const std::uint32_t crc = crc32Of(data);
        auto header = [&](QByteArray& to, bool central) {
            put32(to, central ? 0x02014b50 : 0x04034b50);
            if (central) put16(to, 20);
            for (std::uint32_t v : {20u, 0u, 0u, 0u, 0u}) put16(to, v);  // version, flags, method, time, date
            put32(to, crc), put32(to, std::uint32_t(data.size())), put32(to, std::uint32_t(data.size()));
            put16(to, std::uint32_t(name.size())), put16(to, 0);
            if (central) {
                for (std::uint32_t v : {0u, 0u, 0u}) put16(to, v);  // comment, disk, internal attributes
                put32(to, 0), put32(to, offset);
            }
            to += name;
        };
        header(out, false);
        out += data;
        header(directory, true);
    }
    const auto directoryOffset = std::uint32_t(out.size());
    out += directory;
    put32(out, 0x06054b50), put16(out, 0), put16(out, 0);
    put16(out, std::uint32_t(entries.size())), put16(out, std::uint32_t(entries.size()));
    put32(out, std::uint32_t(directory.size())), put32(out, directoryOffset), put16(out, 0);
    return out;
}

QByteArray xlsxAround(const QByteArray& sheet) {
    return storedZip({
        {"[Content_Types].xml", "<Types/>"},
        {"xl/workbook.xml",
         "<workbook xmlns:r=\"urn:r\"><sheets><sheet name=\"S\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
         "<Relationship Id=\"rId2\" Type=\"x/sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>"},
        {"xl/sharedStrings.xml", "<sst><si><t>Name</t></si><si><r><t>Ann</t></r><r><t>e</t></r></si></sst>"},
        {"xl/worksheets/sheet1.xml", sheet},
    });
}

QByteArray odsAround(const QByteArray& content) {
    return storedZip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", content}});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t mode = in.byte();
    const QByteArray rest = in.restAsBytes();
    const QByteArray file = mode % 3 == 1 ? xlsxAround(rest) : mode % 3 == 2 ? odsAround(rest) : rest;
    const QLocale& locale = fuzz::localeFor(mode / 3);

    std::vector<generator::RecordTable> tables;
    try {
        tables = generator::readWorkbookTables(file, locale);
    } catch (const shell::Failure& failure) {
        fuzz::check(!failure.description().isEmpty(), "a failure says nothing");
        return 0;
    }
    for (const generator::RecordTable& table : tables) {
        fuzz::check(table.columnCount >= 0 && table.columnCount <= 256, "a table wider than a sheet", table.sheetName);
        int previousLine = 0;
        for (const generator::TableRow& row : table.rows) {
            fuzz::check(row.line > previousLine && row.line <= 65536, "rows out of order or beyond a sheet", table.sheetName);
            fuzz::check(int(row.cells.size()) == table.columnCount, "a row narrower or wider than its table");
            previousLine = row.line;
        }
        const records::ColumnGuess guess = records::guessColumns(table, locale);
        const records::ImportPlan plan = records::planImport(table, guess.columns, {}, QStringLiteral("10"), locale);
        fuzz::check(plan.added.size() + qsizetype(plan.refused.size()) <= qsizetype(table.rows.size()),
                    "more records and refusals than rows");
    }
    return 0;
}
