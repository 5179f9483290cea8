#include "engine/sheet_snapshot.h"

#include "engine/detail/engine_state.h"
#include "engine/detail/recalculation.h"
#include "engine/range.h"

namespace engine {

// The snapshot shows formulas with their current results.
SheetSnapshot Range::Snapshot() const {
    detail::checkedView(m_book, m_sheet);
    detail::Recalculator(*m_book).calculateAll();
    return SheetSnapshot(m_book->shareData(m_book), m_sheet, m_area);
}

}  // namespace engine
