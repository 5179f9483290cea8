#include "shell/font_substitutions.h"

#include "support/isolated_environment.h"

#include <QFont>
#include <QFontInfo>
#include <gtest/gtest.h>

namespace {

// The family a font name resolves to, without the foundry Qt adds when several
// foundries offer the family ("URW Gothic [UKWN]").
QString resolvedFamily(const QFont& font) {
    const QString family = QFontInfo(font).family();
    return family.left(family.indexOf(QStringLiteral(" ["))).trimmed();
}

// The test main has installed the substitutions, as the program's main does.
TEST(FontSubstitutions, TheSheetsFontNamesResolveToInstalledLookAlikes) {
    IsolatedEnvironment env;
    shell::installFontSubstitutions();  // a second call changes nothing
    EXPECT_EQ(resolvedFamily(QFont(QStringLiteral("Arial"))), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(resolvedFamily(QFont(QStringLiteral("Century Gothic"))), QStringLiteral("URW Gothic"));
    EXPECT_EQ(resolvedFamily(QFont(QStringLiteral("Garamond"))), QStringLiteral("EB Garamond"));
    EXPECT_EQ(QFont::substitutes(QStringLiteral("Garamond")).size(), 1);

    QFont bold(QStringLiteral("Century Gothic"));
    bold.setBold(true);
    EXPECT_EQ(resolvedFamily(bold), QStringLiteral("URW Gothic"));
}

}  // namespace
