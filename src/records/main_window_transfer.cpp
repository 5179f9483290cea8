// The list's way in and out: Import Records... (a text table or a workbook),
// Paste Rows (a spreadsheet's rows from the clipboard), a file dropped on the
// window, each previewed and applied as one undo step by Add Record's rules; and
// Export Records..., the list as a CSV file. Data from outside is checked whole
// before anything changes; whatever fails is said in one box naming the source.
#include "records/html_table.h"
#include "records/main_window_undo_step.h"
#include "records/pending_import.h"
#include "records/record_list_view.h"
#include "records/record_messages.h"
#include "records/records_file.h"
#include "records/select_all_line_edit.h"
#include "records/text_table.h"
#include "shell/atomic_file.h"
#include "shell/dialogs.h"
#include "shell/startup_services.h"

#include <QAction>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

namespace records {
namespace {

const QString kImportFilter = QStringLiteral(
    "Record lists (*.csv *.tsv *.txt *.xlsx *.xlsm *.xls *.ods);;Text tables (*.csv *.tsv *.txt);;"
    "Workbooks (*.xlsx *.xlsm *.xls *.ods);;All files (*)");
const QString kExportFilter = QStringLiteral("CSV files (*.csv)");

// "line 3, field 2: the reason." from a reader's error; the reason alone for a whole file.
QString whereAndWhy(int line, int column, const QString& message) {
    const QString reason = message.endsWith(QLatin1Char('.')) ? message : message + QLatin1Char('.');
    if (line > 0 && column > 0) return QStringLiteral("line %1, field %2: %3").arg(line).arg(column).arg(reason);
    if (line > 0) return QStringLiteral("line %1: %2").arg(line).arg(reason);
    return reason;
}

void sayImportRefused(shell::Dialogs& dialogs, const QString& source, const QString& reason) {
    shell::untrapped([&] { dialogs.showMessage(importRefusedMessage(source, reason), shell::BoxButtons::Ok, shell::BoxIcon::Warning); });
}

QString quoted(const QString& fileName) { return QLatin1Char('"') + fileName + QLatin1Char('"'); }

// The one local file a drag carries; none for anything else.
std::optional<QString> draggedFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1 || !mime->urls().first().isLocalFile()) return std::nullopt;
    return mime->urls().first().toLocalFile();
}

QAction* listAction(const QString& text, QKeySequence::StandardKey key, Qt::ShortcutContext context, QWidget* list) {
    auto* action = new QAction(text, list);
    action->setShortcuts(key);
    action->setShortcutContext(context);
    list->addAction(action);
    return action;
}

}  // namespace

void MainWindow::createTransferActions() {
    // Paste Rows takes Ctrl+V only on the list: in a text field the key pastes text.
    m_importAction = listAction(QStringLiteral("&Import Records\u2026"), QKeySequence::Open, Qt::WindowShortcut, m_recordList);
    m_pasteAction = listAction(QStringLiteral("&Paste Rows"), QKeySequence::Paste, Qt::WidgetShortcut, m_recordList);
    m_exportAction = listAction(QStringLiteral("&Export Records\u2026"), QKeySequence::SaveAs, Qt::WindowShortcut, m_recordList);
    m_recordList->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_importAction, &QAction::triggered, this, &MainWindow::importRecords);
    connect(m_pasteAction, &QAction::triggered, this, &MainWindow::pasteRows);
    connect(m_exportAction, &QAction::triggered, this, &MainWindow::exportRecords);
    setAcceptDrops(true);
}

void MainWindow::importRecords() {
    if (busy()) return;
    QString path;
    shell::untrapped([&] { path = dialogs().openFileName(QStringLiteral("Import Records"), kImportFilter); });
    if (!path.isEmpty()) importFile(path);
}

void MainWindow::importFile(const QString& path) {
    if (busy()) return;
    const QString shown = quoted(QFileInfo(path).fileName());
    std::variant<QByteArray, RecordsFileError> bytes = readRecordsFileBytes(path);
    if (const auto* error = std::get_if<RecordsFileError>(&bytes))
        return sayImportRefused(dialogs(), shown, whereAndWhy(0, 0, error->message));
    std::variant<ImportSource, RecordsFileError> opened = openImportSource(std::get<QByteArray>(bytes), path);
    if (const auto* error = std::get_if<RecordsFileError>(&opened))
        return sayImportRefused(dialogs(), shown, whereAndWhy(error->line, error->column, error->message));
    importFrom(std::get<ImportSource>(std::move(opened)), shown, "Import Records");
}

void MainWindow::pasteRows() {
    if (busy()) return;
    const QString clipboard = QStringLiteral("the clipboard");
    std::optional<ImportSource> source;
    try {
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        if (mime && mime->hasText() && !mime->text().trimmed().isEmpty())
            source = ImportSource::fromText(mime->text());
        else if (mime && mime->hasHtml())
            source = ImportSource::fromTable(readHtmlTable(mime->html()));
    } catch (const TextRefusal& refusal) {
        return sayImportRefused(dialogs(), clipboard, whereAndWhy(refusal.line, refusal.column, refusal.message));
    } catch (const std::exception& failure) {
        return sayImportRefused(dialogs(), clipboard, whereAndWhy(0, 0, shell::describe(failure)));
    }
    if (!source || source->table(0).rows.empty()) {
        shell::untrapped([&] { dialogs().showMessage(kNothingToPasteMessage); });
        return;
    }
    importFrom(std::move(*source), clipboard, "Paste Rows");
}

void MainWindow::importFrom(ImportSource source, const QString& sourceName, const char* commandName) {
    try {
        PendingImport pending(std::move(source), sourceName, m_recordList->rows(), m_percentageEdit->text());
        if (const std::optional<QString> refusal = pending.refusalOfWholeSource())
            return sayImportRefused(dialogs(), sourceName, *refusal);
        if (!dialogs().previewImport(pending) || !pending.canApply()) return;
        applyImport(pending, commandName);
    } catch (const std::exception& failure) {
        sayImportRefused(dialogs(), sourceName, whereAndWhy(0, 0, shell::describe(failure)));
    }
}

// The plan as one change of the list (and the percentage), one undo step. The
// plan was made against the list as it stands and fits it.
void MainWindow::applyImport(const PendingImport& pending, const char* commandName) {
    const UndoStep undoStep(*this, commandName);
    const ImportPlan& plan = pending.plan();
    if (const std::optional<QString> percentage = pending.percentageToSet()) m_percentageEdit->setText(*percentage);
    for (const auto& [position, record] : plan.updated) {
        m_recordList->setTotal(position, record.totalSalesAmount);
        m_recordList->setCommission(position, record.commissionAmount);
    }
    if (!plan.added.isEmpty()) m_recordList->replaceRows(m_recordList->rowCount() + 1, 0, plan.added);
}

void MainWindow::exportRecords() {
    if (busy()) return;
    try {
        const QString path =
            dialogs().saveFileName(QStringLiteral("Export Records"), kExportFilter, QStringLiteral("records.csv"));
        if (path.isEmpty()) return;
        if (shell::fileExists(path) &&
            dialogs().showMessage(shell::overwriteQuestion(path), shell::BoxButtons::YesNo) != shell::BoxAnswer::Yes)
            return;
        const QByteArray csv = recordsCsv(m_recordList->rows());
        shell::writeFileAtomically(path, [&](QIODevice& file) { return file.write(csv) == csv.size(); });
    } catch (const std::exception& failure) {
        shell::untrapped([&] {
            dialogs().showMessage(exportFailedMessage(shell::describe(failure)), shell::BoxButtons::Ok, shell::BoxIcon::Warning);
        });
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!busy() && draggedFile(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const std::optional<QString> path = draggedFile(event->mimeData());
    if (!path || busy()) return;
    event->acceptProposedAction();
    // The preview opens once the drop has ended, so that the dragging program is
    // not kept waiting for it.
    QTimer::singleShot(0, this, [this, file = *path] { importFile(file); });
}

}  // namespace records
