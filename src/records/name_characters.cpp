#include "records/name_characters.h"

#include <QList>
#include <QStringView>

namespace records {

std::optional<char32_t> uncarriedNameCharacter(const QString& name) {
    for (const char32_t c : QStringView(name).toUcs4()) {
        const bool control = (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || (c >= 0x7F && c < 0xA0);
        const bool nonCharacter = (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
        if (control || nonCharacter) return c;
    }
    return std::nullopt;
}

}  // namespace records
