#pragma once

#include "engine/worksheet.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace engine {

struct WorkbookData;
namespace detail {
struct AppState;
struct WorkbookState;
}

// The formats Workbook.SaveAs writes: Excel8 the .xls workbook format,
// OpenXmlWorkbook the .xlsx one.
enum class FileFormat { Excel8, OpenXmlWorkbook };

// The worksheets of a workbook, numbered from 1.
class Sheets {
public:
    explicit Sheets(std::shared_ptr<detail::WorkbookState> book);
    int Count() const;
    Worksheet Item(int index) const;
    Worksheet operator()(int index) const { return Item(index); }

private:
    std::shared_ptr<detail::WorkbookState> m_book;
};

// An open workbook: a light handle, cheap to copy. After Close, or after its
// application quit, every member fails.
class Workbook {
public:
    explicit Workbook(std::shared_ptr<detail::WorkbookState> book);

    QString Name() const;      // "Book1", or the file name once saved or opened
    QString FullName() const;  // the path once saved or opened, else the name
    engine::Sheets Sheets() const;
    Worksheet ActiveSheet() const;

    // Palette entry i (1..56) as red + 256 * green + 65536 * blue.
    std::uint32_t Colors(int index) const;
    void SetColors(int index, std::uint32_t colour) const;

    // Brings every formula's cached result up to date.
    void Calculate() const;
    // Writes the workbook to path in the format given. Formulas carry their current
    // results. An .xlsx file is always on the disk before SaveAs returns, whatever
    // the application's DurableSaves says.
    void SaveAs(const QString& path, FileFormat fileFormat) const;
    // Closes the workbook without saving; it leaves its application's list.
    void Close() const;

    // The workbook's data, with formula results as last calculated.
    const WorkbookData& Data() const;

private:
    std::shared_ptr<detail::WorkbookState> m_book;
};

// The open workbooks of an application, numbered from 1 in the order opened.
class Workbooks {
public:
    explicit Workbooks(std::shared_ptr<detail::AppState> app);
    int Count() const;
    Workbook Item(int index) const;
    Workbook operator()(int index) const { return Item(index); }
    // A new workbook of three empty sheets; it becomes active and last.
    Workbook Add() const;
    // Reads an .xls file; the workbook becomes active and last.
    Workbook Open(const QString& path) const;

private:
    std::shared_ptr<detail::AppState> m_app;
};

}  // namespace engine
