// The commands of the picture's context menu, which take the sheet out of the
// program: print, PDF, the workbook as .xlsx, and the picture on the clipboard.
#include "generator/sheet_printing.h"
#include "generator/workbook_output.h"
#include "preview/preview_window.h"
#include "preview/sheet_canvas.h"
#include "shell/dialogs.h"
#include "shell/error_trap.h"
#include "shell/failure.h"
#include "shell/startup_services.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>

namespace preview {

using shell::Trap;

namespace {

QString withSuffix(const QString& path, const QString& suffix) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + QLatin1Char('.') + suffix;
}

// The statement numbers the error boxes report.
namespace step {
constexpr int kPrint = 104;        // Print…
constexpr int kWriteFile = 106;    // Export PDF…, Save as Excel Workbook (.xlsx)…
constexpr int kCopyPicture = 100;  // Copy Picture
}  // namespace step

// The wait pointer over the whole program while a long command writes or prints,
// until the command ends, failed or not (before any message box shows).
class WaitingPointer {
public:
    WaitingPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitingPointer() { QGuiApplication::restoreOverrideCursor(); }
    WaitingPointer(const WaitingPointer&) = delete;
    WaitingPointer& operator=(const WaitingPointer&) = delete;
};

}  // namespace

const generator::SheetPicture& PreviewWindow::deliveredSheet() const {
    const generator::SheetPicture& sheet = m_canvas->picture();
    if (sheet.isNull()) throw shell::Failure(QStringLiteral("No sheet has been generated yet."));
    return sheet;
}

// --- Print… ---------------------------------------------------------------------------

void PreviewWindow::printSheet() {
    Trap trap(dialogs(), shell::ErrorLocation::PrintSheet);
    trap(step::kPrint, [&] {
        // The dialog shows the sheet's own page; the user may change it there.
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(QString::fromLatin1(shell::kProductName));
        printer.setPageLayout(deliveredSheet().printSetup().pageLayout());
        if (!dialogs().choosePrinter(printer)) return;
        const WaitingPointer waiting;
        generator::printSheet(deliveredSheet(), printer);
    });
}

// --- Export PDF…, Save as Excel Workbook (.xlsx)… -------------------------------------

void PreviewWindow::exportPdf() {
    writeChosenFile(shell::ErrorLocation::ExportPdf, QStringLiteral("Export PDF"), QStringLiteral("PDF Files (*.pdf)"),
                    QStringLiteral("pdf"),
                    [&](const QString& path) { generator::exportSheetPdf(deliveredSheet(), path); });
}

void PreviewWindow::saveAsExcelWorkbook() {
    writeChosenFile(shell::ErrorLocation::SaveAsExcelWorkbook, QStringLiteral("Save as Excel Workbook"),
                    QStringLiteral("Excel Workbook (*.xlsx)"), QStringLiteral("xlsx"), [&](const QString& path) {
                        generator::saveWorkbookAs(*m_services.engine, m_workbookPath, path,
                                                  generator::WorkbookFormat::Xlsx);
                    });
}

void PreviewWindow::writeChosenFile(shell::ErrorLocation location, const QString& title, const QString& filter,
                                    const QString& suffix, const std::function<void(const QString& path)>& write) {
    Trap trap(dialogs(), location);
    bool written = false;
    trap(step::kWriteFile, [&] {
        const QString path = withSuffix(dialogs().saveFileName(title, filter, QString()), suffix);
        if (path.isEmpty()) return;
        if (shell::fileExists(path) &&
            dialogs().showMessage(shell::overwriteQuestion(path), shell::BoxButtons::YesNo) != shell::BoxAnswer::Yes)
            return;
        refuseTheShownWorkbook(path);
        const WaitingPointer waiting;
        write(path);
        written = true;
    });
    if (written) dialogs().showMessage(QStringLiteral("Done."));
}

// --- Copy Picture ---------------------------------------------------------------------

void PreviewWindow::copyPicture() {
    Trap trap(dialogs(), shell::ErrorLocation::CopyPicture);
    trap(step::kCopyPicture, [&] {
        const QImage picture = deliveredSheet().image(1);
        if (picture.isNull()) throw shell::Failure(QStringLiteral("The picture of the sheet could not be made."));
        QGuiApplication::clipboard()->setImage(picture);
    });
}

}  // namespace preview
