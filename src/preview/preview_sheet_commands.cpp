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
#include <memory>

namespace preview {

using shell::Trap;

namespace {

QString withSuffix(const QString& path, const QString& suffix) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + QLatin1Char('.') + suffix;
}

void confirmDone() { shell::showMessage(QStringLiteral("Done.")); }

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

std::optional<QString> PreviewWindow::chooseTarget(Trap& trap, const QString& title, const QString& filter,
                                                   const QString& suffix) {
    QString path;
    trap(100, [&] { path = withSuffix(shell::dialogs().saveFileName(title, filter, QString()), suffix); });
    if (path.isEmpty()) return std::nullopt;
    bool write = true;
    if (trap.condition(102, [&] { return shell::fileExists(path); })) {
        write = false;
        trap(104, [&] { write = shell::showMessage(overwriteQuestion(path), shell::BoxButtons::YesNo) == shell::BoxAnswer::Yes; });
    }
    return write ? std::optional(path) : std::nullopt;
}

// --- Print… ---------------------------------------------------------------------------

void PreviewWindow::printSheet() {
    Trap trap(shell::ErrorLocation::PrintSheet);
    // The dialog shows the sheet's own page; the user may change it there.
    std::unique_ptr<QPrinter> printer;
    const bool prepared = trap(100, [&] {
        auto made = std::make_unique<QPrinter>(QPrinter::HighResolution);
        made->setDocName(QString::fromLatin1(shell::kProductName));
        made->setPageLayout(deliveredSheet().printSetup().pageLayout());
        printer = std::move(made);
    });
    if (!prepared) return;
    bool chosen = false;
    trap(102, [&] { chosen = shell::dialogs().choosePrinter(*printer); });
    if (chosen) {
        trap(104, [&] {
            const WaitingPointer waiting;
            generator::printSheet(deliveredSheet(), *printer);
        });
    }
}

// --- Export PDF… ----------------------------------------------------------------------

void PreviewWindow::exportPdf() {
    Trap trap(shell::ErrorLocation::ExportPdf);
    const std::optional<QString> path =
        chooseTarget(trap, QStringLiteral("Export PDF"), QStringLiteral("PDF Files (*.pdf)"), QStringLiteral("pdf"));
    if (path && trap(106, [&] {
            refuseTheShownWorkbook(*path);
            const WaitingPointer waiting;
            generator::exportSheetPdf(deliveredSheet(), *path);
        }))
        trap(108, confirmDone);
}

// --- Save as Excel Workbook (.xlsx)… --------------------------------------------------

void PreviewWindow::saveAsExcelWorkbook() {
    Trap trap(shell::ErrorLocation::SaveAsExcelWorkbook);
    const std::optional<QString> path = chooseTarget(trap, QStringLiteral("Save as Excel Workbook"),
                                                     QStringLiteral("Excel Workbook (*.xlsx)"), QStringLiteral("xlsx"));
    if (path && trap(106, [&] {
            refuseTheShownWorkbook(*path);
            const WaitingPointer waiting;
            generator::saveWorkbookAs(*m_services.engine, m_workbookPath, *path, generator::WorkbookFormat::Xlsx);
        }))
        trap(108, confirmDone);
}

// --- Copy Picture ---------------------------------------------------------------------

void PreviewWindow::copyPicture() {
    Trap trap(shell::ErrorLocation::CopyPicture);
    QImage picture;
    const bool made = trap(100, [&] {
        picture = deliveredSheet().image(1);
        if (picture.isNull()) throw shell::Failure(QStringLiteral("The picture of the sheet could not be made."));
    });
    if (made) trap(102, [&] { QGuiApplication::clipboard()->setImage(picture); });
}

}  // namespace preview
