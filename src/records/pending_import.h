#pragma once

#include "records/record_import.h"
#include "records/records_file.h"
#include "records/text_table.h"
#include "shell/import_preview.h"

#include <QLocale>
#include <optional>

namespace records {

// An import that has been read but not applied: the source, the choices the
// preview offers (sheet, separator, columns, header, percentage) and what they
// would do to the list as it stands. It changes nothing itself; the main window
// applies plan() once the preview is accepted.
class PendingImport final : public shell::ImportPreview {
public:
    PendingImport(ImportSource source, QString sourceName, QList<CommissionRecord> listed, QString percentage,
                  QLocale locale = QLocale());

    // Why nothing could be imported from the first table when it is the only one
    // (no rows, or no column of names and one of numbers); none when the preview
    // has something to show.
    std::optional<QString> refusalOfWholeSource() const;

    const ImportPlan& plan() const { return m_plan; }
    // The percentage the imported rows were worked out with, when the import sets it.
    std::optional<QString> percentageToSet() const;

    // shell::ImportPreview
    QString sourceName() const override { return m_sourceName; }
    QStringList sheetNames() const override;
    int sheet() const override { return m_sheet; }
    void setSheet(int index) override;
    bool hasSeparator() const override { return m_source.isText(); }
    char separator() const override { return m_textRefusal ? m_refusedSeparator : m_source.separator(); }
    void setSeparator(char separator) override;
    QStringList columnTitles() const override;
    int nameColumn() const override { return m_columns.name; }
    void setNameColumn(int column) override;
    int totalColumn() const override { return m_columns.total; }
    void setTotalColumn(int column) override;
    bool firstRowIsHeader() const override { return m_columns.firstRowIsHeader; }
    void setFirstRowIsHeader(bool header) override;
    std::optional<QString> offeredPercentage() const override { return table().percentage; }
    bool takesPercentage() const override { return m_takesPercentage; }
    void setTakesPercentage(bool take) override;
    QList<Row> firstRows() const override;
    QString outcome() const override;
    QStringList refusals() const override;
    bool canApply() const override;

private:
    const generator::RecordTable& table() const { return m_source.table(m_sheet); }
    // The columns guessed for the table in use, and the plan of the choices.
    void guess();
    void replan();

    ImportSource m_source;
    QString m_sourceName;
    QList<CommissionRecord> m_listed;
    QString m_percentage;
    QLocale m_locale;
    int m_sheet = 0;
    ImportColumns m_columns;
    bool m_columnsFound = false;
    bool m_takesPercentage = false;
    std::optional<TextRefusal> m_textRefusal;  // the separator chosen breaks the text
    char m_refusedSeparator = ',';
    ImportPlan m_plan;
};

}  // namespace records
