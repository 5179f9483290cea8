#include "engine/zip/xml_workbook_parts.h"

#include "engine/model/engine_error.h"

#include <charconv>
#include <cmath>

namespace engine::zip {

void SheetValues::put(int row, int col, CellValue value) {
    if (isEmpty(value)) return;
    if (row < 0 || row >= kMaxRows || col < 0 || col >= kMaxColumns)
        throw EngineError(QStringLiteral("the sheet \"%1\" holds values beyond row 65,536 or column 256, more than "
                                         "a sheet here holds")
                              .arg(m_sheet.name));
    if (m_cellBudget == 0)
        throw EngineError(QStringLiteral("the workbook holds more than %1 cells, too many to read").arg(kMaxValueCells));
    --m_cellBudget;
    m_sheet.cells[CellAddress{row, col}].value = std::move(value);
}

std::optional<double> xmlNumber(QStringView text) {
    text = text.trimmed();
    char ascii[64];
    if (text.isEmpty() || text.size() >= qsizetype(sizeof ascii)) return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() > 127) return std::nullopt;
        ascii[i] = char(text[i].unicode());
    }
    // A leading "+" is allowed in XML Schema's numbers, not by from_chars.
    const char* first = ascii + (ascii[0] == '+');
    double value = 0;
    const auto [end, error] = std::from_chars(first, ascii + text.size(), value);
    if (error != std::errc() || end != ascii + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

void XmlPart::fail(const QString& what) const {
    throw EngineError(QStringLiteral("the part \"%1\" is damaged: %2").arg(m_name, what));
}

void XmlPart::checkError() const {
    if (m_xml.hasError())
        fail(QStringLiteral("%1 (line %2)").arg(m_xml.errorString()).arg(m_xml.lineNumber()));
}

bool XmlPart::nextElement(qint64 withinDepth) {
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++m_depth;
            return true;
        case QXmlStreamReader::EndElement:
            if (--m_depth < withinDepth) return false;
            break;
        default:
            break;
        }
    }
    checkError();
    // A part that ends inside an element: the reader reports premature end.
    return false;
}

QString XmlPart::elementText() {
    const QString text = m_xml.readElementText(QXmlStreamReader::IncludeChildElements);
    checkError();
    --m_depth;
    return text;
}

}  // namespace engine::zip
