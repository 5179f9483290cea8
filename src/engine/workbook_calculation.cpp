#include "engine/detail/recalculation.h"
#include "engine/workbook.h"

namespace engine {

void Workbook::Calculate() const {
    m_book->ensureOpen();
    detail::Recalculator(*m_book).calculateAll();
}

}  // namespace engine
