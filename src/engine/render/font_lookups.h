#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <vector>

class QRawFont;

namespace engine::render {

// What a font's layout tables (GSUB, GPOS, GDEF, kern) can do to a run of glyphs
// when text is shaped: which glyphs a substitution or positioning may act on, and
// which neighbouring pairs are kerned. Read conservatively: every lookup of every
// feature that a shaper may turn on by itself counts, in any script or language, so
// a glyph said to be untouched is drawn as its own advance whatever surrounds it.
class FontLookups {
public:
    explicit FontLookups(const QRawFont& font);

    // False when the tables could not be read, or the font has tables that shape
    // text in ways not looked into here (AAT morx/kerx, variations): then every
    // glyph counts as touched.
    bool readable() const { return m_readable; }
    // True when shaping may substitute the glyph or move it or its neighbours, other
    // than by kerning a pair (see kerns()).
    bool touches(quint32 glyph) const;
    enum class Kerning {
        None,       // the pair sits at its advances
        PairOnly,   // kerned by the pair alone, the same in any text around it
        Contextual  // kerned in ways that may depend on the text around it
    };
    // How `second` right after `first` is kerned, glyphs shaping does not touch.
    Kerning kerning(quint32 first, quint32 second) const;

private:
    void readLayoutTable(const QByteArray& table, bool positioning);
    std::vector<bool> lookupsInUse(const QByteArray& table, bool positioning);
    void readSubtable(const QByteArray& table, bool positioning, int type, qint64 at, bool skipsBases, bool extended);
    void readGlyphClasses();
    void readLegacyKerning();
    void touchCoverage(const QByteArray& table, qint64 at);
    bool pairAdjusted(qint64 subtable, quint32 first, quint32 second) const;
    bool legacyKerned(quint32 first, quint32 second) const;
    bool kerned(quint32 first, quint32 second) const;

    QByteArray m_gsub;
    QByteArray m_gpos;
    QByteArray m_gdef;
    QByteArray m_kern;
    bool m_readable = true;
    // Kerning moves only the first glyph of a pair by its advance, the same way in
    // every script and language.
    bool m_pairOnly = true;
    std::vector<bool> m_touched;  // by glyph index
    std::vector<qint64> m_pairs;  // pair adjustment subtables in GPOS
};

}  // namespace engine::render
