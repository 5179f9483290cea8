#include "engine/formula/format_general.h"

#include "shell/locale_number.h"

#include <QLocale>

namespace engine::formula {

// The program's one rule for writing numbers, under the locale-neutral separators.
QString formatGeneral(double value) {
    if (const std::optional<QString> text = shell::LocaleNumberText(value, QLocale::c())) return *text;
    // Only infinities, NaN and doubles whose 15 digits round past the largest one
    // get here; the latter still have their 15-digit text.
    return QString::number(value, 'g', 15).toUpper();
}

}  // namespace engine::formula
