#pragma once

#include "generator/record_list.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <variant>

// The record list read from a CSV file, for the command line.
//
// The file is UTF-8 (a byte order mark is skipped) with quoting as in RFC 4180:
// fields are separated by commas and lines end in CR LF, LF or CR; a field in
// double quotes may hold commas, line breaks and doubled quotes (""), and nothing
// may follow its closing quote but a comma or the line's end. Wholly empty lines
// are skipped.
//
// A line holds the salesperson's name, the total sales amount and optionally the
// commission, which is accepted and ignored (the sheet computes it). Names are
// kept exactly, blanks included; a total is empty or a number under the main
// window's rules for the locale, and kept as written. The first line is a header,
// and skipped, when its total is not empty and holds no digit, and its third
// field, if any, holds none either ("Name,Total sales,Commission"); a first line
// with a mistyped amount ("Aldo,56O0") is thus refused, not skipped.
//
// Refused, each naming the file, line and column (the field's number, 1 for the
// name): invalid UTF-8; a quoted field without its closing quote (where it opens)
// or with text after it; a line with one field, or with more than three (at its
// fourth, before the rest of the line is read); an empty name; a name or total
// longer than the 32,767 characters a cell holds; a name that records::nameRefusal
// refuses (one with "||SEP1||" or "||SEP2||", or with a character that workbooks
// cannot carry); a name listed twice (names are the list's identity); a total
// that is no number; more than 32,767 records. A file that cannot be read, or is
// larger than 64 MiB, is refused as a whole. Texts quoted in a refusal are cut
// to a readable length.
namespace records {

// What went wrong, and where.
struct RecordsFileError {
    QString file;
    int line = 0;    // 1-based; 0 when the whole file is meant
    int column = 0;  // 1-based field number; 0 when the whole line is meant
    QString message;

    // "file:line:column: message", leaving out the parts that are 0.
    QString text() const;
    friend bool operator==(const RecordsFileError&, const RecordsFileError&) = default;
};

// The records, with an empty percentage, or the first error in the file's order.
using CsvRecords = std::variant<generator::RecordList, RecordsFileError>;

inline constexpr qint64 kMaxCsvFileBytes = 64 * 1024 * 1024;

CsvRecords readCsvRecords(const QString& path, const QLocale& locale = QLocale());

// The same for a file's bytes already read; fileName names them in errors.
CsvRecords parseCsvRecords(const QByteArray& bytes, const QString& fileName, const QLocale& locale = QLocale());

}  // namespace records
