#pragma once

#include <QHash>
#include <QPointer>
#include <QWidget>

namespace shell {

// What a screen reader reads for a control: its name (none keeps the one Qt gives
// it from its caption), and what it does where the name alone does not say.
void describeControl(QWidget* control, const QString& name, const QString& description = {});

// A ring around whichever of the watched controls has the keyboard focus, for
// controls whose style shows no focus of its own (scroll bars, lists, picture
// boxes). It lies just outside the control, above its neighbours, and takes no
// mouse input; elsewhere the window shows through.
class FocusRing : public QWidget {
    Q_OBJECT
public:
    static constexpr int kThickness = 2;

    explicit FocusRing(QWidget* window);

    // Rings `control` while it has the focus, or `around` instead when given (a
    // control cut by the box it lies in is ringed around the box).
    void watch(QWidget* control, QWidget* around = nullptr);
    // The control ringed now; none while no watched control has the focus.
    QWidget* ringed() const { return isVisible() ? m_ringed.data() : nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ring(QWidget* control);

    QHash<QObject*, QWidget*> m_around;
    QPointer<QWidget> m_ringed;
};

}  // namespace shell
