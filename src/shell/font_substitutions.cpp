#include "shell/font_substitutions.h"

#include <QFont>
#include <QStringList>

namespace shell {

void installFontSubstitutions() {
    // Liberation Sans has the same advance widths as Arial, so column widths and
    // wrapped lines come out as in the original font.
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Century Gothic"), {QStringLiteral("URW Gothic")});
    QFont::insertSubstitutions(QStringLiteral("Garamond"), {QStringLiteral("EB Garamond")});
}

}  // namespace shell
