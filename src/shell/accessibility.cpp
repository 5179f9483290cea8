#include "shell/accessibility.h"

#include <QEvent>
#include <QPainter>

namespace shell {

void describeControl(QWidget* control, const QString& name, const QString& description) {
    if (!name.isEmpty()) control->setAccessibleName(name);
    control->setAccessibleDescription(description);
}

FocusRing::FocusRing(QWidget* window) : QWidget(window) {
    setObjectName(QStringLiteral("focusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void FocusRing::watch(QWidget* control, QWidget* around) {
    m_around.insert(control, around ? around : control);
    control->installEventFilter(this);
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        ring(m_around.value(watched));
    } else if (event->type() == QEvent::FocusOut) {
        hide();
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::ring(QWidget* control) {
    if (!control) return;
    m_ringed = control;
    const QRect inner(control->mapTo(parentWidget(), QPoint(0, 0)), control->size());
    const QRect outer = inner.adjusted(-kThickness, -kThickness, kThickness, kThickness);
    setGeometry(outer);
    setMask(QRegion(rect()) - QRegion(inner.translated(-outer.topLeft())));
    raise();
    show();
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), palette().color(QPalette::Highlight));
}

}  // namespace shell
