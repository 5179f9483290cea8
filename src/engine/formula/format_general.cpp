#include "engine/formula/format_general.h"

#include "shell/locale_number.h"

#include <cmath>

namespace engine::formula {

// The program's one rule for writing numbers, under the locale-neutral separators.
QString formatGeneral(double value) {
    if (std::isfinite(value)) return shell::generalNumberText(value);
    return QString::number(value).toUpper();  // "INF", "-INF", "NAN"
}

}  // namespace engine::formula
