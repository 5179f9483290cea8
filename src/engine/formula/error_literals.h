#pragma once

#include "engine/model/cell_types.h"

#include <QStringView>
#include <optional>

namespace engine::formula {

inline constexpr ErrorValue kAllErrorValues[] = {
    ErrorValue::Null, ErrorValue::Div0, ErrorValue::Value, ErrorValue::Ref,
    ErrorValue::Name, ErrorValue::Num,  ErrorValue::NA,
};

// The error value whose text ("#DIV/0!", any case) is exactly `text`.
std::optional<ErrorValue> errorValueFromText(QStringView text);
// The error value whose text starts `text`, for reading formulas.
std::optional<ErrorValue> errorValueAtStart(QStringView text);
// The error value with that code of the file format.
std::optional<ErrorValue> errorValueFromCode(int code);

}  // namespace engine::formula
