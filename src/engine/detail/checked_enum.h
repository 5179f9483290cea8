#pragma once

#include "engine/model/engine_error.h"

#include <QString>

namespace engine::detail {

// A value of one of the object model's enums as a caller passed it: one of its
// enumerators, numbered from 0 up to `last`. A number cast to the enum that names
// none of them is refused with EngineError.
template <typename Enum>
Enum checkedEnum(Enum value, Enum last, const char* what) {
    const long long number = static_cast<long long>(value);
    if (number < 0 || number > static_cast<long long>(last))
        throw EngineError(QStringLiteral("The %1 %2 is not one of its values.").arg(QLatin1StringView(what)).arg(number));
    return value;
}

}  // namespace engine::detail
