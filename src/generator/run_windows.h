#pragma once

#include "generator/sheet_picture.h"

#include <QString>

namespace generator {

// The preview window as the generation run hands over to it. Touching it the first
// time loads it (its load steps run before the picture arrives).
class PreviewTarget {
public:
    virtual ~PreviewTarget() = default;
    // The picture of the generated sheet, which the preview paints as it shows it.
    virtual void setSheet(const SheetPicture& picture) = 0;
    // The temporary workbook the preview saves from and deletes on Back or close.
    virtual void setWorkbookPath(const QString& path) = 0;
    virtual void showPreview() = 0;  // not modal; activates the window
};

// The main window as the generation run uses it: its pointer and its visibility.
class MainWindowControl {
public:
    virtual ~MainWindowControl() = default;
    virtual void setBusyPointer() = 0;     // the hourglass
    virtual void setDefaultPointer() = 0;  // the arrow
    virtual void hideMainWindow() = 0;
};

}  // namespace generator
