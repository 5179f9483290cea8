#pragma once

#include "engine/model/sheet.h"

#include <unordered_map>

struct lxw_workbook;
struct lxw_format;

namespace engine::xlsx {

// The cell formats of one .xlsx workbook being written, one per interned style:
// font, palette colours as RGB (the format has no palette of its own), solid fill,
// borders, alignment and number format. Formats belong to the workbook.
class XlsxFormats {
public:
    XlsxFormats(lxw_workbook* book, const WorkbookData& data);

    // The format of a style, made on first use. The default style has one too:
    // the file's own default is another font (Calibri 11).
    lxw_format* format(StyleId style);

private:
    lxw_workbook* m_book;
    const WorkbookData& m_data;
    std::unordered_map<StyleId, lxw_format*> m_formats;
};

}  // namespace engine::xlsx
