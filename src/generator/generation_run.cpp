#include "generator/generation_run.h"

#include "engine/application.h"
#include "generator/commission_sheet.h"
#include "generator/engine_session.h"
#include "generator/run_windows.h"
#include "shell/error_trap.h"
#include "shell/startup_services.h"

#include <QDir>

namespace generator {
namespace {

// The statement numbers the error box reports for the run's steps.
namespace step {
constexpr int kStartInstance = 102;
constexpr int kWriteSheet = 124;
constexpr int kTemporaryPath = 154;
constexpr int kSaveWorkbook = 158;
constexpr int kReopenWorkbook = 168;
constexpr int kTakePicture = 174;
constexpr int kHandOverPicture = 184;
}  // namespace step

// A name is drawn again while its file exists; a folder where nothing can be
// created would never give a free name, so the draws are bounded.
constexpr int kMaxNameDraws = 1000;

}  // namespace

SheetPicture takeUsedRangePicture(const engine::Workbook& workbook) {
    const engine::Range used = workbook.ActiveSheet().UsedRange();
    const int lastRow = used.Rows()(used.Rows().Count()).Row();
    const int lastColumn = used.Columns()(used.Columns().Count()).Column();
    if (!(lastRow > 1 && lastColumn > 1)) return {};
    return SheetPicture(used.Snapshot());
}

GenerationRun::GenerationRun(EngineSession& session, shell::Dialogs& dialogs)
    : m_session(session), m_dialogs(dialogs) {}

GenerationRun::GenerationRun(EngineSession& session, shell::Dialogs& dialogs, std::uint32_t nameSeed)
    : m_session(session), m_dialogs(dialogs), m_nameDigits(nameSeed) {}

// Each step holds what goes with it: a run ends at its first failure, so what
// follows a failed statement never runs.
void GenerationRun::run(const RecordSource& records, MainWindowControl& mainWindow, PreviewTarget& preview) {
    // A run that cannot build, save, reopen or picture its workbook whole ends
    // after the box of its first failure: nothing half-built is ever previewed.
    shell::Trap trap(m_dialogs, shell::ErrorLocation::GenerationRun, shell::AfterFailure::EndProcedure);
    buildWorkbook(trap, records);
    const QString path = saveTemporaryWorkbook(trap);
    const SheetPicture picture = pictureUsedRange(trap, path, mainWindow);
    handOverToPreview(trap, path, picture, mainWindow, preview);
    if (trap.ended()) abandon(path, mainWindow);
}

void GenerationRun::abandon(const QString& path, MainWindowControl& mainWindow) {
    shell::untrapped([&] { m_session.release(); });
    m_workbook.reset();
    if (!path.isEmpty()) shell::deleteFileQuietly(path);
    m_temporaryHold = shell::FileHold();
    m_temporaryRegistration = shell::TransientPath();
    m_lastTemporaryWorkbook.clear();
    shell::untrapped([&] { mainWindow.setDefaultPointer(); });
}

void GenerationRun::buildWorkbook(shell::Trap& trap, const RecordSource& records) {
    trap(step::kStartInstance, [&] {
        m_session.start();
        engine::Application& app = m_session.instance();
        m_workbook = app.Workbooks().Add();
        // One sheet, named for what it lists.
        for (int extra = app.Sheets().Count() - 1; extra > 0; --extra) app.Sheets()(2).Delete();
        const engine::Sheets sheets = app.Sheets();
        sheets(sheets.Count()).SetName(QStringLiteral("Inventory List"));
    });
    trap(step::kWriteSheet, [&] {
        engine::Application& app = m_session.instance();
        writeCommissionSheet(app, records);
        app.Sheets()(1).Select();
        app.Cells(1, 2).Select();
    });
}

std::optional<QString> GenerationRun::drawTemporaryPath(shell::Trap& trap) {
    // A fresh name until one is free; the file is created exclusively, so no file
    // or link already standing in the temporary folder is ever written through.
    for (int draw = 1; draw <= kMaxNameDraws && !trap.ended(); ++draw) {
        QString path;
        bool free = false;
        trap(step::kTemporaryPath, [&] {
            QString name = QString::fromLatin1(kTempWorkbookStem);
            for (int digit = 0; digit < kTempWorkbookDigits; ++digit) name += QString::number(m_nameDigits.draw());
            path = shell::joinPath(shell::tempFolder(), name + QStringLiteral(".xls"));
            free = !shell::fileExists(path) && reserveTempFile(path, m_temporaryRegistration);
        });
        if (free) return path;
    }
    return std::nullopt;
}

QString GenerationRun::saveTemporaryWorkbook(shell::Trap& trap) {
    const std::optional<QString> drawn = drawTemporaryPath(trap);
    const QString path = drawn.value_or(QString());
    m_lastTemporaryWorkbook = path;

    const bool saved = trap(step::kSaveWorkbook, [&] {
        // Every name drawn was taken: the folder is at fault, and no file of it is touched.
        if (!drawn)
            throw shell::Failure(QStringLiteral("No free name for the temporary workbook in the folder ") +
                                 QDir::toNativeSeparators(shell::tempFolder()) + QStringLiteral(": all ") +
                                 QString::number(kMaxNameDraws) + QStringLiteral(" names drawn were taken."));
        m_workbook->SaveAs(path, engine::FileFormat::Excel8);
        // Held while the program may still read it, so that no other instance takes
        // it for a leftover.
        m_temporaryHold = shell::FileHold(path);
        m_workbook->Close();
        m_session.instance().Quit();
        m_session.release();
    });
    // The empty file that claimed the name must not pass for a workbook later.
    if (!saved && drawn) releaseTempFile(path);
    return path;
}

SheetPicture GenerationRun::pictureUsedRange(shell::Trap& trap, const QString& path, MainWindowControl& mainWindow) {
    std::unique_ptr<engine::Application> viewer;
    std::optional<engine::Workbook> opened;
    SheetPicture picture;
    trap(step::kReopenWorkbook, [&] {
        viewer = m_session.openInNewInstance(path);
        mainWindow.setBusyPointer();
        const engine::Workbooks books = viewer->Workbooks();
        opened = books(books.Count());
    });
    // The picture keeps what it shows: closing the workbook and quitting the viewer
    // leave it whole.
    trap(step::kTakePicture, [&] {
        picture = takeUsedRangePicture(*opened);
        opened->Close();
        viewer->Quit();
    });
    return picture;
}

void GenerationRun::handOverToPreview(shell::Trap& trap, const QString& path, const SheetPicture& picture,
                                      MainWindowControl& mainWindow, PreviewTarget& preview) {
    trap(step::kHandOverPicture, [&] {
        mainWindow.setDefaultPointer();
        if (picture.isNull()) throw shell::Failure(QStringLiteral("No picture of the sheet was taken."));
        preview.setSheet(picture);
        preview.setWorkbookPath(path);
        preview.showPreview();
        mainWindow.hideMainWindow();
    });
}

}  // namespace generator
