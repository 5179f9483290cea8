#include "engine/formula/argument_values.h"
#include "engine/formula/functions.h"

namespace engine::formula::functions {

namespace {

// Applies `f` to the one argument as text.
template <class F>
Operand ofText(FunctionArgs& args, F f) {
    const Converted<QString> text = toText(args.value(0));
    if (const ErrorValue* e = std::get_if<ErrorValue>(&text)) return Operand::ofValue(*e);
    return Operand::ofValue(f(std::get<QString>(text)));
}

}  // namespace

Operand len(FunctionArgs& args) {
    return ofText(args, [](const QString& s) { return CellValue(static_cast<double>(s.size())); });
}

Operand concatenate(FunctionArgs& args) {
    QString joined;
    for (int i = 0; i < args.count(); ++i) {
        const Converted<QString> part = toText(args.value(i));
        if (const ErrorValue* e = std::get_if<ErrorValue>(&part)) return Operand::ofValue(*e);
        joined += std::get<QString>(part);
        if (joined.size() > kMaxTextLength) return Operand::ofValue(ErrorValue::Value);
    }
    return Operand::ofValue(joined);
}

Operand upper(FunctionArgs& args) {
    return ofText(args, [](const QString& s) { return CellValue(s.toUpper()); });
}

Operand lower(FunctionArgs& args) {
    return ofText(args, [](const QString& s) { return CellValue(s.toLower()); });
}

// Drops the spaces at both ends and leaves single spaces between words.
Operand trim(FunctionArgs& args) {
    return ofText(args, [](const QString& s) {
        QString result;
        bool pendingSpace = false;
        for (QChar c : s) {
            if (c == u' ') {
                pendingSpace = !result.isEmpty();
                continue;
            }
            if (pendingSpace) result += u' ';
            pendingSpace = false;
            result += c;
        }
        return CellValue(result);
    });
}

}  // namespace engine::formula::functions
