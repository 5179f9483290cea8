#pragma once

#include <QString>

namespace shell {

// Every trapped procedure of the program. The error box names each by a fixed
// location text (errorLocationText), which users quote when they report a failure.
enum class ErrorLocation {
    MainWindowLoad,
    MainWindowClose,
    StartCreatingTemplate,
    DeleteSelectedRecord,
    GenerationRun,
    PreviewRedraw,
    PreviewLoad,
    SaveResults,
    PrintSheet,
    ExportPdf,
    SaveAsExcelWorkbook,
    CopyPicture,
};

// The location text the error box shows for a procedure: a fixed prefix, the
// procedure's name as users know it from earlier versions, and a space.
const QString& errorLocationText(ErrorLocation location);

}  // namespace shell
