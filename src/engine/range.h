#pragma once

#include "engine/model/cell_style.h"
#include "engine/model/cell_types.h"
#include "engine/sheet_snapshot.h"

#include <QString>
#include <memory>

namespace engine {

struct SheetData;
namespace detail {
struct WorkbookState;
}

class Range;

// A border of a range: one of its four outer edges, or the lines between its cells.
enum class BorderEdge { Left, Top, Bottom, Right, InsideVertical, InsideHorizontal };
// A border's line: continuous, or none.
enum class LineStyle { None, Continuous };
enum class BorderWeight { Thin, Medium, Thick };

// A range's font. Setters apply to every cell of the range; getters read the
// range's top-left cell.
class Font {
public:
    explicit Font(const Range& range);
    QString FontStyle() const;  // "Regular", "Bold", "Italic" or "Bold Italic"
    void SetFontStyle(const QString& style) const;  // also accepts "Normal" for "Regular"
    double Size() const;
    void SetSize(double points) const;
    int ColorIndex() const;  // palette index 1..56 or kColorAutomatic
    void SetColorIndex(int index) const;
    QString Name() const;
    void SetName(const QString& name) const;
    bool Bold() const;
    void SetBold(bool bold) const;
    bool Italic() const;
    void SetItalic(bool italic) const;

private:
    std::shared_ptr<detail::WorkbookState> m_book;
    SheetData* m_sheet;
    CellArea m_area;
};

// A range's fill.
class Interior {
public:
    explicit Interior(const Range& range);
    int ColorIndex() const;  // palette index 1..56 or kColorNone
    void SetColorIndex(int index) const;  // also takes kColorAutomatic for no fill

private:
    std::shared_ptr<detail::WorkbookState> m_book;
    SheetData* m_sheet;
    CellArea m_area;
};

// One border of a range. Setting a continuous line where there is none draws it
// thin; the weight and colour apply to the line (and draw it when there is none).
class RangeBorder {
public:
    RangeBorder(const Range& range, BorderEdge edge);
    engine::LineStyle LineStyle() const;
    void SetLineStyle(engine::LineStyle style) const;
    BorderWeight Weight() const;
    void SetWeight(BorderWeight weight) const;
    int ColorIndex() const;  // palette index 1..56 or kColorAutomatic
    void SetColorIndex(int index) const;

private:
    std::shared_ptr<detail::WorkbookState> m_book;
    SheetData* m_sheet;
    CellArea m_area;
    BorderEdge m_edge;
};

class RangeRows;
class RangeColumns;

// A rectangle of cells on a worksheet: a light handle, cheap to copy. Every member
// throws EngineError when it cannot do its work (a closed workbook, a quit
// application, a deleted sheet, a refused value). Setters apply to every cell of the
// range; getters read its top-left cell.
class Range {
public:
    Range(std::shared_ptr<detail::WorkbookState> book, SheetData* sheet, CellArea area);

    // Makes this the selection of its sheet (which must be the active sheet); the
    // active cell becomes its top-left cell.
    void Select() const;
    // Removes values, formulas, formats and merges of the range.
    void Clear() const;

    engine::Font Font() const;
    engine::Interior Interior() const;
    engine::RangeBorder Borders(BorderEdge edge) const;

    engine::HorizontalAlignment HorizontalAlignment() const;
    void SetHorizontalAlignment(engine::HorizontalAlignment alignment) const;
    engine::VerticalAlignment VerticalAlignment() const;
    void SetVerticalAlignment(engine::VerticalAlignment alignment) const;
    bool WrapText() const;
    void SetWrapText(bool wrap) const;
    QString NumberFormat() const;
    void SetNumberFormat(const QString& format) const;

    // Height of the range's first row in points; the setter sets every row of it.
    double RowHeight() const;
    void SetRowHeight(double points) const;
    // Width of the range's first column in characters; the setter sets every column.
    double ColumnWidth() const;
    void SetColumnWidth(double characters) const;

    // Merges the range into one cell (joining merged areas it overlaps); only the
    // top-left value stays. A one-cell range stays as it is.
    void Merge() const;
    bool MergeCells() const;  // the top-left cell belongs to a merged area

    // Contents as typed: "=" starts a formula in R1C1 notation, else a number, a
    // percentage, a date or text. The getter gives a formula's text as it was
    // written, a constant as text.
    QString FormulaR1C1() const;
    void SetFormulaR1C1(const QString& text) const;
    // Writes the text as a text constant, whatever it reads as ("=1+1", "00123",
    // "TRUE" stay those characters); the empty text empties the cells.
    void SetText(const QString& text) const;
    // The formula in A1 notation (canonical), or the constant as text.
    QString Formula() const;
    // The value, with formulas evaluated.
    CellValue Value() const;

    int Row() const;     // 1-based number of the first row
    int Column() const;  // 1-based number of the first column
    long long Count() const;  // number of cells
    RangeRows Rows() const;
    RangeColumns Columns() const;
    // "$B$1:$D$1", or "$B$1" for one cell.
    QString Address() const;
    CellArea Area() const { return m_area; }

    // What the range's picture is painted from, as the sheet stands now (see
    // SheetSnapshot): the data are shared, not copied.
    SheetSnapshot Snapshot() const;

    const std::shared_ptr<detail::WorkbookState>& book() const { return m_book; }
    SheetData* sheet() const { return m_sheet; }

private:
    std::shared_ptr<detail::WorkbookState> m_book;
    SheetData* m_sheet;
    CellArea m_area;
};

// The rows of a range, numbered from 1 within it.
class RangeRows {
public:
    explicit RangeRows(Range range) : m_range(std::move(range)) {}
    int Count() const;
    engine::Range Item(int n) const;
    engine::Range operator()(int n) const { return Item(n); }

private:
    engine::Range m_range;
};

// The columns of a range, numbered from 1 within it.
class RangeColumns {
public:
    explicit RangeColumns(Range range) : m_range(std::move(range)) {}
    int Count() const;
    engine::Range Item(int n) const;
    engine::Range operator()(int n) const { return Item(n); }

private:
    engine::Range m_range;
};

}  // namespace engine
