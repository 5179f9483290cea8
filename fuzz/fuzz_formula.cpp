// Typed input and formulas: any text typed into a cell is read without a crash;
// a formula that parses in either reference style writes texts that parse back to
// the same formula, its file tokens read back to the same formula, and it
// evaluates to a value in a small sheet where it also refers to itself. Raw token
// bytes, as a damaged file holds them, are read without a crash or an over-read.
#include "fuzz_support.h"
#include "engine/formula/ast.h"
#include "engine/formula/formula.h"
#include "engine/formula/typed_input.h"
#include "engine/model/engine_error.h"

#include <cmath>
#include <map>
#include <set>

namespace {

using engine::CellAddress;
using engine::CellValue;
using engine::EngineError;
using engine::formula::Formula;
using engine::formula::ReferenceStyle;

// Cells a formula may stand in: corners and edges of the sheet and an inner cell.
CellAddress cellFor(std::uint8_t choice) {
    static const CellAddress cells[] = {
        {0, 0}, {5, 2}, {65535, 255}, {0, 255}, {65535, 0}, {7, 3}, {1000, 100}, {1, 1},
    };
    return cells[choice % std::size(cells)];
}

// Evaluating a formula over a whole sheet visits 16 million cells; a budget keeps
// each input short without hiding anything but size.
struct BudgetSpent {};

// A small sheet: a few constants of every kind near the formula, the formula in
// its own cell and once more in a second cell, each computed on demand; a cell
// being computed answers #REF! (a circular reference), so evaluation ends.
class SmallSheet : public engine::formula::EvalContext {
public:
    SmallSheet(const Formula& formula, CellAddress at) : m_formula(formula) {
        m_formulaCells = {at, {std::min(at.row + 1, engine::kMaxRows - 1), at.col}};
        const CellValue constants[] = {
            5600.0, QStringLiteral("Aldo"), true, engine::ErrorValue::Div0, -0.5, QStringLiteral("12"), 1e308,
        };
        int i = 0;
        for (int row = std::max(0, at.row - 3); row <= std::min(engine::kMaxRows - 1, at.row + 3); ++row)
            for (int col = std::max(0, at.col - 3); col <= std::min(engine::kMaxColumns - 1, at.col + 3); ++col)
                if ((row + col) % 2 == 0) m_constants[{row, col}] = constants[i++ % std::size(constants)];
    }

    CellValue valueAt(int row, int col) override {
        if (row < 0 || row >= engine::kMaxRows || col < 0 || col >= engine::kMaxColumns)
            fuzz::broken("a cell outside the sheet was read", QStringLiteral("R%1C%2").arg(row + 1).arg(col + 1));
        if (++m_reads > kBudget) throw BudgetSpent{};
        const CellAddress cell{row, col};
        if (m_formulaCells.count(cell)) {
            if (m_computing.count(cell)) return engine::ErrorValue::Ref;
            m_computing.insert(cell);
            CellValue value = m_formula.evaluate(cell, *this);
            m_computing.erase(cell);
            return value;
        }
        const auto found = m_constants.find(cell);
        return found == m_constants.end() ? CellValue{} : found->second;
    }

private:
    static constexpr long kBudget = 50000;
    const Formula& m_formula;
    std::set<CellAddress> m_formulaCells;
    std::set<CellAddress> m_computing;
    std::map<CellAddress, CellValue> m_constants;
    long m_reads = 0;
};

bool sameValue(const CellValue& a, const CellValue& b) {
    const double* x = std::get_if<double>(&a);
    const double* y = std::get_if<double>(&b);
    if (x && y) return *x == *y || (std::isnan(*x) && std::isnan(*y));
    return a == b;
}

void checkValue(const CellValue& value, const QString& formula) {
    fuzz::check(!engine::isEmpty(value), "a formula evaluates to nothing", formula);
    if (const double* number = std::get_if<double>(&value))
        fuzz::check(std::isfinite(*number), "a formula evaluates to infinity or NaN", formula);
    if (const QString* text = std::get_if<QString>(&value))
        fuzz::check(text->size() <= engine::kMaxTextLength, "a formula evaluates to a text no cell holds", formula);
}

std::optional<CellValue> evaluate(const Formula& formula, CellAddress at, const QString& shown) {
    try {
        SmallSheet sheet(formula, at);
        CellValue value = formula.evaluate(at, sheet);
        checkValue(value, shown);
        return value;
    } catch (const BudgetSpent&) {
        return std::nullopt;
    } catch (const EngineError&) {
        return std::nullopt;  // a refusal with a description is a sound answer
    }
}

std::shared_ptr<const Formula> parse(const QString& text, ReferenceStyle style, CellAddress at) {
    try {
        return Formula::parse(text, style, at);
    } catch (const EngineError&) {
        return nullptr;
    }
}

// Every way the formula can be written down gives the same formula back.
void checkRoundTrips(const Formula& formula, CellAddress at) {
    const QString r1c1 = formula.toR1C1(at);
    const QString a1 = formula.toA1(at);
    fuzz::check(r1c1.startsWith(QLatin1Char('=')) && a1.startsWith(QLatin1Char('=')), "a formula text lacks its =",
                r1c1);

    if (r1c1.size() <= engine::formula::kMaxFormulaLength) {
        const auto again = parse(r1c1, ReferenceStyle::R1C1, at);
        fuzz::check(again != nullptr, "the R1C1 text of a formula does not parse", r1c1);
        fuzz::check(again->toR1C1(at) == r1c1, "the R1C1 text reads back as another formula",
                    r1c1 + QStringLiteral(" -> ") + again->toR1C1(at));
        fuzz::check(again->toA1(at) == a1, "the R1C1 text reads back with another A1 text", r1c1);
    }
    if (a1.size() <= engine::formula::kMaxFormulaLength) {
        const auto again = parse(a1, ReferenceStyle::A1, at);
        if (again)
            fuzz::check(again->toR1C1(at) == r1c1, "the A1 text reads back as another formula",
                        a1 + QStringLiteral(" -> ") + again->toR1C1(at));
        else
            fuzz::check(a1.contains(QStringLiteral("#REF!")), "the A1 text of a formula does not parse", a1);
    }

    QByteArray tokens;
    try {
        tokens = formula.toBiff8Tokens(at);
    } catch (const EngineError& e) {
        // Only a formula too long for a file may be refused.
        fuzz::check(e.description().contains(QStringLiteral("long")), "a formula has no file tokens",
                    r1c1 + QStringLiteral(" / ") + e.description());
        return;
    }
    try {
        const auto decoded = Formula::fromBiff8Tokens(tokens, at);
        fuzz::check(decoded->toR1C1(at) == r1c1, "the file tokens read back as another formula",
                    r1c1 + QStringLiteral(" -> ") + decoded->toR1C1(at));
        fuzz::check(decoded->toBiff8Tokens(at) == tokens, "the file tokens are not written the same twice", r1c1);
        const auto first = evaluate(formula, at, r1c1);
        const auto second = evaluate(*decoded, at, r1c1);
        if (first && second)
            fuzz::check(sameValue(*first, *second), "the formula read from its tokens has another value", r1c1);
    } catch (const EngineError& e) {
        fuzz::broken("the file tokens of a formula do not read back", r1c1 + QStringLiteral(" / ") + e.description());
    }
}

void typedText(const QString& text, const QLocale& locale, ReferenceStyle style, CellAddress at) {
    engine::formula::TypedInput typed;
    try {
        typed = engine::formula::parseTypedInput(text, locale);
    } catch (const EngineError&) {
        fuzz::check(text.size() > engine::kMaxTextLength, "a typed text of a cell's length is refused", text);
        return;
    }
    fuzz::check(typed.isFormula == text.startsWith(QLatin1Char('=')), "a formula is told by its =", text);
    if (!typed.isFormula) {
        if (const double* number = std::get_if<double>(&typed.constant))
            fuzz::check(std::isfinite(*number), "a typed constant is infinity or NaN", text);
        return;
    }
    if (const auto formula = parse(text, style, at)) {
        checkRoundTrips(*formula, at);
        evaluate(*formula, at, text);
    }
}

void fileTokens(const QByteArray& tokens, CellAddress at) {
    std::shared_ptr<const Formula> formula;
    try {
        formula = Formula::fromBiff8Tokens(tokens, at);
    } catch (const EngineError&) {
        return;
    }
    checkRoundTrips(*formula, at);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t mode = in.byte();
    const CellAddress at = cellFor(in.byte());
    if (mode & 1) {
        fileTokens(in.restAsBytes(), at);
    } else {
        const ReferenceStyle style = (mode & 2) ? ReferenceStyle::A1 : ReferenceStyle::R1C1;
        typedText(in.restAsText(), fuzz::localeFor(mode >> 2), style, at);
    }
    return 0;
}
