// The font, fill and borders of a range.
#include "engine/constants.h"
#include "engine/detail/handle_access.h"
#include "engine/model/engine_error.h"
#include "engine/range.h"

namespace engine {

using detail::editorFor;
using detail::StyleChange;
using detail::topLeftStyle;

namespace {

constexpr int kPaletteSize = 56;
constexpr double kMaxFontSize = 409;
constexpr int kMaxFontNameLength = 31;

bool isPaletteIndex(int index) { return index >= 1 && index <= kPaletteSize; }

int checkedFontOrLineColor(int index) {
    if (index != xlColorIndexAutomatic && !isPaletteIndex(index))
        throw EngineError(QStringLiteral("The colour index %1 is not 1 to 56 or automatic.").arg(index));
    return index;
}

// Where a border of a range lies: up to two strips of cells and the edge of each.
struct BorderTargets {
    struct Strip {
        CellArea area;
        BorderEdge edge;
    };
    Strip strips[2];
    int count = 0;
};

BorderTargets bordersOf(const CellArea& a, int index) {
    BorderTargets t;
    auto add = [&](int r1, int c1, int r2, int c2, BorderEdge e) { t.strips[t.count++] = {CellArea{r1, c1, r2, c2}, e}; };
    switch (index) {
    case xlEdgeLeft: add(a.firstRow, a.firstCol, a.lastRow, a.firstCol, BorderEdge::Left); break;
    case xlEdgeTop: add(a.firstRow, a.firstCol, a.firstRow, a.lastCol, BorderEdge::Top); break;
    case xlEdgeBottom: add(a.lastRow, a.firstCol, a.lastRow, a.lastCol, BorderEdge::Bottom); break;
    case xlEdgeRight: add(a.firstRow, a.lastCol, a.lastRow, a.lastCol, BorderEdge::Right); break;
    case xlInsideVertical:
        if (a.columnCount() > 1) {
            add(a.firstRow, a.firstCol, a.lastRow, a.lastCol - 1, BorderEdge::Right);
            add(a.firstRow, a.firstCol + 1, a.lastRow, a.lastCol, BorderEdge::Left);
        }
        break;
    case xlInsideHorizontal:
        if (a.rowCount() > 1) {
            add(a.firstRow, a.firstCol, a.lastRow - 1, a.lastCol, BorderEdge::Bottom);
            add(a.firstRow + 1, a.firstCol, a.lastRow, a.lastCol, BorderEdge::Top);
        }
        break;
    default: break;
    }
    return t;
}

}  // namespace

// --- Font ---

Font::Font(const Range& range) : m_book(range.book()), m_sheet(range.sheet()), m_area(range.Area()) {}

QString Font::FontStyle() const {
    const engine::FontStyle& f = topLeftStyle(m_book, m_sheet, m_area).font;
    if (f.bold && f.italic) return QStringLiteral("Bold Italic");
    if (f.bold) return QStringLiteral("Bold");
    if (f.italic) return QStringLiteral("Italic");
    return QStringLiteral("Regular");
}

void Font::SetFontStyle(const QString& style) const {
    const QStringView s = QStringView(style).trimmed();
    auto is = [&](QLatin1StringView name) {
        return s.size() == name.size() && (s == name || s.compare(name, Qt::CaseInsensitive) == 0);
    };
    bool bold = false, italic = false;
    if (is(QLatin1StringView("Bold"))) bold = true;
    else if (is(QLatin1StringView("Italic"))) italic = true;
    else if (is(QLatin1StringView("Bold Italic"))) bold = italic = true;
    else if (!is(QLatin1StringView("Regular")) && !is(QLatin1StringView("Normal")))
        throw EngineError(QStringLiteral("The font style \"%1\" is not Regular, Bold, Italic or Bold Italic.").arg(style));
    editorFor(m_book, m_sheet).applyStyle(m_area, StyleChange::fontBoldItalic(bold, italic));
}

double Font::Size() const { return topLeftStyle(m_book, m_sheet, m_area).font.size; }

void Font::SetSize(double points) const {
    if (!(points >= 1 && points <= kMaxFontSize))
        throw EngineError(QStringLiteral("A font size must be between 1 and 409 points."));
    editorFor(m_book, m_sheet).applyStyle(m_area, StyleChange::fontSize(points));
}

int Font::ColorIndex() const { return topLeftStyle(m_book, m_sheet, m_area).font.colorIndex; }

void Font::SetColorIndex(int index) const {
    editorFor(m_book, m_sheet).applyStyle(m_area, StyleChange::fontColor(checkedFontOrLineColor(index)));
}

QString Font::Name() const { return topLeftStyle(m_book, m_sheet, m_area).font.name; }

void Font::SetName(const QString& name) const {
    if (name.trimmed().isEmpty() || name.size() > kMaxFontNameLength)
        throw EngineError(QStringLiteral("A font name must have 1 to 31 characters."));
    editorFor(m_book, m_sheet).applyStyle(m_area, StyleChange::fontName(name));
}

bool Font::Bold() const { return topLeftStyle(m_book, m_sheet, m_area).font.bold; }

void Font::SetBold(bool bold) const {
    editorFor(m_book, m_sheet).applyStyle(m_area, StyleChange::fontBold(bold));
}

bool Font::Italic() const { return topLeftStyle(m_book, m_sheet, m_area).font.italic; }

void Font::SetItalic(bool italic) const {
    editorFor(m_book, m_sheet).applyStyle(m_area, StyleChange::fontItalic(italic));
}

// --- Interior ---

Interior::Interior(const Range& range) : m_book(range.book()), m_sheet(range.sheet()), m_area(range.Area()) {}

int Interior::ColorIndex() const {
    const int fill = topLeftStyle(m_book, m_sheet, m_area).fillColorIndex;
    return isPaletteIndex(fill) ? fill : xlColorIndexNone;
}

void Interior::SetColorIndex(int index) const {
    int fill = index;
    if (index == xlColorIndexNone || index == xlColorIndexAutomatic) fill = kColorNone;
    else if (!isPaletteIndex(index))
        throw EngineError(QStringLiteral("The fill colour index %1 is not 1 to 56 or none.").arg(index));
    editorFor(m_book, m_sheet).applyStyle(m_area, StyleChange::fill(fill));
}

// --- Border ---

RangeBorder::RangeBorder(const Range& range, int index)
    : m_book(range.book()), m_sheet(range.sheet()), m_area(range.Area()), m_index(index) {
    if (index < xlEdgeLeft || index > xlInsideHorizontal)
        throw EngineError(QStringLiteral("The border index %1 is not one of the edges or inside lines.").arg(index));
}

namespace {

const engine::Border& firstBorder(const std::shared_ptr<detail::WorkbookState>& book, SheetData* sheet,
                                  const CellArea& area, int index) {
    static const engine::Border none;
    const BorderTargets t = bordersOf(area, index);
    if (t.count == 0) {
        detail::checkedView(book, sheet);
        return none;
    }
    return topLeftStyle(book, sheet, t.strips[0].area).border(t.strips[0].edge);
}

void changeBorders(const std::shared_ptr<detail::WorkbookState>& book, SheetData* sheet, const CellArea& area,
                   int index, StyleChange::Kind kind, int number) {
    auto editor = editorFor(book, sheet);
    const BorderTargets t = bordersOf(area, index);
    for (int i = 0; i < t.count; ++i)
        editor.applyStyle(t.strips[i].area, StyleChange::border(kind, t.strips[i].edge, number));
}

}  // namespace

int RangeBorder::LineStyle() const {
    return firstBorder(m_book, m_sheet, m_area, m_index).line == BorderLine::None ? xlLineStyleNone : xlContinuous;
}

void RangeBorder::SetLineStyle(int style) const {
    if (style == xlContinuous) changeBorders(m_book, m_sheet, m_area, m_index, StyleChange::Kind::BorderContinuous, 0);
    else if (style == xlLineStyleNone) changeBorders(m_book, m_sheet, m_area, m_index, StyleChange::Kind::BorderNone, 0);
    else throw EngineError(QStringLiteral("The line style %1 is not xlContinuous or xlLineStyleNone.").arg(style));
}

int RangeBorder::Weight() const {
    switch (firstBorder(m_book, m_sheet, m_area, m_index).line) {
    case BorderLine::Medium: return xlMedium;
    case BorderLine::Thick: return xlThick;
    default: return xlThin;
    }
}

void RangeBorder::SetWeight(int weight) const {
    BorderLine line;
    switch (weight) {
    case xlThin: line = BorderLine::Thin; break;
    case xlMedium: line = BorderLine::Medium; break;
    case xlThick: line = BorderLine::Thick; break;
    default: throw EngineError(QStringLiteral("The border weight %1 is not xlThin, xlMedium or xlThick.").arg(weight));
    }
    changeBorders(m_book, m_sheet, m_area, m_index, StyleChange::Kind::BorderWeight, static_cast<int>(line));
}

int RangeBorder::ColorIndex() const { return firstBorder(m_book, m_sheet, m_area, m_index).colorIndex; }

void RangeBorder::SetColorIndex(int index) const {
    changeBorders(m_book, m_sheet, m_area, m_index, StyleChange::Kind::BorderColor, checkedFontOrLineColor(index));
}

}  // namespace engine
