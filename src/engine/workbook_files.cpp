// Saving workbooks to .xls and .xlsx files, and opening .xls files again.
#include "engine/detail/checked_enum.h"
#include "engine/detail/engine_state.h"
#include "engine/detail/recalculation.h"
#include "engine/model/engine_error.h"
#include "engine/workbook.h"
#include "engine/xls/xls_reader.h"
#include "engine/xls/xls_writer.h"
#include "engine/xlsx/xlsx_writer.h"

#include <QFileInfo>

namespace engine {

void Workbook::SaveAs(const QString& path, FileFormat fileFormat) const {
    m_book->ensureOpen();
    detail::checkedEnum(fileFormat, FileFormat::OpenXmlWorkbook, "file format");
    if (path.isEmpty()) throw EngineError(QStringLiteral("A workbook needs a file name to be saved."));
    detail::Recalculator(*m_book).calculateAll();  // the file carries current results
    if (fileFormat == FileFormat::OpenXmlWorkbook)
        xlsx::writeWorkbook(m_book->data, path);
    else
        xls::writeWorkbook(m_book->data, path,
                           m_book->app->durableSaves ? shell::Durability::Synced : shell::Durability::WithinRun);
    m_book->path = QFileInfo(path).absoluteFilePath();
    m_book->name = QFileInfo(path).fileName();
}

Workbook Workbooks::Open(const QString& path) const {
    m_app->ensureRunning();
    WorkbookData data = xls::readWorkbook(path);
    if (data.sheets.empty()) throw EngineError(QStringLiteral("The workbook \"%1\" has no sheet.").arg(path));
    auto book = std::make_shared<detail::WorkbookState>();
    book->data = std::move(data);
    book->styleChanger.reset(book->data.styles);
    for (const auto& sheet : book->data.sheets) book->views.push_back(detail::SheetView{sheet.get()});
    const int sheetCount = static_cast<int>(book->data.sheets.size());
    if (book->data.activeSheet < 0 || book->data.activeSheet >= sheetCount) book->data.activeSheet = 0;
    // Formulas read from the file recalculate from their cells at the first read.
    book->needsCalculation = true;
    book->path = QFileInfo(path).absoluteFilePath();
    book->name = QFileInfo(path).fileName();
    book->app = m_app.get();
    m_app->workbooks.push_back(book);
    m_app->activate(book);
    return Workbook(book);
}

}  // namespace engine
