// The preview window's controls at their designed places (twips), and their wiring.
// The picture boxes' object names start with "picture": the window's face colour
// leaves boxes so named alone.
#include "preview/preview_window.h"
#include "preview/picture_box.h"
#include "shell/twips.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <memory>

namespace preview {
namespace {

constexpr int kClientWidth = 9840;
constexpr int kClientHeight = 9360;
constexpr double kWindowFontPoints = 9;
constexpr double kButtonFontPoints = 11.25;

QFont arialBold(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

void place(QWidget* control, const char* name, int left, int top, int width, int height) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(shell::TwipsRect(left, top, width, height));
}

QPushButton* pushButton(QWidget* parent, const char* name, const QString& caption, int left, int top,
                        int width, int height) {
    auto* button = new QPushButton(caption, parent);
    place(button, name, left, top, width, height);
    button->setFont(arialBold(kButtonFontPoints));
    return button;
}

QScrollBar* scrollBar(QWidget* parent, const char* name, Qt::Orientation orientation, int left, int top,
                      int width, int height) {
    auto* bar = new QScrollBar(orientation, parent);
    place(bar, name, left, top, width, height);
    bar->setRange(0, 0);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setFocusPolicy(Qt::TabFocus);
    return bar;
}

// A control that reports pointer moves with no button held as well.
void trackPointer(QWidget* control, QObject* filter) {
    control->setMouseTracking(true);
    control->installEventFilter(filter);
}

}  // namespace

PreviewWindow::PreviewWindow(PreviewWindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_services(std::move(services)) {
    if (!m_services.endProgram) m_services.endProgram = [] { QCoreApplication::quit(); };
    createControls();
    connectActions();
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::createControls() {
    setObjectName(QStringLiteral("previewWindow"));
    setFixedSize(shell::TwipsToPixels(kClientWidth), shell::TwipsToPixels(kClientHeight));
    setFont(arialBold(kWindowFontPoints));
    setMouseTracking(true);

    m_horizontalScrollBar = scrollBar(this, "horizontalScrollBar", Qt::Horizontal, 120, 7545, 9330, 255);
    m_verticalScrollBar = scrollBar(this, "verticalScrollBar", Qt::Vertical, 9450, 120, 255, 7425);

    m_viewport = new PictureBox(this);
    place(m_viewport, "pictureViewport", 120, 150, 9330, 7425);
    m_viewport->setBackColor(Qt::white);
    m_viewport->setFocusPolicy(Qt::TabFocus);

    m_canvas = new PictureBox(m_viewport);
    place(m_canvas, "pictureCanvas", 0, 0, 2340, 3435);
    m_canvas->setAutoSize(true);
    m_canvas->setFocusPolicy(Qt::TabFocus);

    m_zoomFrame = new QGroupBox(QStringLiteral("Zoom:"), this);
    place(m_zoomFrame, "zoomFrame", 120, 7860, 9600, 855);
    m_zoomInButton = pushButton(m_zoomFrame, "zoomInButton", QStringLiteral("Zoom In"), 240, 300, 4440, 405);
    m_zoomOutButton = pushButton(m_zoomFrame, "zoomOutButton", QStringLiteral("Zoom Out"), 4800, 300, 4560, 405);

    // The reference box lies beyond the client area and is never shown.
    m_referencePicture = new PictureBox(this);
    place(m_referencePicture, "pictureReference", 10320, 480, 735, 375);
    m_referencePicture->hide();
    m_referencePicture->setFocusPolicy(Qt::TabFocus);

    m_saveResultsButton =
        pushButton(this, "saveResultsButton", QStringLiteral("Save Results To Excel File"), 4920, 8850, 4800, 405);
    m_backButton = pushButton(this, "backButton", QStringLiteral("< Back"), 120, 8850, 4680, 405);

    // The bars overlap the viewport's edge by a pixel or two; they stay whole on top.
    m_horizontalScrollBar->raise();
    m_verticalScrollBar->raise();

    // The frame takes no focus; the others are chained in their designed order.
    QWidget* const tabOrder[] = {m_horizontalScrollBar, m_verticalScrollBar, m_viewport,     m_canvas,
                                 m_zoomFrame,           m_referencePicture,  m_zoomInButton, m_zoomOutButton,
                                 m_saveResultsButton,   m_backButton};
    for (size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

    trackPointer(m_zoomFrame, this);
    for (QPushButton* button : {m_zoomInButton, m_zoomOutButton, m_saveResultsButton, m_backButton}) {
        trackPointer(button, this);
        // A move over a button is the button's alone, not also its frame's.
        button->setAttribute(Qt::WA_NoMousePropagation);
    }
}

// Every handler runs behind a guard: whatever its trap does not catch stays out of
// Qt's event loop.
void PreviewWindow::connectActions() {
    using shell::untrapped;
    connect(m_zoomInButton, &QPushButton::clicked, this, [this] { untrapped([&] { zoomIn(); }); });
    connect(m_zoomOutButton, &QPushButton::clicked, this, [this] { untrapped([&] { zoomOut(); }); });
    connect(m_saveResultsButton, &QPushButton::clicked, this, [this] { untrapped([&] { saveResults(); }); });
    connect(m_backButton, &QPushButton::clicked, this, [this] { untrapped([&] { goBack(); }); });

    connect(m_canvas, &PictureBox::mouseDown, this, [this](Qt::MouseButton, float x, float y) {
        untrapped([&] { startDrag(x, y); });
    });
    connect(m_canvas, &PictureBox::mouseMove, this, [this](Qt::MouseButtons buttons, float x, float y) {
        untrapped([&] { drag(buttons, x, y); });
    });
    connect(m_canvas, &PictureBox::mouseUp, this,
            [this](Qt::MouseButton, float, float) { untrapped([&] { endDrag(); }); });

    connectChange(m_horizontalScrollBar, &PreviewWindow::scrollCanvasHorizontally);
    connectChange(m_verticalScrollBar, &PreviewWindow::scrollCanvasVertically);
}

// A bar's change notification: a value set by a click, a key or the program, or
// a thumb released at a new value. Values passed while the thumb is dragged are
// not notified.
void PreviewWindow::connectChange(QScrollBar* bar, void (PreviewWindow::*change)()) {
    auto valueAtPress = std::make_shared<int>(0);
    connect(bar, &QScrollBar::valueChanged, this, [this, bar, change] {
        if (!bar->isSliderDown()) shell::untrapped([&] { (this->*change)(); });
    });
    connect(bar, &QScrollBar::sliderPressed, this, [bar, valueAtPress] { *valueAtPress = bar->value(); });
    connect(bar, &QScrollBar::sliderReleased, this, [this, bar, change, valueAtPress] {
        if (bar->value() != *valueAtPress) shell::untrapped([&] { (this->*change)(); });
    });
}

void PreviewWindow::centreOnScreen() {
    const QScreen* const display = screen();
    if (!display) return;
    QRect frame = frameGeometry();
    frame.moveCenter(display->availableGeometry().center());
    move(frame.topLeft());
}

}  // namespace preview
