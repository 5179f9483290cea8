#include "engine/formula/error_literals.h"

namespace engine::formula {

// Every error text starts with "#"; most texts tested are not errors.
std::optional<ErrorValue> errorValueFromText(QStringView text) {
    if (!text.startsWith(u'#')) return std::nullopt;
    for (ErrorValue e : kAllErrorValues)
        if (text.compare(errorText(e), Qt::CaseInsensitive) == 0) return e;
    return std::nullopt;
}

std::optional<ErrorValue> errorValueAtStart(QStringView text) {
    if (!text.startsWith(u'#')) return std::nullopt;
    for (ErrorValue e : kAllErrorValues)
        if (text.startsWith(errorText(e), Qt::CaseInsensitive)) return e;
    return std::nullopt;
}

std::optional<ErrorValue> errorValueFromCode(int code) {
    for (ErrorValue e : kAllErrorValues)
        if (static_cast<int>(e) == code) return e;
    return std::nullopt;
}

}  // namespace engine::formula
