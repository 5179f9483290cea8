#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QTableWidget;

namespace shell {

class ImportPreview;

// The preview of an import, as spreadsheet applications show a text import: the
// first rows as read; the sheet, the separator, the name and total columns and
// whether the first row is a header, each changeable; a commission workbook's
// percentage to take or leave; and what OK will do, with every refused line.
// Each change shows its outcome at once. Every control has a mnemonic and an
// accessible name; OK is enabled only when it would change the list.
class ImportPreviewDialog : public QDialog {
    Q_OBJECT
public:
    explicit ImportPreviewDialog(ImportPreview& preview, QWidget* parent = nullptr);

    QComboBox* sheetChoice() const { return m_sheet; }
    QComboBox* separatorChoice() const { return m_separator; }
    QComboBox* nameColumnChoice() const { return m_nameColumn; }
    QComboBox* totalColumnChoice() const { return m_totalColumn; }
    QCheckBox* headerChoice() const { return m_header; }
    QCheckBox* percentageChoice() const { return m_percentage; }
    QTableWidget* firstRows() const { return m_rows; }
    QLabel* outcome() const { return m_outcome; }
    QListWidget* refusals() const { return m_refusals; }
    QDialogButtonBox* buttons() const { return m_buttons; }

private:
    void buildControls();
    // Shows the preview's state in every control.
    void refresh();
    // Runs a change of a choice, then shows its outcome.
    template <typename F>
    void change(F&& f);

    ImportPreview& m_preview;
    bool m_refreshing = false;
    QComboBox* m_sheet = nullptr;
    QComboBox* m_separator = nullptr;
    QComboBox* m_nameColumn = nullptr;
    QComboBox* m_totalColumn = nullptr;
    QCheckBox* m_header = nullptr;
    QCheckBox* m_percentage = nullptr;
    QTableWidget* m_rows = nullptr;
    QLabel* m_outcome = nullptr;
    QListWidget* m_refusals = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

}  // namespace shell
