#include "shell/widget_building.h"

#include <QPalette>
#include <QPushButton>
#include <QWidget>

namespace shell {

QFont arialBold(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

void fillWith(QWidget& control, const QColor& colour) {
    QPalette palette = control.palette();
    palette.setColor(QPalette::Window, colour);
    control.setPalette(palette);
    control.setAutoFillBackground(true);
}

QPushButton* commandButton(const QString& caption, QWidget* container) {
    auto* button = new QPushButton(caption, container);
    button->setFont(arialBold(kCommandButtonPoints));
    return button;
}

}  // namespace shell
