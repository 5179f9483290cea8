#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace shell {

// What an import's preview shows, and the choices it offers: the records' import
// implements it; the preview dialog (Qt's in the program, a scripted one in
// tests) shows it and changes the choices, and each change is shown at once.
class ImportPreview {
public:
    virtual ~ImportPreview() = default;

    // Where the rows come from: a file's name, or "the clipboard".
    virtual QString sourceName() const = 0;

    // A workbook's sheets (empty for a text) and the one read.
    virtual QStringList sheetNames() const = 0;
    virtual int sheet() const = 0;
    virtual void setSheet(int index) = 0;

    // A text's separator: ',', ';' or '\t'.
    virtual bool hasSeparator() const = 0;
    virtual char separator() const = 0;
    virtual void setSeparator(char separator) = 0;

    // The columns to choose from ("A", "B: Total" for a sheet; "1", "2: Total" for
    // a text), and the ones chosen for the names and the totals (0-based).
    virtual QStringList columnTitles() const = 0;
    virtual int nameColumn() const = 0;
    virtual void setNameColumn(int column) = 0;
    virtual int totalColumn() const = 0;
    virtual void setTotalColumn(int column) = 0;
    virtual bool firstRowIsHeader() const = 0;
    virtual void setFirstRowIsHeader(bool header) = 0;

    // A commission workbook's percentage, and whether the import takes it.
    virtual std::optional<QString> offeredPercentage() const = 0;
    virtual bool takesPercentage() const = 0;
    virtual void setTakesPercentage(bool take) = 0;

    // The first rows as read, each with its line (or sheet row) number.
    struct Row {
        int line = 0;
        QStringList cells;
    };
    virtual QList<Row> firstRows() const = 0;

    // What OK will do ("3 rows added, 1 row of the same name updated, 2 lines
    // refused"), or why it can do nothing; each refused line with its number and
    // reason; and whether OK does anything.
    virtual QString outcome() const = 0;
    virtual QStringList refusals() const = 0;
    virtual bool canApply() const = 0;
};

}  // namespace shell
