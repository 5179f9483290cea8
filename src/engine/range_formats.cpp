// The font, fill and borders of a range.
#include "engine/detail/checked_enum.h"
#include "engine/detail/handle_access.h"
#include "engine/model/engine_error.h"
#include "engine/range.h"

#include <optional>
#include <utility>

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
    if (index != kColorAutomatic && !isPaletteIndex(index))
        throw EngineError(QStringLiteral("The colour index %1 is not 1 to 56 or automatic.").arg(index));
    return index;
}

// Where a border of a range lies: up to two strips of cells and the side of each.
struct BorderTargets {
    struct Strip {
        CellArea area;
        CellSide side;
    };
    Strip strips[2];
    int count = 0;
};

BorderTargets bordersOf(const CellArea& a, BorderEdge edge) {
    BorderTargets t;
    auto add = [&](int r1, int c1, int r2, int c2, CellSide side) {
        t.strips[t.count++] = {CellArea{r1, c1, r2, c2}, side};
    };
    switch (edge) {
    case BorderEdge::Left: add(a.firstRow, a.firstCol, a.lastRow, a.firstCol, CellSide::Left); break;
    case BorderEdge::Top: add(a.firstRow, a.firstCol, a.firstRow, a.lastCol, CellSide::Top); break;
    case BorderEdge::Bottom: add(a.lastRow, a.firstCol, a.lastRow, a.lastCol, CellSide::Bottom); break;
    case BorderEdge::Right: add(a.firstRow, a.lastCol, a.lastRow, a.lastCol, CellSide::Right); break;
    case BorderEdge::InsideVertical:
        if (a.columnCount() > 1) {
            add(a.firstRow, a.firstCol, a.lastRow, a.lastCol - 1, CellSide::Right);
            add(a.firstRow, a.firstCol + 1, a.lastRow, a.lastCol, CellSide::Left);
        }
        break;
    case BorderEdge::InsideHorizontal:
        if (a.rowCount() > 1) {
            add(a.firstRow, a.firstCol, a.lastRow - 1, a.lastCol, CellSide::Bottom);
            add(a.firstRow + 1, a.firstCol, a.lastRow, a.lastCol, CellSide::Top);
        }
        break;
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

namespace {

// The bold and italic flags a font style name gives ("Normal" reads as "Regular"),
// in any case and with blanks around it; nothing for another name.
std::optional<std::pair<bool, bool>> fontStyleNamed(QStringView name) {
    struct Named {
        QLatin1StringView name;
        bool bold;
        bool italic;
    };
    static constexpr Named kNames[] = {
        {QLatin1StringView("Regular"), false, false}, {QLatin1StringView("Normal"), false, false},
        {QLatin1StringView("Bold"), true, false},     {QLatin1StringView("Italic"), false, true},
        {QLatin1StringView("Bold Italic"), true, true},
    };
    if (!name.isEmpty() && (name.front().isSpace() || name.back().isSpace())) name = name.trimmed();
    if (name.isEmpty()) return std::nullopt;
    // Only a name of the same length and first letter can match.
    const char16_t first = name.front().toCaseFolded().unicode();
    for (const Named& n : kNames) {
        if (name.size() != n.name.size() || first != char16_t(n.name.front().unicode() | 0x20)) continue;
        if (name == n.name || name.compare(n.name, Qt::CaseInsensitive) == 0) return std::pair{n.bold, n.italic};
    }
    return std::nullopt;
}

}  // namespace

void Font::SetFontStyle(const QString& style) const {
    detail::WorkbookState& book = *m_book;
    // A text with the characters of the one read last is that text.
    const bool sameText = !style.isEmpty() && style.constData() == book.lastFontStyleName.constData() &&
                          style.size() == book.lastFontStyleName.size();
    if (!sameText) {
        const std::optional<std::pair<bool, bool>> flags = fontStyleNamed(style);
        if (!flags)
            throw EngineError(
                QStringLiteral("The font style \"%1\" is not Regular, Bold, Italic or Bold Italic.").arg(style));
        book.lastFontStyleName = style;
        book.lastFontStyle = *flags;
    }
    const auto [bold, italic] = book.lastFontStyle;
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
    if (name.isEmpty() || name.size() > kMaxFontNameLength ||
        (name.front().isSpace() && QStringView(name).trimmed().isEmpty()))
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
    return isPaletteIndex(fill) ? fill : kColorNone;
}

void Interior::SetColorIndex(int index) const {
    int fill = index;
    if (index == kColorNone || index == kColorAutomatic) fill = kColorNone;
    else if (!isPaletteIndex(index))
        throw EngineError(QStringLiteral("The fill colour index %1 is not 1 to 56 or none.").arg(index));
    editorFor(m_book, m_sheet).applyStyle(m_area, StyleChange::fill(fill));
}

// --- Border ---

RangeBorder::RangeBorder(const Range& range, BorderEdge edge)
    : m_book(range.book()),
      m_sheet(range.sheet()),
      m_area(range.Area()),
      m_edge(detail::checkedEnum(edge, BorderEdge::InsideHorizontal, "border edge")) {}

namespace {

const engine::Border& firstBorder(const std::shared_ptr<detail::WorkbookState>& book, SheetData* sheet,
                                  const CellArea& area, BorderEdge edge) {
    static const engine::Border none;
    const BorderTargets t = bordersOf(area, edge);
    if (t.count == 0) {
        detail::checkedView(book, sheet);
        return none;
    }
    return topLeftStyle(book, sheet, t.strips[0].area).border(t.strips[0].side);
}

void changeBorders(const std::shared_ptr<detail::WorkbookState>& book, SheetData* sheet, const CellArea& area,
                   BorderEdge edge, StyleChange::Kind kind, int number) {
    auto editor = editorFor(book, sheet);
    const BorderTargets t = bordersOf(area, edge);
    for (int i = 0; i < t.count; ++i)
        editor.applyStyle(t.strips[i].area, StyleChange::border(kind, t.strips[i].side, number));
}

}  // namespace

LineStyle RangeBorder::LineStyle() const {
    const bool drawn = firstBorder(m_book, m_sheet, m_area, m_edge).line != BorderLine::None;
    return drawn ? engine::LineStyle::Continuous : engine::LineStyle::None;
}

void RangeBorder::SetLineStyle(engine::LineStyle style) const {
    const bool drawn = detail::checkedEnum(style, engine::LineStyle::Continuous, "line style") ==
                       engine::LineStyle::Continuous;
    const StyleChange::Kind kind = drawn ? StyleChange::Kind::BorderContinuous : StyleChange::Kind::BorderNone;
    changeBorders(m_book, m_sheet, m_area, m_edge, kind, 0);
}

BorderWeight RangeBorder::Weight() const {
    switch (firstBorder(m_book, m_sheet, m_area, m_edge).line) {
    case BorderLine::Medium: return BorderWeight::Medium;
    case BorderLine::Thick: return BorderWeight::Thick;
    default: return BorderWeight::Thin;
    }
}

void RangeBorder::SetWeight(BorderWeight weight) const {
    BorderLine line = BorderLine::Thin;
    switch (detail::checkedEnum(weight, BorderWeight::Thick, "border weight")) {
    case BorderWeight::Thin: line = BorderLine::Thin; break;
    case BorderWeight::Medium: line = BorderLine::Medium; break;
    case BorderWeight::Thick: line = BorderLine::Thick; break;
    }
    changeBorders(m_book, m_sheet, m_area, m_edge, StyleChange::Kind::BorderWeight, static_cast<int>(line));
}

int RangeBorder::ColorIndex() const { return firstBorder(m_book, m_sheet, m_area, m_edge).colorIndex; }

void RangeBorder::SetColorIndex(int index) const {
    changeBorders(m_book, m_sheet, m_area, m_edge, StyleChange::Kind::BorderColor, checkedFontOrLineColor(index));
}

}  // namespace engine
