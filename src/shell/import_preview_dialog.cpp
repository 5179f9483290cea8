#include "shell/import_preview_dialog.h"

#include "shell/error_trap.h"
#include "shell/import_preview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace shell {
namespace {

constexpr int kMaxRefusalsListed = 1000;

struct SeparatorChoice {
    char separator;
    const char* name;
};
constexpr SeparatorChoice kSeparators[] = {{',', "Comma"}, {';', "Semicolon"}, {'\t', "Tab"}};

QComboBox* choice(const QString& accessibleName, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setAccessibleName(accessibleName);
    return box;
}

void setItems(QComboBox* box, const QStringList& items, int current) {
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(current);
}

}  // namespace

ImportPreviewDialog::ImportPreviewDialog(ImportPreview& preview, QWidget* parent)
    : QDialog(parent), m_preview(preview) {
    setWindowTitle(QStringLiteral("Import Records"));
    setAccessibleName(windowTitle());
    buildControls();
    refresh();
    resize(640, 520);
}

void ImportPreviewDialog::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* source = new QLabel(QStringLiteral("From: %1").arg(m_preview.sourceName()), this);
    source->setTextFormat(Qt::PlainText);
    layout->addWidget(source);

    auto* form = new QFormLayout;
    m_sheet = choice(QStringLiteral("Sheet"), this);
    m_separator = choice(QStringLiteral("Separator"), this);
    for (const SeparatorChoice& s : kSeparators) m_separator->addItem(QString::fromLatin1(s.name));
    m_nameColumn = choice(QStringLiteral("Name column"), this);
    m_totalColumn = choice(QStringLiteral("Total column"), this);
    m_header = new QCheckBox(QStringLiteral("&First row is a header"), this);
    m_header->setAccessibleName(QStringLiteral("First row is a header"));
    m_percentage = new QCheckBox(this);
    m_percentage->setAccessibleName(QStringLiteral("Take the workbook's commission percentage"));
    // A choice that does not apply is not shown.
    if (!m_preview.sheetNames().isEmpty()) form->addRow(QStringLiteral("S&heet:"), m_sheet);
    else m_sheet->hide();
    if (m_preview.hasSeparator()) form->addRow(QStringLiteral("&Separator:"), m_separator);
    else m_separator->hide();
    form->addRow(QStringLiteral("&Name column:"), m_nameColumn);
    form->addRow(QStringLiteral("&Total column:"), m_totalColumn);
    form->addRow(m_header);
    if (const auto percentage = m_preview.offeredPercentage()) {
        m_percentage->setText(QStringLiteral("Set the commission &percentage to %1 %").arg(*percentage));
        form->addRow(m_percentage);
    } else {
        m_percentage->hide();
    }
    layout->addLayout(form);

    m_rows = new QTableWidget(this);
    m_rows->setAccessibleName(QStringLiteral("First rows as read"));
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rows->setSelectionMode(QAbstractItemView::NoSelection);
    layout->addWidget(m_rows, 2);

    m_outcome = new QLabel(this);
    m_outcome->setTextFormat(Qt::PlainText);
    m_outcome->setWordWrap(true);
    m_outcome->setAccessibleName(QStringLiteral("What OK will do"));
    QFont bold = m_outcome->font();
    bold.setBold(true);
    m_outcome->setFont(bold);
    layout->addWidget(m_outcome);

    m_refusals = new QListWidget(this);
    m_refusals->setAccessibleName(QStringLiteral("Refused lines"));
    layout->addWidget(m_refusals, 1);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(m_sheet, &QComboBox::currentIndexChanged, this, [this](int i) { change([&] { m_preview.setSheet(i); }); });
    connect(m_separator, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0) change([&] { m_preview.setSeparator(kSeparators[i].separator); });
    });
    connect(m_nameColumn, &QComboBox::currentIndexChanged, this,
            [this](int i) { change([&] { m_preview.setNameColumn(i); }); });
    connect(m_totalColumn, &QComboBox::currentIndexChanged, this,
            [this](int i) { change([&] { m_preview.setTotalColumn(i); }); });
    connect(m_header, &QCheckBox::toggled, this, [this](bool on) { change([&] { m_preview.setFirstRowIsHeader(on); }); });
    connect(m_percentage, &QCheckBox::toggled, this, [this](bool on) { change([&] { m_preview.setTakesPercentage(on); }); });
}

template <typename F>
void ImportPreviewDialog::change(F&& f) {
    if (m_refreshing) return;
    untrapped(std::forward<F>(f));
    refresh();
}

void ImportPreviewDialog::refresh() {
    m_refreshing = true;
    setItems(m_sheet, m_preview.sheetNames(), m_preview.sheet());
    m_sheet->setEnabled(m_sheet->count() > 1);
    for (int i = 0; i < int(std::size(kSeparators)); ++i)
        if (kSeparators[i].separator == m_preview.separator()) {
            const QSignalBlocker blocker(m_separator);
            m_separator->setCurrentIndex(i);
        }
    const QStringList columns = m_preview.columnTitles();
    setItems(m_nameColumn, columns, m_preview.nameColumn());
    setItems(m_totalColumn, columns, m_preview.totalColumn());
    {
        const QSignalBlocker blockHeader(m_header), blockPercentage(m_percentage);
        m_header->setChecked(m_preview.firstRowIsHeader());
        m_percentage->setChecked(m_preview.takesPercentage());
    }

    const QList<ImportPreview::Row> rows = m_preview.firstRows();
    m_rows->clear();
    m_rows->setColumnCount(int(columns.size()));
    m_rows->setRowCount(int(rows.size()));
    m_rows->setHorizontalHeaderLabels(columns);
    for (int r = 0; r < rows.size(); ++r) {
        m_rows->setVerticalHeaderItem(r, new QTableWidgetItem(QString::number(rows[r].line)));
        for (int c = 0; c < rows[r].cells.size() && c < columns.size(); ++c)
            m_rows->setItem(r, c, new QTableWidgetItem(rows[r].cells[c]));
    }

    m_outcome->setText(m_preview.outcome());
    const QStringList refusals = m_preview.refusals();
    m_refusals->clear();
    m_refusals->addItems(refusals.mid(0, kMaxRefusalsListed));
    if (refusals.size() > kMaxRefusalsListed)
        m_refusals->addItem(QStringLiteral("... and %1 more").arg(refusals.size() - kMaxRefusalsListed));
    m_refusals->setVisible(!refusals.isEmpty());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(m_preview.canApply());
    m_refreshing = false;
}

}  // namespace shell
