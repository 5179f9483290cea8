#include "engine/render/font_lookups.h"

#include <QRawFont>
#include <QSet>
#include <algorithm>
#include <bit>
#include <cctype>
#include <optional>

namespace engine::render {

namespace {

// A table read past its end or in a form not understood.
struct Unreadable {};

constexpr std::size_t kGlyphSpace = 0x10000;

int u16(const QByteArray& t, qint64 at) {
    if (at < 0 || at + 2 > t.size()) throw Unreadable{};
    return (static_cast<uchar>(t[at]) << 8) | static_cast<uchar>(t[at + 1]);
}

qint64 u32(const QByteArray& t, qint64 at) { return (qint64{u16(t, at)} << 16) | u16(t, at + 2); }

QByteArray tagAt(const QByteArray& t, qint64 at) {
    if (at < 0 || at + 4 > t.size()) throw Unreadable{};
    return t.mid(at, 4);
}

// Features a shaper leaves off unless asked for, for horizontal text in the scripts
// drawn without a shaping engine (Latin and common characters, left to right). Any
// other tag counts as on.
bool offUnlessAsked(const QByteArray& tag) {
    static const QSet<QByteArray> off = {
        "aalt", "afrc", "c2pc", "c2sc", "case", "cpct", "cpsp", "cswh", "dlig", "dnom", "expt",
        "falt", "fin2", "fin3", "fina", "frac", "fwid", "halt", "hist", "hkna", "hlig", "hngl",
        "hojo", "hwid", "init", "isol", "ital", "jalt", "jp04", "jp78", "jp83", "jp90", "lnum",
        "med2", "medi", "mgrk", "nalt", "nlck", "numr", "onum", "opbd", "ordn", "ornm", "palt",
        "pcap", "pkna", "pnum", "pwid", "qwid", "rtla", "rtlm", "ruby", "salt", "sinf", "size",
        "smcp", "smpl", "ssty", "subs", "sups", "swsh", "titl", "tnam", "tnum", "trad", "twid",
        "unic", "valt", "vert", "vhal", "vkna", "vkrn", "vpal", "vrt2", "vrtr", "zero"};
    if (off.contains(tag)) return true;
    // Character variants cv01..cv99 and stylistic sets ss01..ss20.
    const auto digits = [&] { return tag.size() == 4 && std::isdigit(uchar(tag[2])) && std::isdigit(uchar(tag[3])); };
    return (tag.startsWith("cv") || tag.startsWith("ss")) && digits();
}

// The index of glyph in a coverage table, or -1.
int coverageIndex(const QByteArray& t, qint64 at, quint32 glyph) {
    const int format = u16(t, at);
    const int count = u16(t, at + 2);
    int low = 0, high = count - 1;
    if (format == 1) {
        while (low <= high) {
            const int mid = (low + high) / 2;
            const quint32 g = static_cast<quint32>(u16(t, at + 4 + 2 * mid));
            if (g == glyph) return mid;
            if (g < glyph) low = mid + 1;
            else high = mid - 1;
        }
        return -1;
    }
    if (format == 2) {
        while (low <= high) {
            const int mid = (low + high) / 2;
            const qint64 range = at + 4 + 6 * mid;
            const quint32 start = static_cast<quint32>(u16(t, range));
            const quint32 end = static_cast<quint32>(u16(t, range + 2));
            if (glyph < start) high = mid - 1;
            else if (glyph > end) low = mid + 1;
            else return u16(t, range + 4) + static_cast<int>(glyph - start);
        }
        return -1;
    }
    throw Unreadable{};
}

// The class of glyph in a class definition table (0 when it lists no class for it).
int glyphClass(const QByteArray& t, qint64 at, quint32 glyph) {
    const int format = u16(t, at);
    if (format == 1) {
        const quint32 start = static_cast<quint32>(u16(t, at + 2));
        const int count = u16(t, at + 4);
        if (glyph < start || glyph >= start + static_cast<quint32>(count)) return 0;
        return u16(t, at + 6 + 2 * static_cast<qint64>(glyph - start));
    }
    if (format == 2) {
        int low = 0, high = u16(t, at + 2) - 1;
        while (low <= high) {
            const int mid = (low + high) / 2;
            const qint64 range = at + 4 + 6 * mid;
            if (glyph < static_cast<quint32>(u16(t, range))) high = mid - 1;
            else if (glyph > static_cast<quint32>(u16(t, range + 2))) low = mid + 1;
            else return u16(t, range + 4);
        }
        return 0;
    }
    throw Unreadable{};
}

int valueRecordSize(int valueFormat) { return 2 * std::popcount(static_cast<unsigned>(valueFormat & 0xFF)); }

// True when a value record (of `bytes` bytes at `at`) holds anything but zeros.
bool nonZero(const QByteArray& t, qint64 at, int bytes) {
    for (int i = 0; i < bytes; i += 2)
        if (u16(t, at + i) != 0) return true;
    return false;
}

}  // namespace

FontLookups::FontLookups(const QRawFont& font) : m_touched(kGlyphSpace, false) {
    try {
        if (!font.isValid()) throw Unreadable{};
        for (const char* aat : {"morx", "mort", "kerx", "trak"})
            if (!font.fontTable(aat).isEmpty()) throw Unreadable{};
        m_gsub = font.fontTable("GSUB");
        m_gpos = font.fontTable("GPOS");
        m_gdef = font.fontTable("GDEF");
        m_kern = font.fontTable("kern");
        if (!m_gsub.isEmpty()) readLayoutTable(m_gsub, false);
        if (!m_gpos.isEmpty()) readLayoutTable(m_gpos, true);
        if (!m_gdef.isEmpty()) readGlyphClasses();
        if (!m_kern.isEmpty()) readLegacyKerning();
    } catch (const Unreadable&) {
        m_readable = false;
        m_pairs.clear();
    }
}

bool FontLookups::touches(quint32 glyph) const {
    return !m_readable || glyph >= kGlyphSpace || m_touched[glyph];
}

FontLookups::Kerning FontLookups::kerning(quint32 first, quint32 second) const {
    if (!m_readable) return Kerning::Contextual;
    try {
        if (!kerned(first, second)) return Kerning::None;
        return m_pairOnly ? Kerning::PairOnly : Kerning::Contextual;
    } catch (const Unreadable&) {
        return Kerning::Contextual;
    }
}

bool FontLookups::kerned(quint32 first, quint32 second) const {
    for (const qint64 pair : m_pairs)
        if (pairAdjusted(pair, first, second)) return true;
    return legacyKerned(first, second);
}

// The lookups of the features on by default or required, in any script and
// language. For positioning, kerning counts as by pairs only when every language
// system uses the same of them: then text kerns alike whatever script it is
// shaped as.
std::vector<bool> FontLookups::lookupsInUse(const QByteArray& t, bool positioning) {
    const qint64 scripts = u16(t, 4), features = u16(t, 6), lookups = u16(t, 8);
    const int featureCount = u16(t, features);
    const int lookupCount = u16(t, lookups);
    std::vector<bool> on(static_cast<std::size_t>(featureCount), false);
    for (int f = 0; f < featureCount; ++f) on[f] = !offUnlessAsked(tagAt(t, features + 2 + 6 * f));

    const auto addFeature = [&](int f, std::vector<bool>& used) {
        if (f >= featureCount) throw Unreadable{};
        const qint64 feature = features + u16(t, features + 2 + 6 * f + 4);
        const int indexCount = u16(t, feature + 2);
        for (int i = 0; i < indexCount; ++i) {
            const int lookup = u16(t, feature + 4 + 2 * i);
            if (lookup >= lookupCount) throw Unreadable{};
            used[lookup] = true;
        }
    };
    std::vector<bool> all(static_cast<std::size_t>(lookupCount), false);
    for (int f = 0; f < featureCount; ++f)
        if (on[f]) addFeature(f, all);

    std::optional<std::vector<bool>> common;  // of the language systems seen so far
    const auto readLangSys = [&](qint64 langSys) {
        std::vector<bool> used(static_cast<std::size_t>(lookupCount), false);
        if (const int required = u16(t, langSys + 2); required != 0xFFFF) {
            addFeature(required, used);
            addFeature(required, all);
        }
        const int count = u16(t, langSys + 4);
        for (int i = 0; i < count; ++i) {
            const int f = u16(t, langSys + 6 + 2 * i);
            if (f >= featureCount) throw Unreadable{};
            if (on[f]) addFeature(f, used);
        }
        if (!common) common = used;
        else if (*common != used && positioning) m_pairOnly = false;
    };
    const int scriptCount = u16(t, scripts);
    for (int s = 0; s < scriptCount; ++s) {
        const qint64 script = scripts + u16(t, scripts + 2 + 6 * s + 4);
        if (const int defaultLangSys = u16(t, script)) readLangSys(script + defaultLangSys);
        const int langSysCount = u16(t, script + 2);
        for (int l = 0; l < langSysCount; ++l) readLangSys(script + u16(t, script + 4 + 6 * l + 4));
    }
    return all;
}

void FontLookups::readLayoutTable(const QByteArray& t, bool positioning) {
    const int major = u16(t, 0), minor = u16(t, 2);
    if (major != 1) throw Unreadable{};
    if (minor >= 1 && u32(t, 10) != 0) throw Unreadable{};  // feature variations
    const std::vector<bool> used = lookupsInUse(t, positioning);
    const qint64 lookups = u16(t, 8);
    constexpr int kIgnoreBaseGlyphs = 0x0002;
    for (std::size_t l = 0; l < used.size(); ++l) {
        if (!used[l]) continue;
        const qint64 lookup = lookups + u16(t, lookups + 2 + 2 * static_cast<qint64>(l));
        const int type = u16(t, lookup);
        // A pair lookup that skips base glyphs pairs glyphs that are not neighbours:
        // its glyphs count as touched rather than as kerned pairs.
        const bool skipsBases = u16(t, lookup + 2) & kIgnoreBaseGlyphs;
        const int subtables = u16(t, lookup + 4);
        for (int s = 0; s < subtables; ++s)
            readSubtable(t, positioning, type, lookup + u16(t, lookup + 6 + 2 * s), skipsBases, false);
    }
}

// A lookup acts where its first covered glyph stands (for a contextual lookup, the
// first glyph of its input sequence): marking those glyphs marks every run it may change.
void FontLookups::readSubtable(const QByteArray& t, bool positioning, int type, qint64 at, bool skipsBases,
                               bool extended) {
    const int extension = positioning ? 9 : 7;
    const int context = positioning ? 7 : 5;
    const int chained = positioning ? 8 : 6;
    const int format = u16(t, at);
    if (type == extension) {
        if (extended || format != 1) throw Unreadable{};
        readSubtable(t, positioning, u16(t, at + 2), at + u32(t, at + 4), skipsBases, true);
        return;
    }
    if (positioning && type == 2 && !skipsBases) {
        if (format != 1 && format != 2) throw Unreadable{};
        constexpr int kXAdvance = 0x0004;
        const int first = u16(t, at + 4), second = u16(t, at + 6);
        if ((first != 0 && first != kXAdvance) || second != 0) m_pairOnly = false;
        m_pairs.push_back(at);
        return;
    }
    if (type == context && format == 3) {
        if (u16(t, at + 2) > 0) touchCoverage(t, at + u16(t, at + 6));
        return;
    }
    if (type == chained && format == 3) {
        const qint64 input = at + 4 + 2 * qint64{u16(t, at + 2)};
        if (u16(t, input) > 0) touchCoverage(t, at + u16(t, input + 2));
        return;
    }
    if (type < 1 || type > 8 || format < 1 || format > 3) throw Unreadable{};
    touchCoverage(t, at + u16(t, at + 2));
}

void FontLookups::touchCoverage(const QByteArray& t, qint64 at) {
    const int format = u16(t, at);
    const int count = u16(t, at + 2);
    for (int i = 0; i < count; ++i) {
        if (format == 1) {
            m_touched[static_cast<std::size_t>(u16(t, at + 4 + 2 * i))] = true;
        } else if (format == 2) {
            const qint64 range = at + 4 + 6 * qint64{i};
            const int end = u16(t, range + 2);
            for (int g = u16(t, range); g <= end; ++g) m_touched[static_cast<std::size_t>(g)] = true;
        } else {
            throw Unreadable{};
        }
    }
}

// Ligature, mark and component glyphs: shapers treat them apart from base glyphs.
void FontLookups::readGlyphClasses() {
    const int classes = u16(m_gdef, 4);
    if (classes == 0) return;
    const QByteArray& t = m_gdef;
    const qint64 at = classes;
    const int format = u16(t, at);
    if (format == 1) {
        const int start = u16(t, at + 2), count = u16(t, at + 4);
        for (int i = 0; i < count && start + i < static_cast<int>(kGlyphSpace); ++i)
            if (u16(t, at + 6 + 2 * i) >= 2) m_touched[static_cast<std::size_t>(start + i)] = true;
    } else if (format == 2) {
        const int ranges = u16(t, at + 2);
        for (int r = 0; r < ranges; ++r) {
            const qint64 range = at + 4 + 6 * qint64{r};
            if (u16(t, range + 4) < 2) continue;
            const int end = u16(t, range + 2);
            for (int g = u16(t, range); g <= end; ++g) m_touched[static_cast<std::size_t>(g)] = true;
        }
    } else {
        throw Unreadable{};
    }
}

void FontLookups::readLegacyKerning() {
    const QByteArray& t = m_kern;
    if (u16(t, 0) != 0) throw Unreadable{};  // only the OpenType form
    const int tables = u16(t, 2);
    qint64 at = 4;
    for (int i = 0; i < tables; ++i) {
        const int length = u16(t, at + 2);
        const int coverage = u16(t, at + 4);
        if ((coverage >> 8) != 0) throw Unreadable{};  // only pair lists
        constexpr int kHorizontalOnly = 0x0001;
        if ((coverage & 0xFF) != kHorizontalOnly) m_pairOnly = false;
        const qint64 pairs = u16(t, at + 6);
        if (at + 14 + 6 * pairs > t.size()) throw Unreadable{};
        // The length field overflows for large tables; the pair count does not.
        at += std::max<qint64>(length, 14 + 6 * pairs);
    }
}

bool FontLookups::pairAdjusted(qint64 at, quint32 first, quint32 second) const {
    const QByteArray& t = m_gpos;
    const int covered = coverageIndex(t, at + u16(t, at + 2), first);
    if (covered < 0) return false;
    const int format1 = u16(t, at + 4), format2 = u16(t, at + 6);
    const int size1 = valueRecordSize(format1), size2 = valueRecordSize(format2);
    if (size1 + size2 == 0) return false;
    if (u16(t, at) == 1) {
        if (covered >= u16(t, at + 8)) throw Unreadable{};
        const qint64 set = at + u16(t, at + 10 + 2 * qint64{covered});
        const qint64 record = 2 + size1 + size2;
        int low = 0, high = u16(t, set) - 1;
        while (low <= high) {
            const int mid = (low + high) / 2;
            const qint64 r = set + 2 + record * mid;
            const quint32 g = static_cast<quint32>(u16(t, r));
            if (g == second) return nonZero(t, r + 2, size1 + size2);
            if (g < second) low = mid + 1;
            else high = mid - 1;
        }
        return false;
    }
    const int class1 = glyphClass(t, at + u16(t, at + 8), first);
    const int class2 = glyphClass(t, at + u16(t, at + 10), second);
    const int class1Count = u16(t, at + 12), class2Count = u16(t, at + 14);
    if (class1 >= class1Count || class2 >= class2Count) return false;
    const qint64 record = at + 16 + (qint64{class1} * class2Count + class2) * (size1 + size2);
    return nonZero(t, record, size1 + size2);
}

bool FontLookups::legacyKerned(quint32 first, quint32 second) const {
    const QByteArray& t = m_kern;
    if (t.isEmpty()) return false;
    const int tables = u16(t, 2);
    const quint32 key = (first << 16) | second;
    qint64 at = 4;
    for (int i = 0; i < tables; ++i) {
        const int length = u16(t, at + 2);
        const qint64 pairs = u16(t, at + 6);
        int low = 0, high = static_cast<int>(pairs) - 1;
        while (low <= high) {
            const int mid = (low + high) / 2;
            const qint64 r = at + 14 + 6 * qint64{mid};
            const quint32 k = static_cast<quint32>(u32(t, r));
            if (k == key) {
                if (u16(t, r + 4) != 0) return true;
                break;
            }
            if (k < key) low = mid + 1;
            else high = mid - 1;
        }
        at += std::max<qint64>(length, 14 + 6 * pairs);
    }
    return false;
}

}  // namespace engine::render
