#pragma once

#include "engine/model/cell_style.h"
#include "engine/model/style_table.h"

#include <QString>
#include <array>
#include <cstdint>
#include <unordered_map>

namespace engine::detail {

// One change of one format property, as a member of the object model makes it.
struct StyleChange {
    enum class Kind : std::uint8_t {
        FontName, FontBold, FontItalic, FontBoldItalic, FontSize, FontColor,
        Fill, HorizontalAlignment, VerticalAlignment, Wrap, NumberFormat,
        BorderContinuous,  // a line where there is none (thin), else unchanged
        BorderNone, BorderWeight, BorderColor,
    };
    Kind kind;
    CellSide side = CellSide::Left;  // border changes only
    int number = 0;   // flags, colour indexes, alignments, border lines
    double size = 0;  // font size
    QString text;     // font name, number format

    static StyleChange fontName(const QString& name) { return {Kind::FontName, {}, 0, 0, name}; }
    static StyleChange fontBold(bool on) { return {Kind::FontBold, {}, on, 0, {}}; }
    static StyleChange fontItalic(bool on) { return {Kind::FontItalic, {}, on, 0, {}}; }
    static StyleChange fontBoldItalic(bool bold, bool italic) {
        return {Kind::FontBoldItalic, {}, (bold ? 1 : 0) | (italic ? 2 : 0), 0, {}};
    }
    static StyleChange fontSize(double points) { return {Kind::FontSize, {}, 0, points, {}}; }
    static StyleChange fontColor(int index) { return {Kind::FontColor, {}, index, 0, {}}; }
    static StyleChange fill(int index) { return {Kind::Fill, {}, index, 0, {}}; }
    static StyleChange hAlign(HorizontalAlignment a) {
        return {Kind::HorizontalAlignment, {}, static_cast<int>(a), 0, {}};
    }
    static StyleChange vAlign(VerticalAlignment a) { return {Kind::VerticalAlignment, {}, static_cast<int>(a), 0, {}}; }
    static StyleChange wrap(bool on) { return {Kind::Wrap, {}, on, 0, {}}; }
    static StyleChange numberFormat(const QString& f) { return {Kind::NumberFormat, {}, 0, 0, f}; }
    static StyleChange border(Kind kind, CellSide side, int number = 0) { return {kind, side, number, 0, {}}; }

    void applyTo(CellStyle& style) const;
};

// Applies changes to interned styles, remembering each result: a layout repeats the
// same few changes on the same few styles, so most changes cost one lookup.
class StyleChanger {
public:
    explicit StyleChanger(StyleTable& table) : m_table(&table) {}
    StyleId apply(StyleId from, const StyleChange& change);
    void reset(StyleTable& table) {
        m_table = &table;
        m_cache.clear();
        m_recent = {};
    }

private:
    struct Key {
        StyleId from;
        std::uint8_t kind;
        std::uint8_t side;
        int number;
        std::uint64_t sizeBits;
        std::size_t textHash;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const;
    };
    bool resultMatches(StyleId result, const StyleChange& change) const;

    StyleTable* m_table;
    std::unordered_map<Key, StyleId, KeyHash> m_cache;
    // A small direct-mapped copy of the most recent results in front of m_cache.
    struct Recent {
        Key key;
        StyleId result;
        bool used = false;
    };
    std::array<Recent, 512> m_recent{};
};

}  // namespace engine::detail
