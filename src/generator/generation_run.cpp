#include "generator/generation_run.h"

#include "generator/commission_sheet.h"
#include "generator/connection.h"
#include "engine/clipboard.h"
#include "generator/run_windows.h"
#include "generator/snapshot_file.h"
#include "generator/temp_workbook_name.h"
#include "shell/error_trap.h"
#include "shell/startup_services.h"

#include <optional>

namespace generator {
namespace {

// The workbook the run adds and saves; it keeps referring to the closed workbook
// until the next run replaces it.
std::optional<engine::Workbook> ReportWorkbook;
QString g_lastTemporaryWorkbook;
NameDigits g_nameDigits;

// A name is drawn again while its file exists; a folder where nothing can be
// created would never give a free name, so the draws are bounded.
constexpr int kMaxNameDraws = 1000;
constexpr int kMaxClipboardReads = 1000;

// The object a statement works on; a statement on an object that an earlier
// failed statement never set fails as the object model would.
template <typename T>
T& objectSet(std::unique_ptr<T>& p) {
    if (!p) throw shell::Failure(QStringLiteral("Object variable or With block variable not set"));
    return *p;
}

template <typename T>
T& objectSet(std::optional<T>& p) {
    if (!p) throw shell::Failure(QStringLiteral("Object variable or With block variable not set"));
    return *p;
}

engine::Application& excel() { return objectSet(ExcelApp); }

QString snapshotPath() { return shell::JoinPath(shell::TempFolder(), QString::fromLatin1(kSnapshotFileName)); }

}  // namespace

QString LastTemporaryWorkbook() { return g_lastTemporaryWorkbook; }

void SeedTemporaryNames(std::uint32_t seed) { g_nameDigits = NameDigits(seed); }

QImage GetClipboardPicture(int /*format*/) {
    QImage picture;
    for (int read = 0; read < kMaxClipboardReads; ++read) {
        const bool ok = shell::untrapped([&] { picture = engine::Clipboard::picture(); });
        if (ok && !picture.isNull()) break;
    }
    return picture;
}

void saveCellsActivesheet(const engine::Workbook& workbook, const QString& path) {
    shell::Trap trap(shell::ErrorLocation::UsedRangePicture);
    // A picture or file left over from an earlier run must never stand in for this one.
    engine::Clipboard::clear();
    shell::DeleteFileQuiet(path);

    std::optional<engine::Worksheet> sheet;
    int lastRow = 0;
    int lastColumn = 0;
    trap(100, [&] { sheet = workbook.ActiveSheet(); });
    trap(102, [&] {
        const engine::Range used = objectSet(sheet).UsedRange();
        lastRow = used.Rows()(used.Rows().Count()).Row();
    });
    trap(104, [&] {
        const engine::Range used = objectSet(sheet).UsedRange();
        lastColumn = used.Columns()(used.Columns().Count()).Column();
    });
    if (!trap.condition(106, [&] { return lastRow > 1 && lastColumn > 1; })) return;
    trap(110, [&] { objectSet(sheet).UsedRange().CopyPicture(); });
    trap(112, [&] { SavePicture(GetClipboardPicture(0), path); });
    // The picture now lives in the file; the engine's clipboard need not hold it on.
    engine::Clipboard::clear();
}

void GenerateReport0(const RecordSource& records, MainWindowControl& form1, PreviewTarget& form2) {
    shell::Trap trap(shell::ErrorLocation::GenerationRun);

    trap(102, [&] { StartExcel(); });
    trap(104, [&] { excel().SetScreenUpdating(false); });
    trap(106, [&] { excel().SetDisplayAlerts(false); });
    trap(108, [&] { excel().SetEnableEvents(false); });
    trap(110, [&] { excel().SetEnableCancelKey(engine::CancelKey::Disabled); });
    trap(112, [&] { excel().SetCursor(engine::Cursor::Wait); });
    trap(116, [&] { ReportWorkbook = excel().Workbooks().Add(); });
    int extraSheets = 0;
    trap(118, [&] {
        const int count = excel().Sheets().Count();
        extraSheets = count == 1 ? 0 : count - 1;
    });
    for (int k = 0; k < extraSheets; ++k) trap(120, [&] { excel().Sheets()(2).Delete(); });
    trap(122, [&] {
        const engine::Sheets sheets = excel().Sheets();
        sheets(sheets.Count()).SetName(QStringLiteral("Inventory List"));
    });
    trap(124, [&] { BuildCommissionSheet(records); });
    trap(126, [&] { excel().Sheets()(1).Select(); });
    trap(128, [&] { excel().Range(QStringLiteral("B1")).Select(); });
    trap(130, [&] { excel().SetVisible(false); });
    trap(132, [&] { excel().SetCursor(engine::Cursor::Default); });
    trap(134, [&] { excel().SetScreenUpdating(true); });
    trap(136, [&] { excel().SetDisplayAlerts(true); });
    trap(138, [&] { excel().SetEnableEvents(true); });
    trap(140, [&] { excel().SetEnableCancelKey(engine::CancelKey::Interrupt); });

    // A fresh name until one is free; the file is created exclusively, so no file
    // or link already standing in the temporary folder is ever written through.
    QString name;
    QString path;
    for (int draw = 1;; ++draw) {
        trap(142, [&] { name = QString::fromLatin1(kTempWorkbookStem); });
        for (int digit = 0; digit < kTempWorkbookDigits; ++digit) {
            int drawn = 0;
            trap(148, [&] { drawn = g_nameDigits.Draw(); });
            trap(150, [&] { name += QString::number(drawn); });
        }
        trap(154, [&] { path = shell::JoinPath(shell::TempFolder(), name + QStringLiteral(".xls")); });
        const bool taken =
            trap.condition(156, [&] { return shell::FileExists(path) || !ReserveTempFile(path); });
        if (!taken || draw >= kMaxNameDraws) break;
    }
    g_lastTemporaryWorkbook = path;

    const bool saved =
        trap(158, [&] { objectSet(ReportWorkbook).SaveAs(path, SaveFormatForVersion(ExcelApp.get())); });
    // The empty file that claimed the name must not pass for a workbook later.
    if (!saved) ReleaseTempFile(path);
    trap(160, [&] { excel().SetDisplayAlerts(false); });
    trap(162, [&] { objectSet(ReportWorkbook).Close(); });
    trap(164, [&] { excel().Quit(); });
    trap(166, [&] { ReleaseExcel(); });

    std::unique_ptr<engine::Application> viewer;
    std::optional<engine::Workbook> opened;
    trap(168, [&] { viewer = OpenWorkbookInNewExcel(path); });
    trap(170, [&] { form1.setBusyPointer(); });
    trap(172, [&] {
        const engine::Workbooks books = objectSet(viewer).Workbooks();
        opened = books(books.Count());
    });
    trap(174, [&] { saveCellsActivesheet(objectSet(opened), snapshotPath()); });
    trap(176, [&] { objectSet(viewer).SetDisplayAlerts(false); });
    trap(178, [&] { objectSet(opened).Close(); });
    trap(180, [&] { objectSet(viewer).Quit(); });
    // Nothing uses the reopened workbook any more: its memory goes before the picture is loaded.
    opened.reset();
    viewer.reset();
    trap(182, [&] { form1.setDefaultPointer(); });
    trap(184, [&] { form2.setPicture(LoadPicture(snapshotPath())); });
    trap(186, [&] { form2.setWorkbookPath(path); });
    trap(188, [&] { form2.showPreview(); });
    trap(190, [&] { form1.hideMainWindow(); });
    trap(192, [&] { shell::DeleteFileQuiet(snapshotPath()); });
}

}  // namespace generator
