#include "engine/clipboard.h"
#include "engine/detail/handle_access.h"
#include "engine/detail/recalculation.h"
#include "engine/model/engine_error.h"
#include "engine/range.h"
#include "engine/render/range_picture.h"

namespace engine {

// The picture shows formulas with their current results.
void Range::CopyPicture() const {
    detail::checkedView(m_book, m_sheet);
    detail::Recalculator(*m_book).calculateAll();
    const QImage picture = render::renderRange(m_book->data, *m_sheet, m_area);
    if (picture.isNull()) throw EngineError(QStringLiteral("No picture of the range could be made."));
    Clipboard::setPicture(picture);
}

}  // namespace engine
