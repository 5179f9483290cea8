#pragma once

#include "generator/run_windows.h"
#include "preview/viewport_math.h"
#include "shell/error_locations.h"
#include "shell/pointer_shape.h"
#include "shell/program_context.h"

#include <QCursor>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QGroupBox;
class QMenu;
class QPushButton;
class QScrollBar;
class QWheelEvent;

namespace generator {
class EngineSession;
}

namespace preview {

class SheetCanvas;

// What the preview window asks of the rest of the program. The program wires the
// main window; tests script these.
struct PreviewWindowServices {
    // Shows the main window again ("< Back").
    std::function<void()> showMainWindow;
    // Stores the main window's record list before the program ends (closing the
    // preview ends it); false when the user keeps the program running instead.
    std::function<bool()> storeRecordListBeforeEnd;
    // Ends the program; QApplication::quit when unset.
    std::function<void()> endProgram;
    // The engine instances the workbook is reopened in to be saved as .xlsx (not
    // owned); the built-in engine when unset.
    const generator::EngineSession* engine = nullptr;
};

using shell::PointerShape;

// The preview window: the picture of the generated sheet in a viewport with zoom,
// scroll bars, dragging, the wheel and the keyboard, and the commands to save the
// generated workbook, to go back to the main window, or to close the program. The
// first touch through PreviewTarget loads it.
//
// The canvas paints what the viewport shows of the sheet as it shows it, so any
// sheet, however long, can be zoomed and scrolled to its end. The wheel scrolls up
// and down, Shift+wheel sideways, Ctrl+wheel zooms a step keeping the point under
// the pointer in place; + and - zoom, the arrows, Page Up/Page Down and Home/End
// scroll. The picture's context menu, and its shortcuts anywhere in the window,
// print the sheet, export it as PDF, save the workbook as .xlsx and copy the
// picture to the clipboard.
class PreviewWindow : public QWidget, public generator::PreviewTarget {
    Q_OBJECT
public:
    explicit PreviewWindow(shell::ProgramContext context, PreviewWindowServices services = {},
                           QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // generator::PreviewTarget
    void setSheet(const generator::SheetPicture& picture) override;
    void setWorkbookPath(const QString& path) override;
    void showPreview() override;

    // Runs the load once; every PreviewTarget call does this first.
    void ensureLoaded();
    bool isLoaded() const { return m_loaded; }

    // The window's state: the temporary workbook it saves from, whether the next
    // activation sets the viewport up afresh, and the viewport's zoom, sizes,
    // canvas position and grabbed point.
    const QString& workbookPath() const { return m_workbookPath; }
    bool firstActivation() const { return m_firstActivation; }
    const ViewportMath& viewportMath() const { return m_viewportMath; }

    PointerShape pointerShape() const { return m_pointerShape; }
    // The picture of the custom pointer: the hand cursor file, else the pointing hand.
    const QCursor& customPointer() const { return m_customPointer; }

    // The fixed box that clips the canvas, and the canvas that shows the sheet.
    QWidget* viewport() const { return m_viewport; }
    SheetCanvas* canvas() const { return m_canvas; }
    QScrollBar* horizontalScrollBar() const { return m_horizontalScrollBar; }
    QScrollBar* verticalScrollBar() const { return m_verticalScrollBar; }
    QGroupBox* zoomFrame() const { return m_zoomFrame; }
    QPushButton* zoomInButton() const { return m_zoomInButton; }
    QPushButton* zoomOutButton() const { return m_zoomOutButton; }
    QPushButton* saveResultsButton() const { return m_saveResultsButton; }
    QPushButton* backButton() const { return m_backButton; }
    // The picture's context menu: Print…, Export PDF…, Save as Excel Workbook
    // (.xlsx)…, Copy Picture.
    QMenu* pictureMenu() const { return m_pictureMenu; }

public slots:
    // The commands, as the buttons run them.
    void zoomIn();
    void zoomOut();
    // Copies the temporary workbook to a file the user chooses.
    void saveResults();
    // Deletes the temporary workbook and shows the main window again.
    void goBack();
    // The commands of the picture's menu. Prints the sheet's print area through
    // the print dialog, as the sheet's page setup lays it out.
    void printSheet();
    // Writes the print as a PDF file the user chooses.
    void exportPdf();
    // Saves the workbook as Office Open XML where the user chooses.
    void saveAsExcelWorkbook();
    // Puts the picture of the sheet, at zoom 1, on the system clipboard.
    void copyPicture();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    shell::Dialogs& dialogs() const { return m_context.dialogs(); }

    // Controls and wiring (preview_window.cpp).
    void createControls();
    void describeControls();
    void connectActions();
    void createPictureMenu();
    void centreOnScreen();

    // Viewport (preview_viewport.cpp).
    void activate();
    void redrawImage();
    // The zoom frame's caption shows the factor: "Zoom: 100%".
    void showZoomCaption();
    // Zooms one step (out for a nonzero direction) keeping the sheet's point under
    // `anchor` (viewport twips) in place.
    void stepZoom(int32_t direction, TwipsPoint anchor);
    void setZoom(float factor, TwipsPoint anchor);
    QScrollBar* barFor(Axis axis) const;
    // Brings the bars' ranges and values to the canvas as it lies now.
    void setupScrollBars();
    // A bar moved by the user: the canvas follows it.
    void followScrollBar(Axis axis);
    // Shows the canvas where the viewport arithmetic puts it.
    void showCanvas();
    // The canvas moved by a drag, the wheel or a key, and the bars with it.
    void moveCanvas(TwipsPoint to);
    void scrollCanvasBy(double dx, double dy);
    // Scrolls as little as will show a part of the picture (its pixels at zoom 1).
    void showPictureRect(const QRect& pictureRect);
    void startDrag(TwipsPoint at);
    void drag(Qt::MouseButtons buttons, TwipsPoint at);
    void endDrag();
    void turnWheel(QWheelEvent* event, const QPointF& viewportPoint);
    bool pressKey(int key);  // true when the key scrolls or zooms
    void pointerOverBackground();  // over the window background or the zoom frame
    void pointerOverButton();      // over any of the four push buttons
    void setPointerShape(PointerShape shape);
    TwipsSize viewportSize() const;

    // Commands (preview_commands.cpp).
    void load();
    bool prepareToClose();
    void copyWorkbook(const QString& path, bool replaceConfirmed) const;
    // Throws when path names the workbook the preview shows (by any name), which
    // Back deletes and the other commands still read.
    void refuseTheShownWorkbook(const QString& path) const;

    // The sheet commands (preview_sheet_commands.cpp).
    // The sheet delivered last; throws when none was.
    const generator::SheetPicture& deliveredSheet() const;
    // Asks where to write a file (the name completed with `suffix` when it has
    // none), asks before an existing file is replaced, and writes it, reporting a
    // failure at `location`; says "Done." once written.
    void writeChosenFile(shell::ErrorLocation location, const QString& title, const QString& filter,
                         const QString& suffix, const std::function<void(const QString& path)>& write);

    shell::ProgramContext m_context;
    PreviewWindowServices m_services;

    QWidget* m_viewport = nullptr;
    SheetCanvas* m_canvas = nullptr;
    QScrollBar* m_horizontalScrollBar = nullptr;
    QScrollBar* m_verticalScrollBar = nullptr;
    QGroupBox* m_zoomFrame = nullptr;
    QPushButton* m_zoomInButton = nullptr;
    QPushButton* m_zoomOutButton = nullptr;
    QPushButton* m_saveResultsButton = nullptr;
    QPushButton* m_backButton = nullptr;
    QMenu* m_pictureMenu = nullptr;
    std::unique_ptr<generator::EngineSession> m_ownEngine;  // when the services name none

    QString m_workbookPath;
    ViewportMath m_viewportMath;
    bool m_firstActivation = false;
    int m_wheelZoomTurn = 0;  // a Ctrl+wheel turn short of a notch, in eighths of a degree

    PointerShape m_pointerShape = PointerShape::Default;
    QCursor m_customPointer{Qt::PointingHandCursor};

    bool m_loaded = false;
    bool m_placed = false;
    bool m_activating = false;
    bool m_settingBars = false;  // the bars are being brought to the canvas
};

}  // namespace preview
