#pragma once

#include <QLineEdit>

namespace records {

// A single-line text field that selects its whole text, caret at the start, each
// time it gains the focus, whatever brought the focus (key, click or program).
class SelectAllLineEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    // The focus left the field for another control of the same window (not for
    // another window, a menu or a message box).
    void lostFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void selectAllFromStart();
};

}  // namespace records
