// The preview window's commands: load, the delivered picture and workbook, save,
// back, and closing the window.
#include "preview/preview_window.h"
#include "preview/sheet_canvas.h"
#include "shell/atomic_file.h"
#include "shell/cursor_file.h"
#include "shell/dialogs.h"
#include "shell/error_trap.h"
#include "shell/failure.h"
#include "shell/startup_services.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>

namespace preview {

using shell::Trap;

namespace {

// The statement numbers the error boxes report.
namespace step {
constexpr int kLoadHandCursor = 110;  // the load
constexpr int kCopyWorkbook = 130;    // Save Results To Excel File
}  // namespace step

}  // namespace

// --- Load and delivery ----------------------------------------------------------------

void PreviewWindow::ensureLoaded() {
    if (m_loaded) return;
    m_loaded = true;
    load();
}

void PreviewWindow::load() {
    Trap trap(dialogs(), shell::ErrorLocation::PreviewLoad);
    trap(step::kLoadHandCursor, [&] {
        m_firstActivation = true;
        shell::applyFaceColor(*this);
        setWindowTitle(QString::fromLatin1(shell::kProductName));
        setWindowIcon(QIcon(QStringLiteral(":/quenvale.png")));
        const QString cursorFile = m_context.programFile(QString::fromLatin1(shell::kHandCursorFile));
        if (shell::fileExists(cursorFile)) m_customPointer = shell::loadCursorFile(cursorFile);
    });
}

void PreviewWindow::setSheet(const generator::SheetPicture& picture) {
    ensureLoaded();
    m_canvas->setPicture(picture);
    // Each new picture gets the viewport set up afresh at the next activation.
    m_firstActivation = true;
}

void PreviewWindow::setWorkbookPath(const QString& path) {
    ensureLoaded();
    m_workbookPath = path;
}

void PreviewWindow::showPreview() {
    ensureLoaded();
    const bool wasVisible = isVisible();
    show();
    raise();
    activateWindow();
    // Showing runs the activation; a window already up is activated here.
    if (wasVisible) activate();
    // The keys scroll the sheet from the start.
    m_canvas->setFocus();
}

// --- Save Results To Excel File -------------------------------------------------------

void PreviewWindow::saveResults() {
    Trap trap(dialogs(), shell::ErrorLocation::SaveResults);
    // Cancelled or declined, nothing is copied and the box says "Done."; a failed
    // copy has shown its error box instead.
    const bool completed = trap(step::kCopyWorkbook, [&] {
        const QString path =
            dialogs().saveFileName(QStringLiteral("Save File"), QStringLiteral("Excel Files (*.xls)"), QString());
        if (path.isEmpty()) return;
        const bool exists = shell::fileExists(path);
        if (exists &&
            dialogs().showMessage(shell::overwriteQuestion(path), shell::BoxButtons::YesNo) != shell::BoxAnswer::Yes)
            return;
        copyWorkbook(path, exists);
    });
    if (completed) dialogs().showMessage(QStringLiteral("Done."));
}

// Copies the temporary workbook byte for byte to path. The copy goes to a new
// sibling that then replaces path, so an existing file survives any failure; an
// existing file is replaced only when the user confirmed it.
void PreviewWindow::copyWorkbook(const QString& path, bool replaceConfirmed) const {
    refuseTheShownWorkbook(path);
    if (!replaceConfirmed && shell::fileExists(path))
        throw shell::Failure(QStringLiteral("%1 was created after it was chosen; it is left as it is.").arg(path));
    shell::copyFileAtomically(m_workbookPath, path);
}

void PreviewWindow::refuseTheShownWorkbook(const QString& path) const {
    if (!m_workbookPath.isEmpty() && shell::isSameFile(path, m_workbookPath))
        throw shell::Failure(QStringLiteral("Cannot write %1: it is the temporary workbook the preview shows.").arg(path));
}

// --- < Back ---------------------------------------------------------------------------

void PreviewWindow::goBack() {
    shell::deleteFileQuietly(m_workbookPath);
    if (m_services.showMainWindow) m_services.showMainWindow();
    hide();
    // The sheet went with its workbook: nothing of it can be printed, exported or
    // copied as the result of a later run.
    m_canvas->setPicture(generator::SheetPicture());
    m_workbookPath.clear();
}

// --- Closing --------------------------------------------------------------------------

void PreviewWindow::closeEvent(QCloseEvent* event) {
    bool mayEnd = true;
    shell::untrapped([&] { mayEnd = prepareToClose(); });
    if (!mayEnd) {
        event->ignore();
        return;
    }
    event->accept();
    shell::untrapped([&] { m_services.endProgram(); });
}

bool PreviewWindow::prepareToClose() {
    // The program ends next: the main window's record list is kept first, and a
    // list that cannot be kept may keep the program running, workbook and all.
    if (m_services.storeRecordListBeforeEnd && !m_services.storeRecordListBeforeEnd()) return false;
    shell::deleteFileQuietly(m_workbookPath);
    // Pending events run, and then those they posted.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return true;
}

}  // namespace preview
