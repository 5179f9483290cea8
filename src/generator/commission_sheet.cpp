#include "generator/commission_sheet.h"

#include "engine/application.h"
#include "generator/page_setup.h"
#include "generator/palette.h"
#include "generator/range_formatting.h"
#include "generator/record_source.h"

#include <QStringBuilder>
#include <initializer_list>

namespace generator {

namespace {

// Palette entries the sheet uses.
constexpr int kWhite = 2;
constexpr int kSlate = 10;
constexpr int kLightGrey = 15;
constexpr int kPaleBlue = 35;

using commission_layout::kFirstRecordRow;
constexpr int kAutomatic = engine::kColorAutomatic;

const QString kMoney = QStringLiteral("$#,##0.00");
const QString kBodyFont = QStringLiteral("Century Gothic");
const QString kTitleFont = QStringLiteral("Garamond");
const QString kNormal = QStringLiteral("Normal");
const QString kBold = QStringLiteral("Bold");

// Every written cell is centred both ways, with wrapping.
constexpr AlignmentChange kCentred{.centreAcross = true, .centreDown = true, .wrap = true};
constexpr CellWriting kMerged{.merge = true, .wrap = false};

// The decimal digits of a whole number, kept in place: the layout builds several
// texts per record from them, so they cost no text of their own.
class Digits {
public:
    explicit Digits(int n) {
        char16_t reversed[11];
        int count = 0;
        unsigned rest = n < 0 ? 0u - static_cast<unsigned>(n) : static_cast<unsigned>(n);
        do {
            reversed[count++] = char16_t(u'0' + rest % 10);
            rest /= 10;
        } while (rest > 0);
        if (n < 0) m_text[m_size++] = u'-';
        while (count > 0) m_text[m_size++] = reversed[--count];
    }
    operator QStringView() const { return QStringView(m_text, m_size); }

private:
    char16_t m_text[12];
    int m_size = 0;
};

QString num(int n) { return QStringView(Digits(n)).toString(); }

// Reference texts ("$B7:$B7", "7:7") rebuilt in one buffer: the engine reads a
// reference at once and keeps nothing of its text, so the layout's many references
// need no text of their own each.
class ReferenceText {
public:
    const QString& operator()(std::initializer_list<QStringView> parts) {
        qsizetype size = 0;
        for (QStringView part : parts) size += part.size();
        m_text.resize(size);
        QChar* out = m_text.data();
        for (QStringView part : parts)
            for (QChar c : part) *out++ = c;
        return m_text;
    }
    // "$B7:$B7" for column B and row 7.
    const QString& oneCell(char16_t column, const Digits& row) {
        const QStringView columnText(&column, 1);
        return (*this)({u"$", columnText, row, u":$", columnText, row});
    }

private:
    QString m_text;
};

// Writes the sheet into one application's active sheet.
class CommissionSheetWriter {
public:
    explicit CommissionSheetWriter(engine::Application& app) : m_app(app) {}

    void write(const RecordSource& source) {
        loadPalette();
        resetSheet();
        sizeGrid();
        const int n = source.recordCount();
        for (int i = 1; i <= n; ++i) writeRecord(source, i);
        setInteriorColor(range(u"C4:D4"), kPaleBlue);
        setInteriorColor(range(u"B6:D6"), kSlate);
        writeTotals(n);
        writeSummary(n);
        drawBorders(n);
        writeLabels(source.percentageText());
        // The print area runs to the totals row, so a printout carries the totals.
        setUpPage(m_app, QStringLiteral("A1:I") + num(n + kFirstRecordRow));
        m_app.Range(QStringLiteral("C15")).Select();
    }

private:
    engine::Range range(const QString& text) const { return m_app.Range(text); }
    engine::Range range(const char16_t* text) const { return m_app.Range(QString::fromUtf16(text)); }

    // Writes a cell as the layout writes every cell: content, font, centred.
    engine::Range writeCentred(const QString& cell, const QString& content, const FontChange& font,
                               CellWriting writing = kMerged) {
        const engine::Range target = range(cell);
        writeCell(target, content, writing);
        return centred(target, font);
    }
    // A record's name is written as text, whatever it looks like.
    engine::Range writeNameCentred(const QString& cell, const QString& name, const FontChange& font) {
        const engine::Range target = range(cell);
        writeText(target, name, kMerged);
        return centred(target, font);
    }
    engine::Range centred(const engine::Range& target, const FontChange& font) {
        setFont(target, font);
        setAlignment(target, kCentred);
        return target;
    }

    void loadPalette() {
        const engine::Workbook book = m_app.ActiveWorkbook();
        for (int i = 1; i <= kPaletteSize; ++i) book.SetColors(i, static_cast<std::uint32_t>(paletteColor(i)));
    }

    void resetSheet() {
        const engine::Range all = m_app.Cells();
        all.Clear();
        all.Font().SetName(QStringLiteral("Arial"));
        all.Font().SetSize(10);
        all.SetVerticalAlignment(engine::VerticalAlignment::Center);
        all.SetWrapText(true);
        setInteriorColor(all, kWhite);
    }

    void sizeGrid() {
        setColumnWidth(m_app.Columns(QStringLiteral("A:A")), 3.71);
        for (const char* column : {"B:B", "C:C", "D:D"}) setColumnWidth(m_app.Columns(QString::fromLatin1(column)), 28);
        for (const char* column : {"E:E", "F:F", "G:G", "H:H", "I:I", "J:J"})
            setColumnWidth(m_app.Columns(QString::fromLatin1(column)), 8.43);
        const struct {
            const char* rows;
            double points;
        } heights[] = {{"1:1", 38.25}, {"2:2", 13.5}, {"3:3", 15}, {"4:4", 16.5}, {"5:5", 6.75}, {"6:6", 19.5}};
        for (const auto& height : heights) setRowHeight(m_app.Rows(QString::fromLatin1(height.rows)), height.points);
    }

    void writeRecord(const RecordSource& source, int i) {
        const Digits row(i + kFirstRecordRow - 1);
        setRowHeight(m_app.Rows(m_reference({row, u":", row})), 15);
        if (i % 2 == 0) setInteriorColor(range(m_reference({u"B", row, u":C", row})), kLightGrey);

        const FontChange body{kNormal, 9, kAutomatic, kBodyFont};
        writeNameCentred(m_reference.oneCell(u'B', row), source.recordName(i), body);
        setNumberFormat(writeCentred(m_reference.oneCell(u'C', row), source.recordTotal(i), body), kMoney);

        // The sales to the left times the percentage in B4.
        const engine::Range commission = writeCentred(
            m_reference.oneCell(u'D', row),
            QString(QLatin1String("=RC[-1]*R[") % QStringView(Digits(-(i + 2))) % QLatin1String("]C[-2]")), body);
        setNumberFormat(commission, kMoney);
        setInteriorColor(commission, kPaleBlue);
    }

    void writeTotals(int n) {
        const Digits t(n + kFirstRecordRow);
        const engine::Range label =
            writeCentred(m_reference.oneCell(u'B', t), QString::fromLatin1(commission_layout::kTotalsLabel), {kBold, 11, kAutomatic, kTitleFont});
        setInteriorColor(label, kSlate);
        label.Font().SetColorIndex(kWhite);

        const FontChange bold{kBold, 9, kAutomatic, kBodyFont};
        // Without records there is nothing to add up: the total is zero rather than a
        // sum over the totals cell itself.
        const QString sum =
            n > 0 ? QStringLiteral("=SUM(R[-") + num(n) + QStringLiteral("]C:R[-1]C)") : QStringLiteral("0");
        const engine::Range sales = writeCentred(m_reference.oneCell(u'C', t), sum, bold);
        setNumberFormat(sales, kMoney);
        setInteriorColor(sales, kPaleBlue);

        const engine::Range commission = writeCentred(
            m_reference.oneCell(u'D', t), QStringLiteral("=RC[-1]*R[-") + num(n + 3) + QStringLiteral("]C[-2]"), bold);
        setNumberFormat(commission, kMoney);
        setInteriorColor(commission, kPaleBlue);
    }

    void writeSummary(int n) {
        const QString totalsBelow = QStringLiteral("=R[+") + num(n + 3) + QStringLiteral("]C");
        const FontChange body{kNormal, 9, kAutomatic, kBodyFont};
        setNumberFormat(writeCentred(QStringLiteral("$C4:$C4"), totalsBelow, body), kMoney);
        const engine::Range commission = writeCentred(QStringLiteral("$D4:$D4"), totalsBelow, body);
        setNumberFormat(commission, kMoney);
        setInteriorColor(commission, kPaleBlue);
    }

    void drawBorders(int n) {
        const QString lastRecordRow = num(n + kFirstRecordRow - 1);
        constexpr BorderSides box{.left = true, .top = true, .bottom = true, .right = true};
        constexpr BorderSides grid{.left = true, .top = true, .bottom = true, .right = true, .insideVertical = true};
        constexpr BorderSides sidesAndBottom{.left = true, .bottom = true, .right = true};
        setBorders(range(u"$B4:$D4"), grid, engine::BorderWeight::Thin, kLightGrey);
        setBorders(range(QStringLiteral("$B6:$D") + lastRecordRow), grid, engine::BorderWeight::Thin, kLightGrey);
        setBorders(range(u"$B6:$D6"), box, engine::BorderWeight::Medium, kLightGrey);
        setBorders(range(QStringLiteral("$B7:$D") + lastRecordRow), sidesAndBottom, engine::BorderWeight::Medium, kLightGrey);
    }

    void writeLabels(const QString& percentage) {
        struct Label {
            const char* cell;
            QString content;
            bool wrap;
            const QString& style;
            double size;
            const QString& font;
            int fontColor;  // 0: a number format instead
        };
        const Label labels[] = {
            {"$B1:$D1", QString::fromLatin1(commission_layout::kTitle), false, kBold, 24, kTitleFont, kSlate},
            {"$B3:$B3", QStringLiteral("Commission Percentage"), false, kNormal, 11, kTitleFont, kSlate},
            {"$B4:$B4", percentage + u'%', false, kNormal, 9, kBodyFont, 0},
            {"$C3:$C3", QStringLiteral("Total sales"), false, kNormal, 11, kTitleFont, kSlate},
            {"$D3:$D3", QStringLiteral("Total commission paid"), false, kNormal, 11, kTitleFont, kSlate},
            {"$B6:$B6", QString::fromLatin1(commission_layout::kNameTitle), false, kBold, 11, kTitleFont, kWhite},
            {"$C6:$C6", QString::fromLatin1(commission_layout::kTotalTitle), true, kBold, 11, kTitleFont, kWhite},
            {"$D6:$D6", QString::fromLatin1(commission_layout::kCommissionTitle), true, kBold, 11, kTitleFont, kWhite},
        };
        for (const Label& label : labels) {
            const engine::Range cell = writeCentred(QString::fromLatin1(label.cell), label.content,
                                                    {label.style, label.size, kAutomatic, label.font},
                                                    {.merge = true, .wrap = label.wrap});
            if (label.fontColor != 0) cell.Font().SetColorIndex(label.fontColor);
            else setNumberFormat(cell, QStringLiteral("0.0%"));
        }
    }

    engine::Application& m_app;
    ReferenceText m_reference;
};

}  // namespace

void writeCommissionSheet(engine::Application& app, const RecordSource& source) {
    CommissionSheetWriter(app).write(source);
}

}  // namespace generator
