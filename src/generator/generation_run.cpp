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
constexpr int kScreenUpdatingOff = 104;
constexpr int kAlertsOff = 106;
constexpr int kEventsOff = 108;
constexpr int kCancelKeyOff = 110;
constexpr int kWaitCursor = 112;
constexpr int kAddWorkbook = 116;
constexpr int kCountExtraSheets = 118;
constexpr int kDeleteExtraSheet = 120;
constexpr int kNameSheet = 122;
constexpr int kWriteSheet = 124;
constexpr int kSelectFirstSheet = 126;
constexpr int kSelectB1 = 128;
constexpr int kHidden = 130;
constexpr int kDefaultCursor = 132;
constexpr int kScreenUpdatingOn = 134;
constexpr int kAlertsOn = 136;
constexpr int kEventsOn = 138;
constexpr int kCancelKeyOn = 140;
constexpr int kNameStem = 142;
constexpr int kDrawDigit = 148;
constexpr int kAppendDigit = 150;
constexpr int kJoinPath = 154;
constexpr int kTestNameTaken = 156;
constexpr int kSaveWorkbook = 158;
constexpr int kAlertsOffBeforeClose = 160;
constexpr int kCloseWorkbook = 162;
constexpr int kQuitInstance = 164;
constexpr int kReleaseInstance = 166;
constexpr int kReopenWorkbook = 168;
constexpr int kBusyPointer = 170;
constexpr int kFindReopenedWorkbook = 172;
constexpr int kTakePicture = 174;
constexpr int kViewerAlertsOff = 176;
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
constexpr int kTestSize = 106;
constexpr int kTakeSnapshot = 110;
}  // namespace pictureStep

// A name is drawn again while its file exists; a folder where nothing can be
// created would never give a free name, so the draws are bounded.
constexpr int kMaxNameDraws = 1000;

// The object a statement works on; a statement on an object that an earlier
// failed statement never set fails as the object model would.
template <typename T>
T& objectSet(T* p) {
    if (!p) throw shell::Failure(QStringLiteral("Object variable or With block variable not set"));
    return *p;
}
template <typename T>
T& objectSet(std::optional<T>& p) {
    return objectSet(p ? &*p : nullptr);
}

}  // namespace

SheetPicture takeUsedRangePicture(const engine::Workbook& workbook) {
    shell::Trap trap(shell::ErrorLocation::UsedRangePicture);
    std::optional<engine::Worksheet> sheet;
    std::optional<engine::Range> used;
    int lastRow = 0;
    int lastColumn = 0;
    trap(pictureStep::kActiveSheet, [&] { sheet = workbook.ActiveSheet(); });
    trap(pictureStep::kLastRow, [&] {
        used = objectSet(sheet).UsedRange();
        lastRow = used->Rows()(used->Rows().Count()).Row();
    });
    trap(pictureStep::kLastColumn, [&] { lastColumn = objectSet(used).Columns()(used->Columns().Count()).Column(); });
    if (!trap.condition(pictureStep::kTestSize, [&] { return lastRow > 1 && lastColumn > 1; })) return {};
    SheetPicture picture;
    trap(pictureStep::kTakeSnapshot, [&] { picture = SheetPicture(objectSet(used).Snapshot()); });
    return picture;
}

GenerationRun::GenerationRun(EngineSession& session) : m_session(session) {}

GenerationRun::GenerationRun(EngineSession& session, std::uint32_t nameSeed)
    : m_session(session), m_nameDigits(nameSeed) {}

void GenerationRun::run(const RecordSource& records, MainWindowControl& mainWindow, PreviewTarget& preview) {
    shell::Trap trap(shell::ErrorLocation::GenerationRun);
    buildWorkbook(trap, records);
    const QString path = saveTemporaryWorkbook(trap);
    const SheetPicture picture = pictureUsedRange(trap, path, mainWindow);
    handOverToPreview(trap, path, picture, mainWindow, preview);
}

void GenerationRun::buildWorkbook(shell::Trap& trap, const RecordSource& records) {
    auto app = [this]() -> engine::Application& { return m_session.instance(); };
    trap(step::kStartInstance, [&] { m_session.start(); });
    trap(step::kScreenUpdatingOff, [&] { app().SetScreenUpdating(false); });
    trap(step::kAlertsOff, [&] { app().SetDisplayAlerts(false); });
    trap(step::kEventsOff, [&] { app().SetEnableEvents(false); });
    trap(step::kCancelKeyOff, [&] { app().SetEnableCancelKey(engine::CancelKey::Disabled); });
    trap(step::kWaitCursor, [&] { app().SetCursor(engine::Cursor::Wait); });
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
    trap(step::kSelectB1, [&] { app().Range(QStringLiteral("B1")).Select(); });
    trap(step::kHidden, [&] { app().SetVisible(false); });
    trap(step::kDefaultCursor, [&] { app().SetCursor(engine::Cursor::Default); });
    trap(step::kScreenUpdatingOn, [&] { app().SetScreenUpdating(true); });
    trap(step::kAlertsOn, [&] { app().SetDisplayAlerts(true); });
    trap(step::kEventsOn, [&] { app().SetEnableEvents(true); });
    trap(step::kCancelKeyOn, [&] { app().SetEnableCancelKey(engine::CancelKey::Interrupt); });
}

std::optional<QString> GenerationRun::drawTemporaryPath(shell::Trap& trap) {
    // A fresh name until one is free; the file is created exclusively, so no file
    // or link already standing in the temporary folder is ever written through.
    QString name;
    QString path;
    for (int draw = 1; draw <= kMaxNameDraws; ++draw) {
        trap(step::kNameStem, [&] { name = QString::fromLatin1(kTempWorkbookStem); });
        for (int digit = 0; digit < kTempWorkbookDigits; ++digit) {
            int drawn = 0;
            trap(step::kDrawDigit, [&] { drawn = m_nameDigits.Draw(); });
            trap(step::kAppendDigit, [&] { name += QString::number(drawn); });
        }
        trap(step::kJoinPath, [&] { path = shell::JoinPath(shell::TempFolder(), name + QStringLiteral(".xls")); });
        const bool taken =
            trap.condition(step::kTestNameTaken, [&] {
                return shell::FileExists(path) || !ReserveTempFile(path, m_temporaryRegistration);
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
                                 QDir::toNativeSeparators(shell::TempFolder()) + QStringLiteral(": all ") +
                                 QString::number(kMaxNameDraws) + QStringLiteral(" names drawn were taken."));
        engine::Application& app = m_session.instance();
        objectSet(m_workbook).SaveAs(path, m_session.saveFormatFor(&app));
    });
    // The empty file that claimed the name must not pass for a workbook later.
    if (!saved && drawn) ReleaseTempFile(path);
    // Held while the program may still read it, so that no other instance takes it
    // for a leftover.
    if (saved) m_temporaryHold = shell::FileHold(path);
    trap(step::kAlertsOffBeforeClose, [&] { m_session.instance().SetDisplayAlerts(false); });
    trap(step::kCloseWorkbook, [&] { objectSet(m_workbook).Close(); });
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
        const engine::Workbooks books = objectSet(viewer.get()).Workbooks();
        opened = books(books.Count());
    });
    trap(step::kTakePicture, [&] { picture = takeUsedRangePicture(objectSet(opened)); });
    trap(step::kViewerAlertsOff, [&] { objectSet(viewer.get()).SetDisplayAlerts(false); });
    // The picture keeps what it shows: closing the workbook and quitting the viewer
    // leave it whole.
    trap(step::kCloseReopenedWorkbook, [&] { objectSet(opened).Close(); });
    trap(step::kQuitViewer, [&] { objectSet(viewer.get()).Quit(); });
    return picture;
}

void GenerationRun::handOverToPreview(shell::Trap& trap, const QString& path, const SheetPicture& picture,
                                      MainWindowControl& mainWindow, PreviewTarget& preview) {
    trap(step::kDefaultPointer, [&] { mainWindow.setDefaultPointer(); });
    trap(step::kHandOverPicture, [&] {
        if (picture.isNull()) throw shell::Failure(QStringLiteral("No picture of the sheet was taken."));
        preview.setSheet(picture);
    });
    trap(step::kHandOverPath, [&] { preview.setWorkbookPath(path); });
    trap(step::kShowPreview, [&] { preview.showPreview(); });
    trap(step::kHideMainWindow, [&] { mainWindow.hideMainWindow(); });
}

}  // namespace generator
