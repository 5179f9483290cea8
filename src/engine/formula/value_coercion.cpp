#include "engine/formula/value_coercion.h"

#include "engine/formula/format_general.h"
#include "engine/formula/overloaded.h"
#include "engine/formula/typed_input.h"

#include <QLocale>
#include <cmath>

namespace engine::formula {

std::optional<double> numberFromText(const QString& text) {
    if (text.size() > kMaxTextLength) return std::nullopt;  // no number, and beyond what typed input takes
    const TypedInput input = parseTypedInput(text, QLocale::c());
    if (input.isFormula) return std::nullopt;
    if (const double* number = std::get_if<double>(&input.constant)) return *number;
    return std::nullopt;
}

Converted<double> toNumber(const CellValue& value) {
    return std::visit(
        Overloaded{
            [](std::monostate) -> Converted<double> { return 0.0; },
            [](double d) -> Converted<double> { return d; },
            [](bool b) -> Converted<double> { return b ? 1.0 : 0.0; },
            [](ErrorValue e) -> Converted<double> { return e; },
            [](const QString& s) -> Converted<double> {
                if (auto number = numberFromText(s)) return *number;
                return ErrorValue::Value;
            },
        },
        value);
}

Converted<QString> toText(const CellValue& value) {
    return std::visit(
        Overloaded{
            [](std::monostate) -> Converted<QString> { return QString(); },
            [](double d) -> Converted<QString> { return formatGeneral(d); },
            [](bool b) -> Converted<QString> { return b ? QStringLiteral("TRUE") : QStringLiteral("FALSE"); },
            [](ErrorValue e) -> Converted<QString> { return e; },
            [](const QString& s) -> Converted<QString> { return s; },
        },
        value);
}

Converted<bool> toBool(const CellValue& value) {
    return std::visit(
        Overloaded{
            [](std::monostate) -> Converted<bool> { return false; },
            [](double d) -> Converted<bool> { return d != 0; },
            [](bool b) -> Converted<bool> { return b; },
            [](ErrorValue e) -> Converted<bool> { return e; },
            [](const QString& s) -> Converted<bool> {
                const QString t = s.trimmed();
                if (t.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0) return true;
                if (t.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0) return false;
                return ErrorValue::Value;
            },
        },
        value);
}

CellValue numberResult(double value) {
    if (!std::isfinite(value)) return ErrorValue::Num;
    return value == 0 ? 0.0 : value;
}

namespace {

// Rank of a value's type in comparisons.
int typeRank(const CellValue& v) {
    if (std::holds_alternative<double>(v)) return 0;
    if (std::holds_alternative<QString>(v)) return 1;
    return 2;  // logical
}

// An empty value takes the type of the other side.
CellValue emptyLike(const CellValue& other) {
    if (std::holds_alternative<QString>(other)) return QString();
    if (std::holds_alternative<bool>(other)) return false;
    return 0.0;
}

template <class T>
int threeWay(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

int compareValues(const CellValue& left, const CellValue& right) {
    const CellValue l = isEmpty(left) ? emptyLike(right) : left;
    const CellValue r = isEmpty(right) ? emptyLike(left) : right;
    if (typeRank(l) != typeRank(r)) return threeWay(typeRank(l), typeRank(r));
    if (const double* a = std::get_if<double>(&l)) return threeWay(*a, std::get<double>(r));
    if (const QString* a = std::get_if<QString>(&l))
        return QString::compare(*a, std::get<QString>(r), Qt::CaseInsensitive);
    return threeWay(std::get<bool>(l), std::get<bool>(r));
}

}  // namespace engine::formula
