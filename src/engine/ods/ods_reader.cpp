#include "engine/ods/ods_reader.h"

#include "engine/model/engine_error.h"
#include "engine/zip/xml_workbook_parts.h"
#include "engine/zip/zip_archive.h"

namespace engine::ods {
namespace {

using zip::XmlPart;

constexpr char kMimeType[] = "application/vnd.oasis.opendocument.spreadsheet";
constexpr QLatin1String kOfficeNamespace("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
constexpr QLatin1String kTableNamespace("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
constexpr QLatin1String kTextNamespace("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
constexpr int kMaxRepeat = 1 << 20;  // more than a sheet of any application has rows

// A repeat count ("table:number-rows-repeated"); 1 when absent.
int repeatCount(const QXmlStreamAttributes& attributes, QLatin1String name, XmlPart& part) {
    const QStringView text = attributes.value(kTableNamespace, name);
    if (text.isEmpty()) return 1;
    bool ok = false;
    const int count = text.toInt(&ok);
    if (!ok || count < 1 || count > kMaxRepeat) part.fail(QStringLiteral("a repeat count is \"%1\"").arg(text.left(20)));
    return count;
}

// The text of a paragraph (<text:p>), with its spaces, tabs and line breaks.
void appendParagraph(XmlPart& part, QString& text) {
    QXmlStreamReader& xml = part.xml();
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
            text += xml.text();
            break;
        case QXmlStreamReader::StartElement: {
            ++depth;
            const auto name = xml.name();
            if (name == QLatin1String("s")) {
                const int count = std::clamp(xml.attributes().value(kTextNamespace, QLatin1String("c")).toInt(), 1, 1024);
                text += QString(count, QLatin1Char(' '));
            } else if (name == QLatin1String("tab")) {
                text += QLatin1Char('\t');
            } else if (name == QLatin1String("line-break")) {
                text += QLatin1Char('\n');
            } else if (name == QLatin1String("annotation") || name == QLatin1String("note")) {
                // A comment's text is not the cell's.
                xml.skipCurrentElement();
                --depth;
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    if (xml.hasError()) part.fail(xml.errorString());
}

// The value of the cell at the reader, which is then at the cell's end.
CellValue readCell(XmlPart& part) {
    const QXmlStreamAttributes attributes = part.xml().attributes();
    const QStringView type = attributes.value(kOfficeNamespace, QLatin1String("value-type"));
    QString shown;
    bool firstParagraph = true;
    const qint64 cell = part.depth();
    while (part.nextElement(cell)) {
        if (part.xml().name() == QLatin1String("p") && part.depth() == cell + 1) {
            if (!std::exchange(firstParagraph, false)) shown += QLatin1Char('\n');
            appendParagraph(part, shown);
            part.leftElement();
        }
    }
    if (type.isEmpty()) return {};
    if (type == QLatin1String("float") || type == QLatin1String("percentage") || type == QLatin1String("currency")) {
        const QStringView text = attributes.value(kOfficeNamespace, QLatin1String("value"));
        const std::optional<double> number = zip::xmlNumber(text);
        if (!number) part.fail(QStringLiteral("a cell's number is \"%1\"").arg(text.left(40)));
        return *number;
    }
    if (type == QLatin1String("boolean")) return attributes.value(kOfficeNamespace, QLatin1String("boolean-value")) == QLatin1String("true");
    if (type == QLatin1String("string") && attributes.hasAttribute(kOfficeNamespace, QLatin1String("string-value")))
        return attributes.value(kOfficeNamespace, QLatin1String("string-value")).toString();
    return shown;
}

void readTable(XmlPart& part, SheetData& sheet, std::size_t& cellBudget) {
    zip::SheetValues values(sheet, cellBudget);
    const qint64 table = part.depth();
    qint64 row = 0;
    while (part.nextElement(table)) {
        if (part.xml().name() != QLatin1String("table-row")) continue;
        const int rowRepeat = repeatCount(part.xml().attributes(), QLatin1String("number-rows-repeated"), part);
        std::vector<std::pair<qint64, CellValue>> cells;
        qint64 col = 0;
        const qint64 rowDepth = part.depth();
        while (part.nextElement(rowDepth)) {
            const auto name = part.xml().name();
            if (name != QLatin1String("table-cell") && name != QLatin1String("covered-table-cell")) continue;
            const int colRepeat = repeatCount(part.xml().attributes(), QLatin1String("number-columns-repeated"), part);
            CellValue value = readCell(part);
            if (!isEmpty(value))
                for (int i = 0; i < colRepeat && col + i < kMaxColumns + 1; ++i) cells.emplace_back(col + i, value);
            col += colRepeat;
        }
        for (int r = 0; r < rowRepeat && !cells.empty(); ++r)
            for (const auto& [c, value] : cells) values.put(int(std::min<qint64>(row + r, kMaxRows)), int(c), value);
        row += rowRepeat;
    }
}

}  // namespace

bool looksLikeOds(const QByteArray& file) {
    // The first entry is "mimetype", stored: its text follows the 30-byte local
    // header and the 8-byte name.
    return zip::ZipArchive::looksLikeZip(file) && file.mid(30, 8) == "mimetype" &&
           file.mid(38, qsizetype(sizeof kMimeType) - 1) == kMimeType;
}

WorkbookData readWorkbookValues(const QByteArray& file) {
    const zip::ZipArchive archive(file);
    const std::optional<QByteArray> content = archive.read(QStringLiteral("content.xml"));
    if (!content) throw EngineError(QStringLiteral("the workbook lacks its part \"content.xml\""));
    XmlPart part(*content, QStringLiteral("content.xml"));
    WorkbookData wb;
    std::size_t cellBudget = zip::kMaxValueCells;
    while (part.nextElement(0)) {
        if (part.xml().name() != QLatin1String("table") ||
            part.xml().namespaceUri() != kTableNamespace)
            continue;
        auto sheet = std::make_unique<SheetData>();
        sheet->name = part.xml().attributes().value(kTableNamespace, QLatin1String("name")).toString();
        readTable(part, *sheet, cellBudget);
        wb.sheets.push_back(std::move(sheet));
    }
    if (wb.sheets.empty()) throw EngineError(QStringLiteral("the workbook has no sheet"));
    return wb;
}

}  // namespace engine::ods
