#include "records/select_all_line_edit.h"

#include <QFocusEvent>
#include <QPointer>
#include <QTimer>

namespace records {

void SelectAllLineEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // A click that brought the focus places the caret after this event; selecting
    // once the event has settled keeps the whole text selected.
    QPointer<SelectAllLineEdit> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self && self->hasFocus()) self->selectAllFromStart();
    });
}

void SelectAllLineEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) emit lostFocus();
}

void SelectAllLineEdit::selectAllFromStart() {
    const int length = static_cast<int>(text().size());
    setSelection(length, -length);
}

}  // namespace records
