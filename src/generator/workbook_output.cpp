#include "generator/workbook_output.h"

#include "engine/application.h"
#include "generator/engine_session.h"
#include "shell/atomic_file.h"

namespace generator {

WorkbookFormat workbookFormatOf(const QString& path) {
    return path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive) ? WorkbookFormat::Xlsx : WorkbookFormat::Xls;
}

void saveWorkbookAs(const EngineSession& session, const QString& workbook, const QString& target,
                    WorkbookFormat format) {
    if (format == WorkbookFormat::Xls) {
        shell::copyFileAtomically(workbook, target);
        return;
    }
    const std::unique_ptr<engine::Application> viewer = session.openInNewInstance(workbook);
    const engine::Workbooks books = viewer->Workbooks();
    books(books.Count()).SaveAs(target, engine::FileFormat::OpenXmlWorkbook);
    viewer->Quit();
}

}  // namespace generator
