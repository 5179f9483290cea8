#include "shell/storable_text.h"

namespace shell {
namespace {

enum class Unstorable { None, Control, Noncharacter, LoneSurrogate };

Unstorable classify(char32_t c) {
    if (c < 0x20) return c == u'\t' || c == u'\n' || c == u'\r' ? Unstorable::None : Unstorable::Control;
    if (c >= 0x7F && c <= 0x9F) return Unstorable::Control;
    if (c >= 0xD800 && c <= 0xDFFF) return Unstorable::LoneSurrogate;
    if ((c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE) return Unstorable::Noncharacter;
    return Unstorable::None;
}

// The code point at a position, a lone surrogate standing for itself.
char32_t codePointAt(QStringView text, qsizetype i) {
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[i + 1]);
    return c.unicode();
}

}  // namespace

std::optional<qsizetype> firstUnstorableCharacter(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char32_t c = codePointAt(text, i);
        if (classify(c) != Unstorable::None) return i;
        if (c > 0xFFFF) ++i;
    }
    return std::nullopt;
}

QString characterDescription(QStringView text, qsizetype position) {
    const char32_t c = codePointAt(text, position);
    QString kind;
    switch (classify(c)) {
    case Unstorable::Control: kind = QStringLiteral("a control character"); break;
    case Unstorable::Noncharacter: kind = QStringLiteral("a noncharacter"); break;
    case Unstorable::LoneSurrogate: kind = QStringLiteral("half of a surrogate pair"); break;
    case Unstorable::None: break;
    }
    const QString code = QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    return kind.isEmpty() ? code : code + QStringLiteral(" (") + kind + QLatin1Char(')');
}

}  // namespace shell
