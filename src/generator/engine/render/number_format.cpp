#include "generator/engine/render/number_format.h"

#include "generator/engine/render/format_tokens.h"
#include "generator/engine/render/general_number.h"
#include "generator/engine/render/section_format.h"

#include <algorithm>
#include <cmath>

namespace engine::render {

namespace {

constexpr std::size_t kTextSection = 3;

std::vector<QString> sectionsOf(const QString& numberFormat) {
    const QString format = numberFormat.trimmed();
    return splitSections(format.isEmpty() ? QStringLiteral("General") : format);
}

QString formatNumber(double x, const QString& numberFormat) {
    if (!std::isfinite(x)) return errorText(ErrorValue::Num);
    const std::vector<QString> sections = sectionsOf(numberFormat);
    const std::size_t numberSections = std::min<std::size_t>(sections.size(), kTextSection);

    // positive;negative;zero — a missing zero section falls back on the first.
    std::size_t index = 0;
    if (x < 0 && numberSections >= 2) index = 1;
    else if (x == 0 && numberSections >= 3) index = 2;
    const bool writeMinus = x < 0 && index == 0;

    const FormatSection section = parseSection(sections[index]);
    if (section.isEmpty()) return {};
    if (section.isDate()) return x < 0 ? unshowableDate() : formatDateSection(x, section);
    if (section.hasText() && !section.hasNumber()) return formatGeneral(x);
    const QString text = formatNumberSection(std::fabs(x), section);
    return writeMinus ? u'-' + text : text;
}

QString formatText(const QString& text, const QString& numberFormat) {
    const std::vector<QString> sections = sectionsOf(numberFormat);
    if (sections.size() > kTextSection)
        return formatTextSection(text, parseSection(sections[kTextSection]));
    if (sections.size() == 1) {
        const FormatSection only = parseSection(sections[0]);
        if (only.hasText()) return formatTextSection(text, only);
    }
    return text;
}

}  // namespace

QString formatValue(const CellValue& value, const QString& numberFormat) {
    if (const auto* x = std::get_if<double>(&value)) return formatNumber(*x, numberFormat);
    if (const auto* s = std::get_if<QString>(&value)) return formatText(*s, numberFormat);
    if (const auto* b = std::get_if<bool>(&value)) return *b ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (const auto* e = std::get_if<ErrorValue>(&value)) return errorText(*e);
    return {};
}

}  // namespace engine::render
