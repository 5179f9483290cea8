#pragma once

#include <QLineEdit>

namespace records {

// A single-line text field that selects its whole text, caret at the start, each
// time it gains the focus, whatever brought the focus (key, click or program).
class SelectAllLineEdit : public QLineEdit {
    Q_OBJECT
public:
    // Entry fields have no length limit (a plain line edit stops at 32,767 characters).
    explicit SelectAllLineEdit(QWidget* parent = nullptr) : QLineEdit(parent) { setMaxLength(kUnlimited); }
    explicit SelectAllLineEdit(const QString& text, QWidget* parent = nullptr) : QLineEdit(parent) {
        setMaxLength(kUnlimited);
        setText(text);
    }

signals:
    // The focus left the field for another control of the same window (not for
    // another window, a menu or a message box).
    void lostFocus();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    static constexpr int kUnlimited = 0x7fffffff;
    void selectAllFromStart();
};

}  // namespace records
