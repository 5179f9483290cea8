// The number rules of the entry fields: the number test and the conversion accept
// the same texts, every accepted text is a finite number, the commission text of
// any two numbers is written without a crash and reads back as the number it
// shows, and a cell given a numeric text holds that number.
#include "fuzz_support.h"
#include "engine/formula/typed_input.h"
#include "engine/model/engine_error.h"
#include "shell/failure.h"
#include "shell/locale_number.h"

#include <cmath>

namespace {

// A number written by the program reads back to itself, to 15 significant digits,
// and writing that reading gives the same text again.
void checkWrittenNumber(double value, const QLocale& locale) {
    const std::optional<QString> text = shell::localeNumberText(value, locale);
    if (!std::isfinite(value)) {
        fuzz::check(!text, "a text was written for infinity or NaN", text.value_or(QString()));
        return;
    }
    if (!text) {
        // Only the doubles that round past the largest one have no text.
        fuzz::check(std::fabs(value) > 1.79769313486231e308, "a finite number has no text",
                    QString::number(value, 'g', 17));
        return;
    }
    fuzz::check(!text->contains(locale.groupSeparator()) || locale.groupSeparator() == locale.decimalPoint(),
                "a written number holds a group separator", *text);
    const std::optional<double> reread = shell::parseLocaleNumber(*text, locale);
    fuzz::check(reread.has_value(), "a written number does not read back", *text);
    const double tolerance = std::fabs(value) * 1e-14;
    fuzz::check(std::fabs(*reread - value) <= tolerance || std::fabs(value) < 1e-300,
                "a written number reads back as another number", *text);
    fuzz::check(shell::localeNumberText(*reread, locale) == text, "writing a reading gives another text", *text);
}

void checkNumberTest(const QString& text, const QLocale& locale) {
    const std::optional<double> value = shell::parseLocaleNumber(text, locale);
    fuzz::check(shell::isNumeric(text, locale) == value.has_value(), "number test and conversion disagree", text);
    if (!value) {
        bool refused = false;
        try {
            shell::toDouble(text, locale);
        } catch (const shell::Failure&) {
            refused = true;
        }
        fuzz::check(refused, "toDouble converts a text the number test refuses", text);
        return;
    }
    fuzz::check(std::isfinite(*value), "a numeric text converts to infinity or NaN", text);
    fuzz::check(shell::toDouble(text, locale) == *value, "toDouble and parseLocaleNumber differ", text);
    checkWrittenNumber(*value, locale);

    // A total the entry fields accept is a number in the sheet too.
    try {
        const engine::formula::TypedInput typed = engine::formula::parseTypedInput(text, locale);
        fuzz::check(!typed.isFormula, "a numeric text is taken for a formula", text);
        const double* number = std::get_if<double>(&typed.constant);
        fuzz::check(number != nullptr, "a numeric text is not a number in a cell", text);
        fuzz::check(*number == *value, "a cell holds another number than the entry field", text);
    } catch (const engine::EngineError& e) {
        fuzz::broken("a numeric text is refused by a cell", text + QStringLiteral(" / ") + e.description());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const QLocale& locale = fuzz::localeFor(in.byte());

    // The commission of two arbitrary doubles never fails to be computed.
    const double total = in.rawDouble();
    const double rate = in.rawDouble();
    const std::optional<QString> commission = shell::commissionText(total, rate, locale);
    checkWrittenNumber(total * (rate / 100.0), locale);
    if (commission) fuzz::check(shell::isNumeric(*commission, locale), "a commission text is not numeric", *commission);

    // What the user types into the total or percentage field.
    const QString typed = in.restAsText();
    checkNumberTest(typed, locale);
    for (const QString& part : {typed.left(typed.size() / 2), typed.trimmed(), QStringLiteral(" ") + typed})
        checkNumberTest(part, locale);

    // The commission of typed texts, as the entry fields compute it.
    const std::optional<double> typedValue = shell::parseLocaleNumber(typed, locale);
    if (typedValue) {
        const std::optional<QString> fromTyped = shell::commissionText(*typedValue, *typedValue, locale);
        if (fromTyped) checkNumberTest(*fromTyped, locale);
    }
    return 0;
}
