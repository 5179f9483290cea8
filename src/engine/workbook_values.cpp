#include "engine/workbook_values.h"

#include "engine/model/engine_error.h"
#include "engine/ods/ods_reader.h"
#include "engine/xls/compound_file_format.h"
#include "engine/xls/xls_reader.h"
#include "engine/xlsx/xlsx_reader.h"
#include "engine/zip/zip_archive.h"

namespace engine {

WorkbookKind workbookKindOf(const QByteArray& bytes) {
    if (bytes.startsWith(QByteArrayView(reinterpret_cast<const char*>(xls::cfb::kSignature), sizeof xls::cfb::kSignature))) return WorkbookKind::Xls;
    if (ods::looksLikeOds(bytes)) return WorkbookKind::Ods;
    if (!zip::ZipArchive::looksLikeZip(bytes)) return WorkbookKind::None;
    // Other zip archives are told apart from .xlsx by their parts, once opened.
    return WorkbookKind::Xlsx;
}

WorkbookData readWorkbookValues(const QByteArray& bytes) {
    switch (workbookKindOf(bytes)) {
    case WorkbookKind::Xls:
        return xls::readWorkbookBytes(bytes);
    case WorkbookKind::Ods:
        return ods::readWorkbookValues(bytes);
    case WorkbookKind::Xlsx: {
        const zip::ZipArchive archive(bytes);
        if (!archive.contains(QStringLiteral("[Content_Types].xml"))) {
            if (archive.contains(QStringLiteral("content.xml")))
                throw EngineError(QStringLiteral("the file is an OpenDocument file but no spreadsheet"));
            throw EngineError(QStringLiteral("the file is a zip archive but no workbook"));
        }
        if (archive.contains(QStringLiteral("xl/workbook.bin")))
            throw EngineError(QStringLiteral("binary workbooks (.xlsb) cannot be read; save it as .xlsx"));
        return xlsx::readWorkbookValues(bytes);
    }
    case WorkbookKind::None:
        break;
    }
    throw EngineError(QStringLiteral("the file is no workbook of a kind this program reads"));
}

}  // namespace engine
