// The preview window's commands: load, the delivered picture and workbook, save,
// back, and closing the window.
#include "preview/preview_window.h"
#include "preview/sheet_canvas.h"
#include "shell/atomic_file.h"
#include "shell/cursor_file.h"
#include "shell/dialogs.h"
#include "shell/failure.h"
#include "shell/startup_services.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <optional>

namespace preview {

using shell::Trap;

// --- Load and delivery ----------------------------------------------------------------

void PreviewWindow::ensureLoaded() {
    if (m_loaded) return;
    m_loaded = true;
    load();
}

void PreviewWindow::load() {
    Trap trap(shell::ErrorLocation::PreviewLoad);
    trap(100, [&] { m_firstActivation = true; });
    trap(102, [&] { shell::applyFaceColor(this); });
    trap(104, [&] {
        setWindowTitle(QString::fromLatin1(shell::kProductName));
        setWindowIcon(QIcon(QStringLiteral(":/quenvale.png")));
    });
    if (trap.condition(
            108, [&] { return shell::fileExists(shell::programFile(QString::fromLatin1(shell::kHandCursorFile))); }))
        trap(110, [&] {
            m_customPointer = shell::loadCursorFile(shell::programFile(QString::fromLatin1(shell::kHandCursorFile)));
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
    Trap trap(shell::ErrorLocation::SaveResults);
    std::optional<shell::BoxAnswer> answer;  // none until asked
    QString fileName;
    QString title;
    QString filter;
    QString chosen;
    QString path;
    bool replaceConfirmed = false;

    trap(106, [&] { fileName = QString(); });
    trap(108, [&] { title = QStringLiteral("Save File"); });
    trap(110, [&] { filter = QStringLiteral("Excel Files (*.xls)"); });
    trap(112, [&] { chosen = shell::dialogs().saveFileName(title, filter, fileName); });
    trap(114, [&] { path = chosen; });
    if (!trap.condition(116, [&] { return path.isEmpty(); })) {
        if (trap.condition(118, [&] { return shell::fileExists(path); })) {
            trap(120, [&] {
                answer = shell::showMessage(overwriteQuestion(path), shell::BoxButtons::YesNo);
            });
            if (trap.condition(122, [&] { return answer == shell::BoxAnswer::Yes; }))
                trap(124, [&] { replaceConfirmed = true; });
        } else {
            trap(126, [&] { answer = shell::BoxAnswer::Yes; });
        }
    }
    // A failed copy has shown its error box; "Done." would tell the user otherwise.
    bool copyFailed = false;
    if (trap.condition(128, [&] { return answer == shell::BoxAnswer::Yes; }))
        copyFailed = !trap(130, [&] { copyWorkbook(path, replaceConfirmed); });
    if (!copyFailed) trap(132, [&] { shell::showMessage(QStringLiteral("Done.")); });
}

QString PreviewWindow::overwriteQuestion(const QString& path) { return shell::overwriteQuestion(path); }

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
    Trap trap(shell::ErrorLocation::GoBack);
    trap(102, [&] { shell::deleteFileQuietly(m_workbookPath); });
    trap(104, [&] {
        if (m_services.showMainWindow) m_services.showMainWindow();
    });
    trap(106, [&] { hide(); });
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
    Trap trap(shell::ErrorLocation::PreviewClose);
    // The program ends next: the main window's record list is kept first, and a
    // list that cannot be kept may keep the program running, workbook and all.
    bool mayEnd = true;
    trap(106, [&] {
        if (m_services.storeRecordListBeforeEnd) mayEnd = m_services.storeRecordListBeforeEnd();
    });
    if (!mayEnd) return false;
    trap(100, [&] { shell::deleteFileQuietly(m_workbookPath); });
    trap(102, [&] { QCoreApplication::processEvents(); });
    trap(104, [&] { QCoreApplication::processEvents(); });
    return true;
}

}  // namespace preview
