#pragma once

#include "engine/model/cell_types.h"
#include "engine/render/format_tokens.h"

#include <QLocale>
#include <QString>
#include <vector>

namespace engine::render {

// The texts a number is shown with where its format has a decimal point "." and a
// grouping comma ",": by default the format's own, and the user's as a picture
// shows them. The format itself never changes.
struct NumberSymbols {
    QString decimal = QStringLiteral(".");
    QString group = QStringLiteral(",");

    // The separators the locale writes numbers with ("," and "." under de_DE).
    static NumberSymbols of(const QLocale& locale);
    friend bool operator==(const NumberSymbols&, const NumberSymbols&) = default;
};

// The text a spreadsheet shows for a value under a number format: "General";
// digit placeholders with grouping, decimals, percent, scaling and exponent
// ("$#,##0.00", "0.0%", "0.00E+00"); dates and times of the 1900 date system
// ("m/d/yyyy", "dd.mm.yyyy", "h:mm AM/PM"); up to four sections
// (positive;negative;zero;text) with literal text. With one section a negative
// number gets a leading minus ("-$1,234.50"); with more, the negative section shows
// the magnitude as written. Rounding is half away from zero. Text shows as is
// unless a text section says otherwise; booleans as TRUE/FALSE; errors by their text.
// Decimal points and grouping commas of numbers are written with the given symbols
// (date formats keep theirs: there they are literal text).
QString formatValue(const CellValue& value, const QString& numberFormat, const NumberSymbols& symbols = {});

// A number format read once, for showing many values: format() gives what
// formatValue() gives for the same format and symbols.
class NumberFormat {
public:
    explicit NumberFormat(const QString& numberFormat, NumberSymbols symbols = {});
    QString format(const CellValue& value) const;

private:
    QString formatNumber(double x) const;
    QString formatText(const QString& text) const;

    std::vector<FormatSection> m_sections;
    NumberSymbols m_symbols;
};

}  // namespace engine::render
