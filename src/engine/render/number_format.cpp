#include "engine/render/number_format.h"

#include "engine/render/format_tokens.h"
#include "engine/render/general_number.h"
#include "engine/render/section_format.h"
#include "shell/locale_symbols.h"

#include <algorithm>
#include <cmath>

namespace engine::render {

namespace {

constexpr std::size_t kTextSection = 3;

std::vector<FormatSection> sectionsOf(const QString& numberFormat) {
    const QString format = numberFormat.trimmed();
    std::vector<FormatSection> sections;
    for (const QString& section : splitSections(format.isEmpty() ? QStringLiteral("General") : format))
        sections.push_back(parseSection(section));
    return sections;
}

}  // namespace

NumberSymbols NumberSymbols::of(const QLocale& locale) {
    const shell::LocaleSymbols& symbols = shell::symbolsOf(locale);
    return {symbols.decimal, symbols.group};
}

NumberFormat::NumberFormat(const QString& numberFormat, NumberSymbols symbols)
    : m_sections(sectionsOf(numberFormat)), m_symbols(std::move(symbols)) {}

QString NumberFormat::formatNumber(double x) const {
    if (!std::isfinite(x)) return errorText(ErrorValue::Num);
    const std::size_t numberSections = std::min<std::size_t>(m_sections.size(), kTextSection);

    // positive;negative;zero — a missing zero section falls back on the first.
    std::size_t index = 0;
    if (x < 0 && numberSections >= 2) index = 1;
    else if (x == 0 && numberSections >= 3) index = 2;
    const bool writeMinus = x < 0 && index == 0;

    const FormatSection& section = m_sections[index];
    if (section.isEmpty()) return {};
    if (section.isDate()) return x < 0 ? unshowableDate() : formatDateSection(x, section);
    if (section.hasText() && !section.hasNumber()) return formatGeneral(x, m_symbols.decimal);
    const QString text = formatNumberSection(std::fabs(x), section, m_symbols);
    return writeMinus ? u'-' + text : text;
}

QString NumberFormat::formatText(const QString& text) const {
    if (m_sections.size() > kTextSection) return formatTextSection(text, m_sections[kTextSection]);
    if (m_sections.size() == 1 && m_sections[0].hasText()) return formatTextSection(text, m_sections[0]);
    return text;
}

QString NumberFormat::format(const CellValue& value) const {
    if (const auto* x = std::get_if<double>(&value)) return formatNumber(*x);
    if (const auto* s = std::get_if<QString>(&value)) return formatText(*s);
    if (const auto* b = std::get_if<bool>(&value)) return *b ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (const auto* e = std::get_if<ErrorValue>(&value)) return errorText(*e);
    return {};
}

QString formatValue(const CellValue& value, const QString& numberFormat, const NumberSymbols& symbols) {
    return NumberFormat(numberFormat, symbols).format(value);
}

}  // namespace engine::render
