#pragma once

#include "engine/model/cell_style.h"
#include "engine/model/style_table.h"

#include <QHash>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace engine::detail {

// One change of one format property, as a member of the object model makes it. A
// text it carries is the caller's, which must outlive the change (a change is made
// and done within one call).
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
    const QString* text = nullptr;  // font name, number format

    static StyleChange fontName(const QString& name) { return {Kind::FontName, {}, 0, 0, &name}; }
    static StyleChange fontBold(bool on) { return {Kind::FontBold, {}, on, 0}; }
    static StyleChange fontItalic(bool on) { return {Kind::FontItalic, {}, on, 0}; }
    static StyleChange fontBoldItalic(bool bold, bool italic) {
        return {Kind::FontBoldItalic, {}, (bold ? 1 : 0) | (italic ? 2 : 0), 0};
    }
    static StyleChange fontSize(double points) { return {Kind::FontSize, {}, 0, points}; }
    static StyleChange fontColor(int index) { return {Kind::FontColor, {}, index, 0}; }
    static StyleChange fill(int index) { return {Kind::Fill, {}, index, 0}; }
    static StyleChange hAlign(HorizontalAlignment a) { return {Kind::HorizontalAlignment, {}, static_cast<int>(a), 0}; }
    static StyleChange vAlign(VerticalAlignment a) { return {Kind::VerticalAlignment, {}, static_cast<int>(a), 0}; }
    static StyleChange wrap(bool on) { return {Kind::Wrap, {}, on, 0}; }
    static StyleChange numberFormat(const QString& f) { return {Kind::NumberFormat, {}, 0, 0, &f}; }
    static StyleChange border(Kind kind, CellSide side, int number = 0) { return {kind, side, number, 0}; }

    void applyTo(CellStyle& style) const;
};

// Applies changes to interned styles, remembering each result: a layout repeats the
// same few changes on the same few styles, so most changes cost one lookup. A change
// and the style it starts from make one 64-bit key: the change's kind, side and
// argument, with texts and sizes numbered as they are first met.
class StyleChanger {
public:
    explicit StyleChanger(StyleTable& table) : m_table(&table) {}
    StyleId apply(StyleId from, const StyleChange& change) {
        const std::uint64_t key = keyOf(from, change);
        if (key != kNoKey && !m_slots.empty()) {
            const std::size_t mask = m_slots.size() - 1;
            for (std::size_t at = slotOf(key, mask); m_slots[at].key != kNoKey; at = (at + 1) & mask)
                if (m_slots[at].key == key) return m_slots[at].result;
        }
        return applyNew(from, change, key);
    }
    void reset(StyleTable& table) { *this = StyleChanger(table); }

private:
    static constexpr std::uint64_t kNoKey = ~std::uint64_t{0};
    static constexpr int kArgumentBits = 24;
    static constexpr std::uint32_t kNoArgument = ~std::uint32_t{0};
    // Numbers beyond these take no part in keys: no change of the object model has them.
    static constexpr int kNumberOffset = 1 << (kArgumentBits - 1);
    struct Slot {
        std::uint64_t key = kNoKey;
        StyleId result = 0;
    };

    static std::size_t slotOf(std::uint64_t key, std::size_t mask) {
        return static_cast<std::size_t>(key * 0x9E3779B97F4A7C15ULL >> 32) & mask;
    }
    // The key of the change from the style, or kNoKey for a change too rare to keep.
    std::uint64_t keyOf(StyleId from, const StyleChange& change) {
        std::uint32_t argument;
        switch (change.kind) {
        case StyleChange::Kind::FontName:
        case StyleChange::Kind::NumberFormat: {
            // Texts passed on from one shared constant share their characters too.
            const std::size_t slot = change.kind == StyleChange::Kind::FontName ? 0 : 1;
            const std::uint32_t last = m_lastText[slot];
            if (last < m_texts.size() && m_texts[last].constData() == change.text->constData() &&
                m_texts[last].size() == change.text->size())
                argument = last;
            else
                argument = textNumber(*change.text, slot);
            break;
        }
        case StyleChange::Kind::FontSize:
            argument = m_lastSize < m_sizes.size() && m_sizes[m_lastSize] == change.size ? m_lastSize
                                                                                      : sizeNumber(change.size);
            break;
        default:
            if (change.number <= -kNumberOffset || change.number >= kNumberOffset) return kNoKey;
            argument = static_cast<std::uint32_t>(change.number + kNumberOffset);
            break;
        }
        if (argument == kNoArgument) return kNoKey;
        return std::uint64_t{from} << 32 | std::uint64_t{static_cast<std::uint8_t>(change.kind)} << 26 |
               std::uint64_t{static_cast<std::uint8_t>(change.side)} << kArgumentBits | argument;
    }
    // The number of a font name (slot 0) or number format (slot 1), or kNoArgument.
    std::uint32_t textNumber(const QString& text, std::size_t slot);
    // The number of a font size, or kNoArgument.
    std::uint32_t sizeNumber(double size);
    // Makes the changed style and remembers it under the key.
    StyleId applyNew(StyleId from, const StyleChange& change, std::uint64_t key);
    void remember(std::uint64_t key, StyleId result);

    StyleTable* m_table;
    std::vector<Slot> m_slots;  // open addressing; a power of two long, at most half full
    std::size_t m_used = 0;
    std::vector<QString> m_texts;  // font names and number formats met, by number
    QHash<QString, std::uint32_t> m_textNumbers;
    std::array<std::uint32_t, 2> m_lastText{};  // the font name and number format met last, most often met again next
    std::vector<double> m_sizes;  // font sizes met, by number
    std::uint32_t m_lastSize = 0;
};

}  // namespace engine::detail
