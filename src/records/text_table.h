#pragma once

#include "generator/record_table.h"

#include <QByteArray>
#include <QString>

// Text tables: a text file or the clipboard's text, one row a line, fields split
// at a separator (comma, semicolon or tab) with quoting as in RFC 4180: a field
// in double quotes may hold separators, line breaks and doubled quotes (""), and
// nothing may follow its closing quote but a separator or the line's end. Lines
// end in CR LF, LF or CR; wholly empty lines are left out.
namespace records {

// What is wrong with the input, and where: a line (1-based; 0 for the whole
// input) and a field (1-based; 0 for the whole line).
struct TextRefusal {
    int line = 0;
    int column = 0;
    QString message;
};

// The separators a text table may use, as offered to the user.
inline constexpr char kTextSeparators[] = {',', ';', '\t'};
// A line holds at most as many fields as a sheet has columns.
inline constexpr int kMaxTextFields = 256;

// The text of a file's bytes as UTF-8: UTF-8 as it is (a byte order mark
// dropped), or UTF-16 with a byte order mark (what spreadsheets save as "Unicode
// text") converted. Throws TextRefusal for UTF-16 that is broken, and for bytes
// that are no text (a NUL outside UTF-16), naming the line. Invalid UTF-8 is
// found field by field by readTextTable.
QByteArray textAsUtf8(const QByteArray& bytes);

// The separator the text most likely uses: the first of tab, semicolon and comma
// that splits the first lines into the same number (two or more) of fields;
// otherwise the one that splits most of them; otherwise the comma.
char guessSeparator(const QByteArray& utf8);

// The rows of the text, split at the separator; every field a text cell (or an
// empty one). Throws TextRefusal at the first field that is not valid UTF-8, a
// quote without its end, text after a closing quote, or a line with more than
// kMaxTextFields fields.
generator::RecordTable readTextTable(const QByteArray& utf8, char separator);

// "comma", "semicolon", "tab".
QString separatorName(char separator);

}  // namespace records
