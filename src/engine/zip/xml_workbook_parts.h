#pragma once

#include "engine/model/sheet.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <optional>

// What the readers of the zipped XML workbook formats (.xlsx, .ods) share: the
// values of a sheet placed within the limits of this engine's sheets, and the
// XML of a part read with its failures named.
namespace engine::zip {

// Cells a workbook read for its values may hold, as for .xls files.
inline constexpr std::size_t kMaxValueCells = 1'000'000;

// Places the values of one sheet, row by row. A value outside the rows and
// columns of a sheet here (65,536 by 256), or past the workbook's cell budget,
// fails with EngineError; empty cells cost nothing wherever they are.
class SheetValues {
public:
    SheetValues(SheetData& sheet, std::size_t& cellBudget) : m_sheet(sheet), m_cellBudget(cellBudget) {}
    void put(int row, int col, CellValue value);

private:
    SheetData& m_sheet;
    std::size_t& m_cellBudget;
};

// A number as the XML of these formats writes it ("5600", "-1.5E-3"), read with
// the C++ library's correctly rounded conversion; none for anything else.
std::optional<double> xmlNumber(QStringView text);

// An XML part's reader that fails with EngineError naming the part.
class XmlPart {
public:
    XmlPart(const QByteArray& bytes, QString name) : m_xml(bytes), m_name(std::move(name)) {}

    QXmlStreamReader& xml() { return m_xml; }
    // The next start element within the element of the given depth (0 for the
    // whole part); false at that element's end. Fails on malformed XML.
    bool nextElement(qint64 withinDepth);
    // The text of the current element and all its descendants, then at its end.
    QString elementText();
    qint64 depth() const { return m_depth; }
    // The caller has read the current element to its end through xml().
    void leftElement() { --m_depth; }
    [[noreturn]] void fail(const QString& what) const;

private:
    void checkError() const;

    QXmlStreamReader m_xml;
    QString m_name;
    qint64 m_depth = 0;
};

}  // namespace engine::zip
