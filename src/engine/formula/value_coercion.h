#pragma once

#include "engine/model/cell_types.h"

#include <QString>
#include <optional>
#include <variant>

namespace engine::formula {

// A value converted for an operator or a function, or the error the conversion gives.
template <class T>
using Converted = std::variant<T, ErrorValue>;

// Numbers stay, TRUE/FALSE are 1/0, an empty cell is 0, an error stays that error.
// Text counts when it reads as a number in the way typed input does, with the
// locale-neutral rules (digits with "," groups and "." decimals, a currency sign,
// a percentage, an ISO date: "1,000", "$5", "10%", "2024-03-01"), so results do not
// depend on the machine's locale. Any other text gives #VALUE!.
Converted<double> toNumber(const CellValue& value);
std::optional<double> numberFromText(const QString& text);

// Numbers in the General format, TRUE/FALSE, "" for an empty cell.
Converted<QString> toText(const CellValue& value);

// Numbers are TRUE unless 0, empty is FALSE, text must read "TRUE" or "FALSE".
Converted<bool> toBool(const CellValue& value);

// A computed number as a cell holds it: infinities and NaN become #NUM!, -0 is 0.
CellValue numberResult(double value);

// Order of two error-free values for the comparison operators: numbers before text
// before logical values; text compared without regard to case; an empty value
// counts as 0, "" or FALSE, whichever the other side is. Negative, 0 or positive.
int compareValues(const CellValue& left, const CellValue& right);

}  // namespace engine::formula
