#pragma once

#include "generator/run_windows.h"
#include "preview/viewport_math.h"
#include "shell/pointer_shape.h"

#include <QCursor>
#include <QString>
#include <QWidget>
#include <functional>

class QGroupBox;
class QPushButton;
class QScrollBar;

namespace preview {

class PictureBox;

// What the preview window asks of the rest of the program. The program wires the
// main window; tests script these.
struct PreviewWindowServices {
    // Shows the main window again ("< Back").
    std::function<void()> showMainWindow;
    // Stores the main window's record list (closing the preview ends the program).
    std::function<void()> storeRecordList;
    // Ends the program; QApplication::quit when unset.
    std::function<void()> endProgram;
};

using shell::PointerShape;

// The preview window: the picture of the generated sheet in a viewport with zoom,
// scroll bars and dragging, and the commands to save the generated workbook, to go
// back to the main window, or to close the program. The first touch through
// PreviewTarget loads it.
class PreviewWindow : public QWidget, public generator::PreviewTarget {
    Q_OBJECT
public:
    explicit PreviewWindow(PreviewWindowServices services = {}, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // generator::PreviewTarget
    void setPicture(const QImage& picture) override;
    void setWorkbookPath(const QString& path) override;
    void showPreview() override;

    // Runs the load once; every PreviewTarget call does this first.
    void ensureLoaded();
    bool isLoaded() const { return m_loaded; }

    // The window's state: the temporary workbook it saves from, whether the next
    // activation sets the viewport up afresh, and the viewport's zoom, sizes,
    // scroll steps and grabbed point.
    const QString& workbookPath() const { return m_workbookPath; }
    bool firstActivation() const { return m_firstActivation; }
    const ViewportMath& viewportMath() const { return m_viewportMath; }

    PointerShape pointerShape() const { return m_pointerShape; }
    // The picture of the custom pointer: the hand cursor file, else the pointing hand.
    const QCursor& customPointer() const { return m_customPointer; }

    // The fixed box that clips the canvas, the canvas that shows the zoomed picture,
    // and the hidden box that keeps the picture at its natural size.
    PictureBox* viewport() const { return m_viewport; }
    PictureBox* canvas() const { return m_canvas; }
    PictureBox* referencePicture() const { return m_referencePicture; }
    QScrollBar* horizontalScrollBar() const { return m_horizontalScrollBar; }
    QScrollBar* verticalScrollBar() const { return m_verticalScrollBar; }
    QGroupBox* zoomFrame() const { return m_zoomFrame; }
    QPushButton* zoomInButton() const { return m_zoomInButton; }
    QPushButton* zoomOutButton() const { return m_zoomOutButton; }
    QPushButton* saveResultsButton() const { return m_saveResultsButton; }
    QPushButton* backButton() const { return m_backButton; }

public slots:
    // The commands, as the buttons run them.
    void zoomIn();
    void zoomOut();
    // Copies the temporary workbook to a file the user chooses.
    void saveResults();
    // Deletes the temporary workbook and shows the main window again.
    void goBack();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Controls and wiring (preview_window.cpp).
    void createControls();
    void connectActions();
    void connectChange(QScrollBar* bar, void (PreviewWindow::*change)());
    void centreOnScreen();

    // Viewport (preview_viewport.cpp).
    void activate();
    bool redrawImage();  // true when the zoomed size was painted
    void stepZoom(int32_t direction);
    void setZoom(float factor);
    void setupScrollBars();
    void setupScrollBar(QScrollBar* bar, void (ViewportMath::*setStep)(int16_t), int32_t canvasSide,
                        int32_t viewportOuterSide);
    void scrollCanvasHorizontally();
    void scrollCanvasVertically();
    void startDrag(float x, float y);
    void drag(Qt::MouseButtons buttons, float x, float y);
    void endDrag();
    void pointerOverBackground();  // over the window background or the zoom frame
    void pointerOverButton();      // over any of the four push buttons
    void setPointerShape(PointerShape shape);
    TwipsRect canvasRect() const;
    TwipsSize viewportOuterSize() const;
    TwipsSize viewportInnerSize() const;

    // Commands (preview_commands.cpp).
    void load();
    void prepareToClose();
    void copyWorkbook(const QString& path, bool replaceConfirmed) const;

    PreviewWindowServices m_services;

    PictureBox* m_viewport = nullptr;
    PictureBox* m_canvas = nullptr;
    PictureBox* m_referencePicture = nullptr;
    QScrollBar* m_horizontalScrollBar = nullptr;
    QScrollBar* m_verticalScrollBar = nullptr;
    QGroupBox* m_zoomFrame = nullptr;
    QPushButton* m_zoomInButton = nullptr;
    QPushButton* m_zoomOutButton = nullptr;
    QPushButton* m_saveResultsButton = nullptr;
    QPushButton* m_backButton = nullptr;

    QString m_workbookPath;
    ViewportMath m_viewportMath;
    bool m_firstActivation = false;

    PointerShape m_pointerShape = PointerShape::Default;
    QCursor m_customPointer{Qt::PointingHandCursor};

    bool m_loaded = false;
    bool m_placed = false;
    bool m_activating = false;
};

}  // namespace preview
