#pragma once

#include "engine/formula/eval_context.h"
#include "engine/model/cell_store.h"
#include "engine/formula/reference.h"
#include "engine/model/cell_types.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

namespace engine::formula {

struct Node;

// A parsed formula. Immutable and position-independent: relative references are
// stored as offsets, so every member takes the cell `at` (0-based) that holds the
// formula. One tree serves evaluation, both text styles and the file's tokens.
class Formula {
public:
    // Reads a formula text with its leading "=" ("=RC[-1]*R[-3]C[-2]", "=C7*B4").
    // Fails with EngineError on a syntax error, an unknown function, a wrong
    // argument count or a reference outside the sheet as seen from `at`.
    static FormulaPtr parse(const QString& text, ReferenceStyle style, CellAddress at);

    // Reads the tokens of a FORMULA record back. Fails with EngineError on anything
    // it cannot take, and never reads beyond `tokens`.
    static FormulaPtr fromBiff8Tokens(const QByteArray& tokens, CellAddress at);

    ~Formula();
    Formula(const Formula&) = delete;
    Formula& operator=(const Formula&) = delete;

    // The R1C1 text the formula was read from, as it was written; empty for a
    // formula read from A1 text or from a file's tokens. (R1C1 text means the same
    // wherever the formula stands, so it is kept once for every cell.)
    const QString& writtenR1C1() const { return m_writtenR1C1; }

    // Canonical texts: "=RC[-1]*R[-3]C[-2]", "=C7*B4". A reference that falls off
    // the sheet as seen from `at` reads "#REF!" in A1 style.
    QString toR1C1(CellAddress at) const;
    QString toA1(CellAddress at) const;

    // The formula's value in cell `at`; every cell it needs comes from `ctx`.
    // A result that is a reference to an empty cell is 0, as in a spreadsheet.
    CellValue evaluate(CellAddress at, EvalContext& ctx) const;

    // Every cell or area the formula refers to (its dependencies), normalised;
    // references that fall off the sheet are left out.
    void forEachReference(CellAddress at, const std::function<void(const CellArea&)>& visit) const;

    // The tokens of a FORMULA record for the formula in cell `at`.
    QByteArray toBiff8Tokens(CellAddress at) const;

    // Made by the factories above only: only they can pass a Made.
    class Made {
        Made() = default;
        friend class Formula;
    };
    Formula(Made, std::unique_ptr<const Node> root, QString writtenR1C1);

private:
    std::unique_ptr<const Node> m_root;
    QString m_writtenR1C1;
};

}  // namespace engine::formula
