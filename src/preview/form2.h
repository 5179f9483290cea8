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
struct Form2Services {
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
class Form2 : public QWidget, public generator::PreviewTarget {
    Q_OBJECT
public:
    explicit Form2(Form2Services services = {}, QWidget* parent = nullptr);
    ~Form2() override;

    // generator::PreviewTarget
    void setPicture(const QImage& picture) override;
    void setWorkbookPath(const QString& path) override;
    void showPreview() override;

    // Runs the load once; every PreviewTarget call does this first.
    void EnsureLoaded();
    bool isLoaded() const { return m_loaded; }

    // Command handlers, as the buttons run them.
    void PushButton1_Click();  // Zoom In
    void PushButton2_Click();  // Zoom Out
    void PushButton6_Click();  // Save Results To Excel File
    void PushButton8_Click();  // < Back

    // Controls by their designer names.
    PictureBox* Picture1() const { return m_picture1; }
    PictureBox* Picture2() const { return m_picture2; }
    PictureBox* Zoom_Ori() const { return m_zoomOri; }
    QScrollBar* HScroll1() const { return m_hScroll1; }
    QScrollBar* VScroll1() const { return m_vScroll1; }
    QGroupBox* Frame1() const { return m_frame1; }
    QPushButton* PushButton1() const { return m_pushButton1; }
    QPushButton* PushButton2() const { return m_pushButton2; }
    QPushButton* PushButton6() const { return m_pushButton6; }
    QPushButton* PushButton8() const { return m_pushButton8; }

    // Window members.
    const QString& mExcelFile() const { return m_excelFile; }
    bool mFirstActivate() const { return m_firstActivate; }
    float mDragX() const { return m_view.dragX(); }
    float mDragY() const { return m_view.dragY(); }
    int16_t mHScrollStep() const { return m_view.hScrollStep(); }
    int16_t mVScrollStep() const { return m_view.vScrollStep(); }
    int32_t mOrigWidth() const { return m_view.origWidth(); }
    int32_t mOrigHeight() const { return m_view.origHeight(); }
    int32_t mDrawWidth() const { return m_view.drawWidth(); }
    int32_t mDrawHeight() const { return m_view.drawHeight(); }
    float mZoom() const { return m_view.zoom(); }
    const ViewportMath& viewport() const { return m_view; }

    PointerShape MousePointer() const { return m_pointer; }
    // The picture of the custom pointer: the hand cursor file, else the pointing hand.
    const QCursor& CustomPointer() const { return m_customPointer; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout (form2_layout.cpp).
    void buildControls();
    void connectHandlers();
    void connectChange(QScrollBar* bar, void (Form2::*change)());
    void centreOnScreen();

    // Viewport (form2_viewport.cpp).
    void Form_Activate();
    bool RedrawImage();  // true when the zoomed size was painted
    void ZoomStep(int32_t direction);
    void SetZoom(float factor);
    void SetupScrollbars();
    void setupScrollbar(QScrollBar* bar, void (ViewportMath::*setStep)(int16_t), int32_t canvasSide,
                        int32_t viewportOuterSide);
    void HScroll1_Change();
    void VScroll1_Change();
    void SetHScrollbarByPercent(QScrollBar* bar, int16_t percent);
    void SetVScrollbarByPercent(QScrollBar* bar, int16_t percent);
    void picture1_MouseDown(float x, float y);
    void picture1_MouseMove(Qt::MouseButtons buttons, float x, float y);
    void Picture1_MouseUp();
    void Form_MouseMove();        // over the window background or the zoom frame
    void PushButton_MouseMove();  // over any of the four push buttons
    void SetMousePointer(PointerShape shape);
    TwipsRect canvasRect() const;
    TwipsSize viewportOuter() const;
    TwipsSize viewportInner() const;

    // Commands (form2_commands.cpp).
    void Form_Load();
    void Form_QueryUnload();
    void Form_Unload();
    void copyWorkbook(const QString& path, bool replaceConfirmed) const;

    Form2Services m_services;

    PictureBox* m_picture2 = nullptr;
    PictureBox* m_picture1 = nullptr;
    PictureBox* m_zoomOri = nullptr;
    QScrollBar* m_hScroll1 = nullptr;
    QScrollBar* m_vScroll1 = nullptr;
    QGroupBox* m_frame1 = nullptr;
    QPushButton* m_pushButton1 = nullptr;
    QPushButton* m_pushButton2 = nullptr;
    QPushButton* m_pushButton6 = nullptr;
    QPushButton* m_pushButton8 = nullptr;

    QString m_excelFile;
    ViewportMath m_view;
    bool m_firstActivate = false;

    PointerShape m_pointer = PointerShape::Default;
    QCursor m_customPointer{Qt::PointingHandCursor};

    bool m_loaded = false;
    bool m_placed = false;
    bool m_activating = false;
};

}  // namespace preview
