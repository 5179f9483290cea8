// The .xls reader: any bytes, read from memory or from a file, give a workbook
// whose cells all lie on the sheet and whose formulas can be written out again,
// or fail with a description; reading from a file and from memory agree.
#include "fuzz_support.h"
#include "engine/formula/formula.h"
#include "engine/model/engine_error.h"
#include "engine/model/sheet.h"
#include "engine/xls/xls_reader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>

namespace {

using engine::WorkbookData;

// Bytes go through a real file as well, as the generation run reopens its workbook.
std::optional<WorkbookData> readThroughFile(const QByteArray& bytes, bool& failed) {
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("input.xls"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fuzz::broken("cannot write the temporary file", path);
    file.close();
    try {
        failed = false;
        return engine::xls::readWorkbook(path);
    } catch (const engine::EngineError& e) {
        fuzz::check(e.description().contains(QStringLiteral("input.xls")), "a file failure does not name the file",
                    e.description());
        failed = true;
        return std::nullopt;
    }
}

void checkWorkbook(const WorkbookData& book) {
    fuzz::check(!book.sheets.empty(), "a workbook without sheets was read");
    fuzz::check(book.activeSheet >= 0 && book.activeSheet < int(book.sheets.size()), "the active sheet is not a sheet",
                QString::number(book.activeSheet));
    for (const auto& sheet : book.sheets) {
        fuzz::check(sheet != nullptr, "a sheet is missing");
        for (const auto& [at, cell] : sheet->cells) {
            fuzz::check(at.row >= 0 && at.row < engine::kMaxRows && at.col >= 0 && at.col < engine::kMaxColumns,
                        "a cell lies off the sheet", QStringLiteral("%1,%2").arg(at.row).arg(at.col));
            if (const QString* text = std::get_if<QString>(&cell.value))
                fuzz::check(text->size() <= engine::kMaxTextLength, "a cell holds a text longer than a cell can");
            if (cell.formula) {
                cell.formula->toR1C1(at);
                cell.formula->toA1(at);
                cell.formula->toBiff8Tokens(at);
            }
        }
        for (const engine::CellArea& merge : sheet->merges)
            fuzz::check(merge.firstRow <= merge.lastRow && merge.firstCol <= merge.lastCol && merge.firstRow >= 0 &&
                            merge.lastRow < engine::kMaxRows && merge.firstCol >= 0 && merge.lastCol < engine::kMaxColumns,
                        "a merged area is not an area of the sheet");
        for (const auto& [col, width] : sheet->columnWidths)
            fuzz::check(std::isfinite(width) && width >= 0, "a column width is not a size", QString::number(width));
        for (const auto& [row, height] : sheet->rowHeights)
            fuzz::check(std::isfinite(height) && height >= 0, "a row height is not a size", QString::number(height));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    std::optional<WorkbookData> fromMemory;
    try {
        fromMemory = engine::xls::readWorkbookBytes(bytes);
    } catch (const engine::EngineError&) {
    }
    bool fileFailed = false;
    const std::optional<WorkbookData> fromFile = readThroughFile(bytes, fileFailed);
    fuzz::check(fromMemory.has_value() == !fileFailed, "reading from a file and from memory disagree");
    if (fromMemory) {
        checkWorkbook(*fromMemory);
        fuzz::check(fromFile->sheets.size() == fromMemory->sheets.size(), "file and memory give other sheets");
    }
    return 0;
}
