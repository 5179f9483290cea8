// The preview window's controls, at their designed places (twips).
#include "preview/form2.h"
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

Form2::Form2(Form2Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_services(std::move(services)) {
    if (!m_services.endProgram) m_services.endProgram = [] { QCoreApplication::quit(); };
    buildControls();
    connectHandlers();
}

Form2::~Form2() = default;

void Form2::buildControls() {
    setObjectName(QStringLiteral("Form2"));
    setFixedSize(shell::TwipsToPixels(kClientWidth), shell::TwipsToPixels(kClientHeight));
    setFont(arialBold(kWindowFontPoints));
    setMouseTracking(true);

    m_hScroll1 = scrollBar(this, "HScroll1", Qt::Horizontal, 120, 7545, 9330, 255);
    m_vScroll1 = scrollBar(this, "VScroll1", Qt::Vertical, 9450, 120, 255, 7425);

    m_picture2 = new PictureBox(this);
    place(m_picture2, "Picture2", 120, 150, 9330, 7425);
    m_picture2->setBackColor(Qt::white);
    m_picture2->setFocusPolicy(Qt::TabFocus);

    m_picture1 = new PictureBox(m_picture2);
    place(m_picture1, "Picture1", 0, 0, 2340, 3435);
    m_picture1->setAutoSize(true);
    m_picture1->setFocusPolicy(Qt::TabFocus);

    m_frame1 = new QGroupBox(QStringLiteral("Zoom:"), this);
    place(m_frame1, "Frame1", 120, 7860, 9600, 855);
    m_pushButton1 = pushButton(m_frame1, "PushButton1", QStringLiteral("Zoom In"), 240, 300, 4440, 405);
    m_pushButton2 = pushButton(m_frame1, "PushButton2", QStringLiteral("Zoom Out"), 4800, 300, 4560, 405);

    // The reference box lies beyond the client area and is never shown.
    m_zoomOri = new PictureBox(this);
    place(m_zoomOri, "Zoom_Ori", 10320, 480, 735, 375);
    m_zoomOri->hide();
    m_zoomOri->setFocusPolicy(Qt::TabFocus);

    m_pushButton6 = pushButton(this, "PushButton6", QStringLiteral("Save Results To Excel File"), 4920, 8850,
                               4800, 405);
    m_pushButton8 = pushButton(this, "PushButton8", QStringLiteral("< Back"), 120, 8850, 4680, 405);

    // The bars overlap the viewport's edge by a pixel or two; they stay whole on top.
    m_hScroll1->raise();
    m_vScroll1->raise();

    // The frame takes no focus; the others are chained in their designed order.
    QWidget* const tabOrder[] = {m_hScroll1, m_vScroll1, m_picture2, m_picture1, m_frame1,
                                 m_zoomOri,  m_pushButton1, m_pushButton2, m_pushButton6, m_pushButton8};
    for (size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

    trackPointer(m_frame1, this);
    for (QPushButton* button : {m_pushButton1, m_pushButton2, m_pushButton6, m_pushButton8}) {
        trackPointer(button, this);
        // A move over a button is the button's alone, not also its frame's.
        button->setAttribute(Qt::WA_NoMousePropagation);
    }
}

// Every handler runs behind a guard: whatever its trap does not catch stays out of
// Qt's event loop.
void Form2::connectHandlers() {
    using shell::untrapped;
    connect(m_pushButton1, &QPushButton::clicked, this, [this] { untrapped([&] { PushButton1_Click(); }); });
    connect(m_pushButton2, &QPushButton::clicked, this, [this] { untrapped([&] { PushButton2_Click(); }); });
    connect(m_pushButton6, &QPushButton::clicked, this, [this] { untrapped([&] { PushButton6_Click(); }); });
    connect(m_pushButton8, &QPushButton::clicked, this, [this] { untrapped([&] { PushButton8_Click(); }); });

    connect(m_picture1, &PictureBox::mouseDown, this, [this](Qt::MouseButton, float x, float y) {
        untrapped([&] { picture1_MouseDown(x, y); });
    });
    connect(m_picture1, &PictureBox::mouseMove, this, [this](Qt::MouseButtons buttons, float x, float y) {
        untrapped([&] { picture1_MouseMove(buttons, x, y); });
    });
    connect(m_picture1, &PictureBox::mouseUp, this,
            [this](Qt::MouseButton, float, float) { untrapped([&] { Picture1_MouseUp(); }); });

    connectChange(m_hScroll1, &Form2::HScroll1_Change);
    connectChange(m_vScroll1, &Form2::VScroll1_Change);
}

// A bar's change notification: a value set by a click, a key or the program, or
// a thumb released at a new value. Values passed while the thumb is dragged are
// not notified.
void Form2::connectChange(QScrollBar* bar, void (Form2::*change)()) {
    auto valueAtPress = std::make_shared<int>(0);
    connect(bar, &QScrollBar::valueChanged, this, [this, bar, change] {
        if (!bar->isSliderDown()) shell::untrapped([&] { (this->*change)(); });
    });
    connect(bar, &QScrollBar::sliderPressed, this, [bar, valueAtPress] { *valueAtPress = bar->value(); });
    connect(bar, &QScrollBar::sliderReleased, this, [this, bar, change, valueAtPress] {
        if (bar->value() != *valueAtPress) shell::untrapped([&] { (this->*change)(); });
    });
}

void Form2::centreOnScreen() {
    const QScreen* const display = screen();
    if (!display) return;
    QRect frame = frameGeometry();
    frame.moveCenter(display->availableGeometry().center());
    move(frame.topLeft());
}

}  // namespace preview
