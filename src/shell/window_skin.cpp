#include "shell/failure.h"
#include "shell/startup_services.h"
#include "shell/widget_building.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

namespace shell {
namespace {

// A style sheet larger than this is not a skin; it is refused rather than loaded.
constexpr qint64 kMaxSkinBytes = 1024 * 1024;

enum class PictureBoxes { Recolour, Keep };

bool isPictureBox(const QWidget* widget) {
    return widget->objectName().startsWith(QLatin1String("Picture"), Qt::CaseInsensitive);
}

bool takesFaceColour(const QWidget* widget) {
    return qobject_cast<const QRadioButton*>(widget) || qobject_cast<const QCheckBox*>(widget) ||
           qobject_cast<const QGroupBox*>(widget) || qobject_cast<const QLabel*>(widget);
}

// The window and its option buttons, check boxes, frames and labels take the
// face colour; picture boxes only when asked. Text fields, lists and push
// buttons draw on other palette roles and keep their own colours.
void paintWindowFace(QWidget& window, PictureBoxes pictures) {
    const QColor face = buttonFaceColor();
    fillWith(window, face);
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (isPictureBox(control)) {
            if (pictures == PictureBoxes::Recolour) fillWith(*control, face);
        } else if (takesFaceColour(control)) {
            fillWith(*control, face);
        }
    }
}

QString unreadable(const QString& path, const QString& reason) {
    return QStringLiteral("Skin file could not be read: %1 (%2)").arg(QDir::toNativeSeparators(path), reason);
}

QString readStyleSheet(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw Failure(unreadable(path, file.errorString()));
    const QByteArray bytes = file.read(kMaxSkinBytes + 1);
    if (file.error() != QFileDevice::NoError) throw Failure(unreadable(path, file.errorString()));
    if (bytes.size() > kMaxSkinBytes)
        throw Failure(unreadable(path, QStringLiteral("larger than %1 bytes").arg(kMaxSkinBytes)));
    return QString::fromUtf8(bytes);
}

}  // namespace

QColor buttonFaceColor() { return QApplication::palette().color(QPalette::Button); }

void applySkin(QWidget& mainWindow, const QString& skinFile) {
    const QFileInfo skin(skinFile);
    if (!skin.isFile() || skin.isHidden()) return;
    paintWindowFace(mainWindow, PictureBoxes::Recolour);
    mainWindow.setStyleSheet(readStyleSheet(skinFile));
}

void applyFaceColor(QWidget& window) { paintWindowFace(window, PictureBoxes::Keep); }

}  // namespace shell
