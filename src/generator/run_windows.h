#pragma once

#include <QImage>
#include <QString>

namespace generator {

// The preview window as the generation run hands over to it. Touching it the first
// time loads it (its load steps run before the picture arrives).
class PreviewTarget {
public:
    virtual ~PreviewTarget() = default;
    virtual void SetPicture(const QImage& picture) = 0;
    virtual void SetExcelFile(const QString& path) = 0;
    virtual void Show() = 0;  // not modal; activates the window
};

// The main window as the generation run uses it: its pointer and its visibility.
class MainWindowControl {
public:
    virtual ~MainWindowControl() = default;
    virtual void SetBusyPointer() = 0;     // the hourglass
    virtual void SetDefaultPointer() = 0;  // the arrow
    virtual void Hide() = 0;
};

}  // namespace generator
