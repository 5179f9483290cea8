#pragma once

#include "shell/twips.h"

#include <QFont>
#include <QLatin1String>

class QColor;
class QPushButton;
class QString;
class QWidget;

// What both windows are built from: Arial bold, controls named and put at their
// designed places (twips), filled backgrounds, and the command buttons.
namespace shell {

// The windows' own font, and their command buttons', in points.
inline constexpr double kWindowFontPoints = 9;
inline constexpr double kCommandButtonPoints = 11.25;

QFont arialBold(double points);

// Names the control and puts it at its designed place, given in twips.
template <typename W>
W* place(W* control, const char* name, int left, int top, int width, int height) {
    control->setObjectName(QLatin1String(name));
    control->setGeometry(twipsRect(left, top, width, height));
    return control;
}

// The control paints its background in the colour.
void fillWith(QWidget& control, const QColor& colour);

// A push button with the caption, in the command buttons' font.
QPushButton* commandButton(const QString& caption, QWidget* container);

}  // namespace shell
