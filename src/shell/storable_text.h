#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The characters a text may hold to be written into every file the program
// writes and read back by every reader: XML 1.0 (the .xlsx workbook) carries no
// NUL, no other control character but tab, line feed and carriage return, no
// U+FFFE or U+FFFF and no unpaired surrogate; the noncharacters (U+FDD0 to U+FDEF
// and the last two code points of every plane) are kept out as well, since
// readers may drop or replace them.
namespace shell {

// The position (in UTF-16 units) of the first character a workbook cannot
// carry, or none when every character can be carried.
std::optional<qsizetype> firstUnstorableCharacter(QStringView text);

// The character at a position as messages name it: "U+FFFE (a noncharacter)",
// "U+0007 (a control character)", "U+D800 (half of a surrogate pair)".
QString characterDescription(QStringView text, qsizetype position);

}  // namespace shell
