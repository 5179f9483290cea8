#include "engine/zip/xml_workbook_parts.h"

#include "engine/model/engine_error.h"

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
