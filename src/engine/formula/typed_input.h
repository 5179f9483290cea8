#pragma once

#include "engine/model/cell_types.h"

#include <QLocale>
#include <QString>

namespace engine::formula {

// What a text typed into a cell stands for.
struct TypedInput {
    CellValue constant;          // the value, unless the text is a formula
    bool isFormula = false;      // the text starts with "="; parse it with Formula::parse
    QString impliedNumberFormat; // the format a cell without one takes, or empty
};

// Reads a text exactly as a spreadsheet reads what is typed into a cell, in this
// order:
//   "=..."                       a formula (left to the caller to parse);
//   ""                           empty;
//   "'..."                       the text after the apostrophe, whatever it is;
//   "#DIV/0!" and the others     that error value;
//   "TRUE", "false"              a logical value;
//   a number                     by the locale number rules of the entry fields
//                                (shell::parseLocaleNumber), so every total they
//                                accept becomes a number;
//   "10%", "10.5%"               0.1 with format "0%", 0.105 with "0.00%";
//   "$5,600.00", "-$5", "5 €"    a number with a currency sign ("$" or the
//                                locale's), format "$#,##0.00" or "$#,##0";
//   "2024-03-01", "3/1/2024"     a date (ISO or the locale's short date) as its
//                                day number, with a date format;
//   anything else                text, as typed.
// Blanks around a number, logical value, error or date are ignored. Fails with
// EngineError for a text longer than a cell holds.
// Throws EngineError for a text longer than a cell holds.
void requireCellText(const QString& text);

TypedInput parseTypedInput(const QString& text, const QLocale& locale = QLocale());

}  // namespace engine::formula
