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
constexpr int kAddWorkbook = 116;
constexpr int kCountExtraSheets = 118;
constexpr int kDeleteExtraSheet = 120;
constexpr int kNameSheet = 122;
constexpr int kWriteSheet = 124;
constexpr int kSelectFirstSheet = 126;
constexpr int kSelectB1 = 128;
constexpr int kNameStem = 142;
constexpr int kDrawDigit = 148;
constexpr int kAppendDigit = 150;
constexpr int kJoinPath = 154;
constexpr int kTestNameTaken = 156;
constexpr int kSaveWorkbook = 158;
constexpr int kCloseWorkbook = 162;
constexpr int kQuitInstance = 164;
constexpr int kReleaseInstance = 166;
constexpr int kReopenWorkbook = 168;
constexpr int kBusyPointer = 170;
constexpr int kFindReopenedWorkbook = 172;
constexpr int kTakePicture = 174;
constexpr int kCloseReopenedWorkbook = 178;
constexpr int kQuitViewer = 180;
constexpr int kDefaultPointer = 182;
constexpr int kHandOverPicture = 184;
constexpr int kHandOverPath = 186;
constexpr int kShowPreview = 188;
constexpr int kHideMainWindow = 190;
}  // namespace step

// The statement numbers of the used-range picture.
namespace pictureStep {
constexpr int kActiveSheet = 100;
constexpr int kLastRow = 102;
constexpr int kLastColumn = 104;
constexpr int kTakeSnapshot = 110;
}  // namespace pictureStep

// A name is drawn again while its file exists; a folder where nothing can be
// created would never give a free name, so the draws are bounded.
constexpr int kMaxNameDraws = 1000;

}  // namespace

SheetPicture takeUsedRangePicture(const engine::Workbook& workbook) {
    shell::Trap trap(shell::ErrorLocation::UsedRangePicture, shell::AfterFailure::EndProcedure);
    std::optional<engine::Worksheet> sheet;
    std::optional<engine::Range> used;
    int lastRow = 0;
    int lastColumn = 0;
    trap(pictureStep::kActiveSheet, [&] { sheet = workbook.ActiveSheet(); });
    trap(pictureStep::kLastRow, [&] {
        used = sheet->UsedRange();
        lastRow = used->Rows()(used->Rows().Count()).Row();
    });
    trap(pictureStep::kLastColumn, [&] { lastColumn = used->Columns()(used->Columns().Count()).Column(); });
    if (trap.ended()) throw shell::AlreadyReported{};
    if (!(lastRow > 1 && lastColumn > 1)) return {};
    SheetPicture picture;
    trap(pictureStep::kTakeSnapshot, [&] { picture = SheetPicture(used->Snapshot()); });
    if (trap.ended()) throw shell::AlreadyReported{};
    return picture;
}

GenerationRun::GenerationRun(EngineSession& session) : m_session(session) {}

GenerationRun::GenerationRun(EngineSession& session, std::uint32_t nameSeed)
    : m_session(session), m_nameDigits(nameSeed) {}

void GenerationRun::run(const RecordSource& records, MainWindowControl& mainWindow, PreviewTarget& preview) {
    // A run that cannot build, save, reopen or picture its workbook whole ends
    // after the box of its first failure: nothing half-built is ever previewed.
    shell::Trap trap(shell::ErrorLocation::GenerationRun, shell::AfterFailure::EndProcedure);
    buildWorkbook(trap, records);
    const QString path = saveTemporaryWorkbook(trap);
    const SheetPicture picture = pictureUsedRange(trap, path, mainWindow);
    if (!trap.ended()) handOverToPreview(trap, path, picture, mainWindow, preview);
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
    auto app = [this]() -> engine::Application& { return m_session.instance(); };
    trap(step::kStartInstance, [&] { m_session.start(); });
    trap(step::kAddWorkbook, [&] { m_workbook = app().Workbooks().Add(); });
    int extraSheets = 0;
    trap(step::kCountExtraSheets, [&] {
        const int count = app().Sheets().Count();
        extraSheets = count == 1 ? 0 : count - 1;
    });
    for (int k = 0; k < extraSheets; ++k) trap(step::kDeleteExtraSheet, [&] { app().Sheets()(2).Delete(); });
    trap(step::kNameSheet, [&] {
        const engine::Sheets sheets = app().Sheets();
        sheets(sheets.Count()).SetName(QStringLiteral("Inventory List"));
    });
    trap(step::kWriteSheet, [&] { writeCommissionSheet(app(), records); });
    trap(step::kSelectFirstSheet, [&] { app().Sheets()(1).Select(); });
    trap(step::kSelectB1, [&] { app().Cells(1, 2).Select(); });
}

std::optional<QString> GenerationRun::drawTemporaryPath(shell::Trap& trap) {
    // A fresh name until one is free; the file is created exclusively, so no file
    // or link already standing in the temporary folder is ever written through.
    QString name;
    QString path;
    for (int draw = 1; draw <= kMaxNameDraws && !trap.ended(); ++draw) {
        trap(step::kNameStem, [&] { name = QString::fromLatin1(kTempWorkbookStem); });
        for (int digit = 0; digit < kTempWorkbookDigits; ++digit) {
            int drawn = 0;
            trap(step::kDrawDigit, [&] { drawn = m_nameDigits.draw(); });
            trap(step::kAppendDigit, [&] { name += QString::number(drawn); });
        }
        trap(step::kJoinPath, [&] { path = shell::joinPath(shell::tempFolder(), name + QStringLiteral(".xls")); });
        const bool taken =
            trap.condition(step::kTestNameTaken, [&] {
                return shell::fileExists(path) || !reserveTempFile(path, m_temporaryRegistration);
            });
        if (!taken) return path;
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
    });
    // The empty file that claimed the name must not pass for a workbook later.
    if (!saved && drawn) releaseTempFile(path);
    // Held while the program may still read it, so that no other instance takes it
    // for a leftover.
    if (saved) m_temporaryHold = shell::FileHold(path);
    trap(step::kCloseWorkbook, [&] { m_workbook->Close(); });
    trap(step::kQuitInstance, [&] { m_session.instance().Quit(); });
    trap(step::kReleaseInstance, [&] { m_session.release(); });
    return path;
}

SheetPicture GenerationRun::pictureUsedRange(shell::Trap& trap, const QString& path, MainWindowControl& mainWindow) {
    std::unique_ptr<engine::Application> viewer;
    std::optional<engine::Workbook> opened;
    SheetPicture picture;
    trap(step::kReopenWorkbook, [&] { viewer = m_session.openInNewInstance(path); });
    trap(step::kBusyPointer, [&] { mainWindow.setBusyPointer(); });
    trap(step::kFindReopenedWorkbook, [&] {
        const engine::Workbooks books = viewer->Workbooks();
        opened = books(books.Count());
    });
    trap(step::kTakePicture, [&] { picture = takeUsedRangePicture(*opened); });
    // The picture keeps what it shows: closing the workbook and quitting the viewer
    // leave it whole.
    trap(step::kCloseReopenedWorkbook, [&] { opened->Close(); });
    trap(step::kQuitViewer, [&] { viewer->Quit(); });
    return picture;
}

void GenerationRun::handOverToPreview(shell::Trap& trap, const QString& path, const SheetPicture& picture,
                                      MainWindowControl& mainWindow, PreviewTarget& preview) {
    trap(step::kDefaultPointer, [&] { mainWindow.setDefaultPointer(); });
    if (!trap(step::kHandOverPicture, [&] {
            if (picture.isNull()) throw shell::Failure(QStringLiteral("No picture of the sheet was taken."));
            preview.setSheet(picture);
        }))
        return;
    trap(step::kHandOverPath, [&] { preview.setWorkbookPath(path); });
    trap(step::kShowPreview, [&] { preview.showPreview(); });
    trap(step::kHideMainWindow, [&] { mainWindow.hideMainWindow(); });
}

}  // namespace generator
