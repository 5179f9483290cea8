#include "engine/workbook.h"

#include "engine/detail/engine_state.h"
#include "engine/model/engine_error.h"

namespace engine {

namespace {

constexpr int kPaletteSize = 56;
constexpr int kSheetsOfNewWorkbook = 3;

int checkedPaletteIndex(int index) {
    if (index < 1 || index > kPaletteSize)
        throw EngineError(QStringLiteral("The palette has no colour %1; its colours are 1 to 56.").arg(index));
    return index - 1;
}

}  // namespace

// --- Sheets ---

Sheets::Sheets(std::shared_ptr<detail::WorkbookState> book) : m_book(std::move(book)) {}

int Sheets::Count() const {
    m_book->ensureOpen();
    return static_cast<int>(m_book->data.sheets.size());
}

Worksheet Sheets::Item(int index) const {
    m_book->ensureOpen();
    if (index < 1 || index > static_cast<int>(m_book->data.sheets.size()))
        throw EngineError(QStringLiteral("The workbook has no sheet %1.").arg(index));
    return Worksheet(m_book, m_book->data.sheets[static_cast<std::size_t>(index - 1)].get());
}

// --- Workbook ---

Workbook::Workbook(std::shared_ptr<detail::WorkbookState> book) : m_book(std::move(book)) {}

QString Workbook::Name() const {
    m_book->ensureOpen();
    return m_book->name;
}

QString Workbook::FullName() const {
    m_book->ensureOpen();
    return m_book->path.isEmpty() ? m_book->name : m_book->path;
}

Sheets Workbook::Sheets() const {
    m_book->ensureOpen();
    return engine::Sheets(m_book);
}

Worksheet Workbook::ActiveSheet() const { return Worksheet(m_book, &m_book->activeSheet()); }

std::uint32_t Workbook::Colors(int index) const {
    m_book->ensureOpen();
    return m_book->data.palette[static_cast<std::size_t>(checkedPaletteIndex(index))];
}

void Workbook::SetColors(int index, std::uint32_t colour) const {
    m_book->ensureOpen();
    const int i = checkedPaletteIndex(index);
    if (colour > 0xFFFFFF)
        throw EngineError(QStringLiteral("The colour %1 is not a red, green and blue value.").arg(colour));
    m_book->data.palette[static_cast<std::size_t>(i)] = colour;
}

void Workbook::Close() const {
    m_book->ensureOpen();
    m_book->app->remove(m_book.get());
    m_book->close(QStringLiteral("The workbook has been closed."));
}

const WorkbookData& Workbook::Data() const {
    m_book->ensureOpen();
    return m_book->data;
}

// --- Workbooks ---

Workbooks::Workbooks(std::shared_ptr<detail::AppState> app) : m_app(std::move(app)) {}

int Workbooks::Count() const {
    m_app->ensureRunning();
    return static_cast<int>(m_app->workbooks.size());
}

Workbook Workbooks::Item(int index) const {
    m_app->ensureRunning();
    if (index < 1 || index > static_cast<int>(m_app->workbooks.size()))
        throw EngineError(QStringLiteral("There is no open workbook %1.").arg(index));
    return Workbook(m_app->workbooks[static_cast<std::size_t>(index - 1)]);
}

Workbook Workbooks::Add() const {
    m_app->ensureRunning();
    auto book = std::make_shared<detail::WorkbookState>();
    book->name = QStringLiteral("Book%1").arg(++m_app->booksAdded);
    for (int i = 1; i <= kSheetsOfNewWorkbook; ++i) {
        auto sheet = std::make_unique<SheetData>();
        sheet->name = QStringLiteral("Sheet%1").arg(i);
        book->addSheet(std::move(sheet));
    }
    book->app = m_app.get();
    m_app->workbooks.push_back(book);
    m_app->activate(book);
    return Workbook(book);
}

}  // namespace engine
