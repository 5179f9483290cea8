#pragma once

#include "engine/model/cell_types.h"
#include "engine/render/format_tokens.h"

#include <QString>
#include <vector>

namespace engine::render {

// The text a spreadsheet shows for a value under a number format: "General";
// digit placeholders with grouping, decimals, percent, scaling and exponent
// ("$#,##0.00", "0.0%", "0.00E+00"); dates and times of the 1900 date system
// ("m/d/yyyy", "dd.mm.yyyy", "h:mm AM/PM"); up to four sections
// (positive;negative;zero;text) with literal text. With one section a negative
// number gets a leading minus ("-$1,234.50"); with more, the negative section shows
// the magnitude as written. Rounding is half away from zero. Text shows as is
// unless a text section says otherwise; booleans as TRUE/FALSE; errors by their text.
QString formatValue(const CellValue& value, const QString& numberFormat);

// A number format read once, for showing many values: format() gives what
// formatValue() gives for the same format.
class NumberFormat {
public:
    explicit NumberFormat(const QString& numberFormat);
    QString format(const CellValue& value) const;

private:
    QString formatNumber(double x) const;
    QString formatText(const QString& text) const;

    std::vector<FormatSection> m_sections;
};

}  // namespace engine::render
