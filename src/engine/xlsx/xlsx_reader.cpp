#include "engine/xlsx/xlsx_reader.h"

#include "engine/formula/error_literals.h"
#include "engine/model/engine_error.h"
#include "engine/zip/xml_workbook_parts.h"
#include "engine/zip/zip_archive.h"

#include <QHash>
#include <optional>

namespace engine::xlsx {
namespace {

using zip::XmlPart;
using zip::ZipArchive;

// A part's path from a relationship's target: absolute ("/xl/worksheets/s.xml")
// or relative to the folder of the part that names it ("worksheets/s.xml").
QString partPath(const QString& folder, const QString& target) {
    if (target.startsWith(QLatin1Char('/'))) return target.mid(1);
    QStringList parts = folder.isEmpty() ? QStringList() : folder.split(QLatin1Char('/'));
    for (const QString& piece : target.split(QLatin1Char('/'))) {
        if (piece == QLatin1String("..")) {
            if (!parts.isEmpty()) parts.removeLast();
        } else if (!piece.isEmpty() && piece != QLatin1String(".")) {
            parts << piece;
        }
    }
    return parts.join(QLatin1Char('/'));
}

QString folderOf(const QString& path) { return path.section(QLatin1Char('/'), 0, -2); }

// "xl/_rels/workbook.xml.rels" for "xl/workbook.xml".
QString relationshipsOf(const QString& path) {
    const QString folder = folderOf(path);
    return (folder.isEmpty() ? QString() : folder + QLatin1Char('/')) + QStringLiteral("_rels/") +
           path.section(QLatin1Char('/'), -1) + QStringLiteral(".rels");
}

QByteArray requiredPart(const ZipArchive& archive, const QString& path) {
    std::optional<QByteArray> bytes = archive.read(path);
    if (!bytes) throw EngineError(QStringLiteral("the workbook lacks its part \"%1\"").arg(path));
    return std::move(*bytes);
}

struct Relationship {
    QString type;  // the last piece of the type's URI: "worksheet", "sharedStrings"
    QString target;
};

// The relationships of a part by their identifiers; none when it has no relationships part.
QHash<QString, Relationship> readRelationships(const ZipArchive& archive, const QString& path) {
    QHash<QString, Relationship> out;
    const QString relsPath = relationshipsOf(path);
    const std::optional<QByteArray> bytes = archive.read(relsPath);
    if (!bytes) return out;
    XmlPart part(*bytes, relsPath);
    while (part.nextElement(0)) {
        if (part.xml().name() != QLatin1String("Relationship")) continue;
        const QXmlStreamAttributes attributes = part.xml().attributes();
        if (attributes.value(QLatin1String("TargetMode")) == QLatin1String("External")) continue;
        out.insert(attributes.value(QLatin1String("Id")).toString(),
                   {attributes.value(QLatin1String("Type")).toString().section(QLatin1Char('/'), -1),
                    partPath(folderOf(path), attributes.value(QLatin1String("Target")).toString())});
    }
    return out;
}

// Texts may carry characters XML cannot as "_xHHHH_"; "_x005F_" escapes the underscore.
QString unescapedText(const QString& text) {
    if (!text.contains(QLatin1String("_x"))) return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('_') && i + 6 < text.size() && text[i + 1] == QLatin1Char('x') &&
            text[i + 6] == QLatin1Char('_')) {
            bool ok = false;
            const uint code = QStringView(text).mid(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                out += QChar(char16_t(code));
                i += 6;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// The text of a string item (<si>, <is>): its <t> and the <t> of its runs, without
// the phonetic runs (<rPh>).
QString stringItemText(XmlPart& part) {
    QString text;
    const qint64 item = part.depth();
    while (part.nextElement(item)) {
        const auto name = part.xml().name();
        if (name == QLatin1String("rPh")) {
            part.elementText();
        } else if (name == QLatin1String("t")) {
            text += part.elementText();
        }
    }
    return unescapedText(text);
}

std::vector<QString> readSharedStrings(const QByteArray& bytes, const QString& path) {
    std::vector<QString> strings;
    XmlPart part(bytes, path);
    while (part.nextElement(0))
        if (part.xml().name() == QLatin1String("si")) strings.push_back(stringItemText(part));
    return strings;
}

// "B12" as a 0-based row and column; none when it is no cell reference. Numbers
// past any sheet's size are kept large rather than wrapped.
std::optional<CellAddress> cellAddress(QStringView text) {
    qsizetype i = 0;
    int col = 0;
    for (; i < text.size() && text[i].isLetter() && text[i].unicode() < 128; ++i)
        col = std::min(col * 26 + (text[i].toUpper().unicode() - 'A' + 1), 1 << 24);
    int row = 0;
    const qsizetype digitsStart = i;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i)
        row = std::min(row * 10 + (text[i].unicode() - '0'), 1 << 24);
    if (col == 0 || i == digitsStart || i != text.size() || row == 0) return std::nullopt;
    return CellAddress{row - 1, col - 1};
}

CellValue cellValue(QStringView type, const QString& value, const QString& inlineText,
                    const std::vector<QString>& strings, XmlPart& part) {
    if (type == QLatin1String("s")) {
        bool ok = false;
        const qulonglong index = value.trimmed().toULongLong(&ok);
        if (!ok || index >= strings.size()) part.fail(QStringLiteral("a cell names a shared text that does not exist"));
        return strings[index];
    }
    if (type == QLatin1String("inlineStr")) return inlineText;
    if (type == QLatin1String("str") || type == QLatin1String("d")) return unescapedText(value);
    if (value.isEmpty()) return {};
    if (type == QLatin1String("b")) return value.trimmed() == QLatin1String("1");
    if (type == QLatin1String("e")) return formula::errorValueFromText(value.trimmed()).value_or(ErrorValue::Value);
    const std::optional<double> number = zip::xmlNumber(value);
    if (!number) part.fail(QStringLiteral("the number \"%1\" of a cell is no number").arg(value.left(40)));
    return *number;
}

void readSheet(const QByteArray& bytes, const QString& path, SheetData& sheet, const std::vector<QString>& strings,
               std::size_t& cellBudget) {
    XmlPart part(bytes, path);
    zip::SheetValues values(sheet, cellBudget);
    int row = -1;
    int col = -1;
    while (part.nextElement(0)) {
        const auto name = part.xml().name();
        const QXmlStreamAttributes attributes = part.xml().attributes();
        if (name == QLatin1String("row")) {
            const QStringView r = attributes.value(QLatin1String("r"));
            bool ok = true;
            row = r.isEmpty() ? row + 1 : r.toInt(&ok) - 1;
            if (!ok || row < 0) part.fail(QStringLiteral("a row has the number \"%1\"").arg(r.left(20)));
            col = -1;
        } else if (name == QLatin1String("c")) {
            const QStringView r = attributes.value(QLatin1String("r"));
            if (r.isEmpty()) {
                ++col;
            } else {
                const std::optional<CellAddress> at = cellAddress(r);
                if (!at) part.fail(QStringLiteral("a cell has the reference \"%1\"").arg(r.left(20)));
                row = at->row;
                col = at->col;
            }
            if (row < 0) row = 0;
            const QString type = attributes.value(QLatin1String("t")).toString();
            QString value;
            QString inlineText;
            const qint64 cell = part.depth();
            while (part.nextElement(cell)) {
                const auto child = part.xml().name();
                if (child == QLatin1String("v")) value = part.elementText();
                else if (child == QLatin1String("is")) inlineText = stringItemText(part);
            }
            values.put(row, col, cellValue(type, value, inlineText, strings, part));
        }
    }
}

struct SheetEntry {
    QString name;
    QString relationship;
};

}  // namespace

WorkbookData readWorkbookValues(const QByteArray& file) {
    const ZipArchive archive(file);

    // The workbook part, as the package's relationships name it.
    QString workbookPath = QStringLiteral("xl/workbook.xml");
    for (const Relationship& r : readRelationships(archive, QString()))
        if (r.type == QLatin1String("officeDocument")) workbookPath = r.target;
    const QHash<QString, Relationship> relationships = readRelationships(archive, workbookPath);

    std::vector<SheetEntry> entries;
    int activeTab = 0;
    {
        XmlPart part(requiredPart(archive, workbookPath), workbookPath);
        while (part.nextElement(0)) {
            const auto name = part.xml().name();
            const QXmlStreamAttributes attributes = part.xml().attributes();
            if (name == QLatin1String("sheet")) {
                SheetEntry entry{attributes.value(QLatin1String("name")).toString(), QString()};
                // r:id, whatever the prefix of the relationships' namespace.
                for (const QXmlStreamAttribute& a : attributes)
                    if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty()) entry.relationship = a.value().toString();
                entries.push_back(entry);
            } else if (name == QLatin1String("workbookView")) {
                activeTab = attributes.value(QLatin1String("activeTab")).toInt();
            }
        }
    }

    std::vector<QString> strings;
    for (const Relationship& r : relationships)
        if (r.type == QLatin1String("sharedStrings")) strings = readSharedStrings(requiredPart(archive, r.target), r.target);

    WorkbookData wb;
    std::size_t cellBudget = zip::kMaxValueCells;
    for (std::size_t tab = 0; tab < entries.size(); ++tab) {
        const auto relationship = relationships.constFind(entries[tab].relationship);
        // Chart sheets and dialog sheets hold no cells.
        if (relationship == relationships.cend() || relationship->type != QLatin1String("worksheet")) continue;
        auto sheet = std::make_unique<SheetData>();
        sheet->name = entries[tab].name;
        readSheet(requiredPart(archive, relationship->target), relationship->target, *sheet, strings, cellBudget);
        if (int(tab) == activeTab) wb.activeSheet = int(wb.sheets.size());
        wb.sheets.push_back(std::move(sheet));
    }
    if (wb.sheets.empty()) throw EngineError(QStringLiteral("the workbook has no worksheet"));
    return wb;
}

}  // namespace engine::xlsx
