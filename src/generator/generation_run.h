#pragma once

#include "engine/workbook.h"
#include "generator/sheet_picture.h"
#include "generator/temp_workbook_name.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace shell {
class Dialogs;
class Trap;
}  // namespace shell

namespace generator {

class EngineSession;
class MainWindowControl;
class PreviewTarget;
class RecordSource;

// The generation run: builds the commission workbook in a new engine instance,
// saves it under a fresh temporary name, reopens it in a second instance to take
// the picture of its used range (a snapshot the preview paints from as it shows
// it), and hands picture and path to the preview window, which replaces the main
// window on screen. A failure is reported through the dialogs with the run's
// statement number and ends the run: no preview, the temporary workbook removed.
class GenerationRun {
public:
    GenerationRun(EngineSession& session, shell::Dialogs& dialogs);
    // Temporary names drawn from a fixed seed, for repeatable tests.
    GenerationRun(EngineSession& session, shell::Dialogs& dialogs, std::uint32_t nameSeed);

    void run(const RecordSource& records, MainWindowControl& mainWindow, PreviewTarget& preview);

    // The temporary workbook the last run saved (empty before any run).
    const QString& lastTemporaryWorkbook() const { return m_lastTemporaryWorkbook; }

private:
    void buildWorkbook(shell::Trap& trap, const RecordSource& records);
    QString saveTemporaryWorkbook(shell::Trap& trap);
    // A free temporary path claimed for the run, or none when every name drawn was taken.
    std::optional<QString> drawTemporaryPath(shell::Trap& trap);
    SheetPicture pictureUsedRange(shell::Trap& trap, const QString& path, MainWindowControl& mainWindow);
    // Ends a failed run: the instance dropped, the temporary workbook removed.
    void abandon(const QString& path, MainWindowControl& mainWindow);
    void handOverToPreview(shell::Trap& trap, const QString& path, const SheetPicture& picture,
                           MainWindowControl& mainWindow, PreviewTarget& preview);

    EngineSession& m_session;
    shell::Dialogs& m_dialogs;
    // The workbook the run adds and saves; it keeps referring to the closed
    // workbook until the next run replaces it.
    std::optional<engine::Workbook> m_workbook;
    QString m_lastTemporaryWorkbook;
    // The last temporary workbook, removed should the program be interrupted, and
    // held against other instances' sweeps of leftovers.
    shell::TransientPath m_temporaryRegistration;
    shell::FileHold m_temporaryHold;
    NameDigits m_nameDigits;
};

// The picture of the used range of the workbook's active sheet, with the
// separators of the default locale; a null picture when the used range ends in row
// 1 or column 1.
SheetPicture takeUsedRangePicture(const engine::Workbook& workbook);

}  // namespace generator
