#include "generator/engine/formula/error_literals.h"

namespace engine::formula {

std::optional<ErrorValue> errorValueFromText(QStringView text) {
    for (ErrorValue e : kAllErrorValues)
        if (text.compare(errorText(e), Qt::CaseInsensitive) == 0) return e;
    return std::nullopt;
}

std::optional<ErrorValue> errorValueAtStart(QStringView text) {
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
