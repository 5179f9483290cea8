// Names written in the scripts people's names are written in show in the list of
// a window and in the sheet's picture: every character is drawn with a glyph of
// some installed font (the fonts the install script installs), and the row is
// neither blank nor drawn as the boxes of characters no font has, which show as
// boxes rather than as nothing.
#include "engine/application.h"
#include "engine/range.h"
#include "engine/render/range_picture.h"
#include "engine/workbook.h"
#include "engine/worksheet.h"
#include "support/isolated_environment.h"

#include <QFont>
#include <QGlyphRun>
#include <QTextLayout>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct ScriptName {
    const char* script;
    QString name;
};

const std::vector<ScriptName>& scriptNames() {
    static const std::vector<ScriptName> names = {
        {"Arabic", QString::fromUtf16(u"\u0645\u062D\u0645\u062F \u0639\u0628\u062F \u0627\u0644\u0644\u0647")},
        {"Hebrew", QString::fromUtf16(u"\u05D3\u05D5\u05D3 \u05DB\u05D4\u05DF")},
        {"Devanagari", QString::fromUtf16(u"\u0905\u0928\u093F\u0932 \u0936\u0930\u094D\u092E\u093E")},
        {"Chinese", QString::fromUtf16(u"\u738B\u5C0F\u660E")},
        {"Greek", QString::fromUtf16(u"\u0393\u03B9\u03CE\u03C1\u03B3\u03BF\u03C2 \u039D\u03B9\u03BA\u03BF\u03BB\u03AC\u03BF\u03C5")},
        {"Ethiopic", QString::fromUtf16(u"\u12A0\u1260\u1260 \u1260\u1240\u1208")},
        {"Tibetan", QString::fromUtf16(u"\u0F56\u0F40\u0FB2\u0F0B\u0F64\u0F72\u0F66\u0F0B\u0F5A\u0F7A\u0F0B\u0F62\u0F72\u0F44")},
        {"Yi", QString::fromUtf16(u"\uA188\uA320 \uA262\uA00B")},
        {"Ol Chiki", QString::fromUtf16(u"\u1C65\u1C64\u1C6B\u1C73 \u1C62\u1C69\u1C68\u1C62\u1C69")},
        {"Meetei Mayek", QString::fromUtf16(u"\uABCA\uABE3\uABCF\uABD5\uABE4")},
        {"emoji", QString::fromUtf16(u"Sam \U0001F600\U0001F44D")},
    };
    return names;
}

// As many characters as name has, of a code point no font has.
QString missingLike(const QString& name) {
    const QString missing = QString::fromUtf16(u"\U0010FFFD");
    return missing.repeated(name.toUcs4().size());
}

// True when the text layout draws every character of text in font, or the fonts
// it falls back on, with a glyph of its own: glyph 0 is the missing-glyph box.
bool everyCharacterHasAGlyph(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.isEmpty()) return false;
    for (const QGlyphRun& run : runs)
        for (const quint32 glyph : run.glyphIndexes())
            if (glyph == 0) return false;
    return true;
}

// The picture of a sheet holding text in one cell, as the commission sheet
// writes a salesperson's name.
QImage sheetPicture(const QString& text) {
    engine::Application app;
    app.Workbooks().Add();
    const engine::Range cell = app.Range(QStringLiteral("B2"));
    cell.SetColumnWidth(28);
    cell.Font().SetName(QStringLiteral("Century Gothic"));
    cell.Font().SetSize(9);
    cell.SetFormulaR1C1(text);
    const engine::SheetSnapshot used = app.ActiveSheet().UsedRange().Snapshot();
    return engine::render::renderRange(used.workbook(), used.sheet(), used.area());
}

// A list row holding text, as drawn on the screen.
QImage listRowPicture(const QString& text) {
    QTreeWidget list;
    list.setHeaderHidden(true);
    list.resize(320, 60);
    list.addTopLevelItem(new QTreeWidgetItem(QStringList{text}));
    return list.grab().toImage();
}

struct Road {
    const char* what;
    QFont font;
    std::function<QImage(const QString&)> picture;
};

}  // namespace

TEST(ScriptNames, ShowInTheListAndInTheSheetPicture) {
    IsolatedEnvironment env;
    QTreeWidget list;
    const std::vector<Road> roads = {
        {"sheet picture", QFont(QStringLiteral("Century Gothic"), 9), sheetPicture},
        {"list row", list.font(), listRowPicture},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.what);
        for (const ScriptName& entry : scriptNames()) {
            SCOPED_TRACE(entry.script);
            // The check can fail: no font has the stand-in for a missing character.
            ASSERT_FALSE(everyCharacterHasAGlyph(road.font, missingLike(entry.name)));
            EXPECT_TRUE(everyCharacterHasAGlyph(road.font, entry.name));

            const QImage shown = road.picture(entry.name);
            const QImage blank = road.picture(QString(entry.name.size(), QLatin1Char(' ')));
            const QImage boxes = road.picture(missingLike(entry.name));
            ASSERT_FALSE(shown.isNull());
            EXPECT_NE(shown, blank) << "drawn blank";
            EXPECT_NE(shown, boxes) << "drawn as missing-glyph boxes";
            // Characters no font has show as boxes, never as nothing.
            EXPECT_NE(boxes, blank) << "missing glyphs drawn blank";
        }
    }
}
