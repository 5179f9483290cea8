// The preview window's controls at their designed places (twips), and their wiring.
// The viewport's and the canvas's object names start with "picture": the window's
// face colour leaves controls so named alone.
#include "preview/preview_window.h"
#include "generator/engine_session.h"
#include "preview/sheet_canvas.h"
#include "shell/accessibility.h"
#include "shell/error_trap.h"
#include "shell/twips.h"
#include "shell/widget_building.h"

#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>

namespace preview {
namespace {

constexpr int kClientWidth = 9840;
constexpr int kClientHeight = 9360;

QPushButton* pushButton(QWidget* parent, const char* name, const QString& caption, int left, int top,
                        int width, int height) {
    return shell::place(shell::commandButton(caption, parent), name, left, top, width, height);
}

QScrollBar* scrollBar(QWidget* parent, const char* name, Qt::Orientation orientation, int left, int top,
                      int width, int height) {
    auto* bar = shell::place(new QScrollBar(orientation, parent), name, left, top, width, height);
    bar->setRange(0, 0);
    bar->setFocusPolicy(Qt::TabFocus);
    return bar;
}

// A control that reports pointer moves with no button held as well.
void trackPointer(QWidget* control, QObject* filter) {
    control->setMouseTracking(true);
    control->installEventFilter(filter);
}

}  // namespace

PreviewWindow::PreviewWindow(shell::ProgramContext context, PreviewWindowServices services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_context(std::move(context)),
      m_services(std::move(services)) {
    if (!m_services.endProgram) m_services.endProgram = [] { QCoreApplication::quit(); };
    if (!m_services.engine) {
        m_ownEngine = std::make_unique<generator::EngineSession>();
        m_services.engine = m_ownEngine.get();
    }
    createControls();
    connectActions();
    createPictureMenu();
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::createControls() {
    setObjectName(QStringLiteral("previewWindow"));
    setFixedSize(shell::twipsToPixels(kClientWidth), shell::twipsToPixels(kClientHeight));
    setFont(shell::arialBold(shell::kWindowFontPoints));
    setMouseTracking(true);

    m_horizontalScrollBar = scrollBar(this, "horizontalScrollBar", Qt::Horizontal, 120, 7545, 9330, 255);
    m_verticalScrollBar = scrollBar(this, "verticalScrollBar", Qt::Vertical, 9450, 120, 255, 7425);

    m_viewport = shell::place(new QWidget(this), "pictureViewport", 120, 150, 9330, 7425);
    shell::fillWith(*m_viewport, Qt::white);
    m_viewport->setFocusPolicy(Qt::TabFocus);

    // The canvas takes the keyboard when clicked, so that the keys scroll at once.
    m_canvas = new SheetCanvas(m_viewport);
    m_canvas->setObjectName(QStringLiteral("pictureCanvas"));
    m_canvas->setGeometry(0, 0, 0, 0);
    m_canvas->setFocusPolicy(Qt::StrongFocus);

    m_zoomFrame = shell::place(new QGroupBox(this), "zoomFrame", 120, 7860, 9600, 855);
    showZoomCaption();
    m_zoomInButton = pushButton(m_zoomFrame, "zoomInButton", QStringLiteral("Zoom In"), 240, 300, 4440, 405);
    m_zoomOutButton = pushButton(m_zoomFrame, "zoomOutButton", QStringLiteral("Zoom Out"), 4800, 300, 4560, 405);

    m_saveResultsButton =
        pushButton(this, "saveResultsButton", QStringLiteral("Save Results To Excel File"), 4920, 8850, 4800, 405);
    m_backButton = pushButton(this, "backButton", QStringLiteral("< Back"), 120, 8850, 4680, 405);

    // The bars overlap the viewport's edge by a pixel or two; they stay whole on top.
    m_horizontalScrollBar->raise();
    m_verticalScrollBar->raise();

    // The frame takes no focus; the others are chained in their designed order.
    QWidget* const tabOrder[] = {m_horizontalScrollBar, m_verticalScrollBar, m_viewport,       m_canvas,
                                 m_zoomFrame,           m_zoomInButton,      m_zoomOutButton,  m_saveResultsButton,
                                 m_backButton};
    for (size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
    describeControls();

    // Wheel turns over the viewport scroll or zoom it.
    m_viewport->installEventFilter(this);
    m_canvas->installEventFilter(this);
    trackPointer(m_zoomFrame, this);
    for (QPushButton* button : {m_zoomInButton, m_zoomOutButton, m_saveResultsButton, m_backButton}) {
        trackPointer(button, this);
        // A move over a button is the button's alone, not also its frame's.
        button->setAttribute(Qt::WA_NoMousePropagation);
    }
}

// Names for screen readers (the buttons and the zoom frame are named by their
// captions, the frame's with the zoom factor), and a ring around the bars and the
// sheet while they have the focus, which their style does not show.
void PreviewWindow::describeControls() {
    shell::describeControl(m_horizontalScrollBar, QStringLiteral("Scroll the sheet sideways"));
    shell::describeControl(m_verticalScrollBar, QStringLiteral("Scroll the sheet up and down"));
    shell::describeControl(m_viewport, QStringLiteral("Sheet view"),
                           QStringLiteral("The arrow keys, Page Up, Page Down, Home and End scroll the sheet; + and - zoom"));
    shell::describeControl(m_canvas, QStringLiteral("Commission sheet"),
                           QStringLiteral("The sheet as a table: Ctrl with the arrow keys goes from cell to cell, Ctrl+Home "
                                          "and Ctrl+End to the first and the last cell; the arrow keys scroll, + and - zoom"));
    shell::describeControl(m_zoomInButton, {}, QStringLiteral("Shows the sheet larger (+)"));
    shell::describeControl(m_zoomOutButton, {}, QStringLiteral("Shows the sheet smaller (-)"));
    shell::describeControl(m_saveResultsButton, {}, QStringLiteral("Copies the generated workbook to a file you choose"));
    shell::describeControl(m_backButton, {}, QStringLiteral("Goes back to the record list (Escape)"));

    auto* ring = new shell::FocusRing(this);
    for (QWidget* control : std::initializer_list<QWidget*>{m_horizontalScrollBar, m_verticalScrollBar, m_viewport})
        ring->watch(control);
    ring->watch(m_canvas, m_viewport);
}

// Every handler runs behind a guard: whatever its trap does not catch stays out of
// Qt's event loop.
void PreviewWindow::connectActions() {
    using shell::untrapped;
    connect(m_zoomInButton, &QPushButton::clicked, this, [this] { untrapped([&] { zoomIn(); }); });
    connect(m_zoomOutButton, &QPushButton::clicked, this, [this] { untrapped([&] { zoomOut(); }); });
    connect(m_saveResultsButton, &QPushButton::clicked, this, [this] { untrapped([&] { saveResults(); }); });
    connect(m_backButton, &QPushButton::clicked, this, [this] { untrapped([&] { goBack(); }); });
    // Escape anywhere in the window is < Back.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, m_backButton,
            &QPushButton::click);
    // The viewport follows the cell cursor.
    connect(m_canvas, &SheetCanvas::cursorMoved, this,
            [this](const QRect& cell) { untrapped([&] { showPictureRect(cell); }); });

    connect(m_canvas, &SheetCanvas::mouseDown, this,
            [this](Qt::MouseButton, TwipsPoint at) { untrapped([&] { startDrag(at); }); });
    connect(m_canvas, &SheetCanvas::mouseMove, this,
            [this](Qt::MouseButtons buttons, TwipsPoint at) { untrapped([&] { drag(buttons, at); }); });
    connect(m_canvas, &SheetCanvas::mouseUp, this, [this](Qt::MouseButton, TwipsPoint) {
        untrapped([&] { endDrag(); });
    });

    // The canvas follows a bar's every move, the thumb's while it is dragged too.
    connect(m_horizontalScrollBar, &QScrollBar::valueChanged, this,
            [this] { untrapped([&] { followScrollBar(Axis::Horizontal); }); });
    connect(m_verticalScrollBar, &QScrollBar::valueChanged, this,
            [this] { untrapped([&] { followScrollBar(Axis::Vertical); }); });
}

// The picture's context menu. Its commands' shortcuts work wherever the keyboard
// is in the window; the buttons stay as they are.
void PreviewWindow::createPictureMenu() {
    m_pictureMenu = new QMenu(this);
    m_pictureMenu->setObjectName(QStringLiteral("pictureMenu"));
    const struct {
        const char* name;
        QString text;
        QKeySequence shortcut;
        void (PreviewWindow::*command)();
    } commands[] = {
        {"printAction", QStringLiteral("Print\u2026"), QKeySequence(Qt::CTRL | Qt::Key_P), &PreviewWindow::printSheet},
        {"exportPdfAction", QStringLiteral("Export PDF\u2026"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
         &PreviewWindow::exportPdf},
        {"saveAsExcelWorkbookAction", QStringLiteral("Save as Excel Workbook (.xlsx)\u2026"), QKeySequence(),
         &PreviewWindow::saveAsExcelWorkbook},
        {"copyPictureAction", QStringLiteral("Copy Picture"), QKeySequence(Qt::CTRL | Qt::Key_C),
         &PreviewWindow::copyPicture},
    };
    for (const auto& command : commands) {
        auto* action = new QAction(command.text, this);
        action->setObjectName(QString::fromLatin1(command.name));
        action->setShortcut(command.shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this,
                [this, run = command.command] { shell::untrapped([&] { (this->*run)(); }); });
        m_pictureMenu->addAction(action);
        addAction(action);
    }
    connect(m_canvas, &SheetCanvas::menuRequested, this,
            [this](const QPoint& at) { m_pictureMenu->popup(m_canvas->mapToGlobal(at)); });
    // From the keyboard: the Menu key and Shift+F10, the menu at the middle of the view.
    auto* menuKeys = new QAction(this);
    menuKeys->setObjectName(QStringLiteral("pictureMenuKeysAction"));
    menuKeys->setShortcuts({QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)});
    menuKeys->setShortcutContext(Qt::WindowShortcut);
    connect(menuKeys, &QAction::triggered, this, [this] {
        m_pictureMenu->popup(m_viewport->mapToGlobal(m_viewport->rect().center()));
    });
    addAction(menuKeys);
}

void PreviewWindow::centreOnScreen() {
    const QScreen* const display = screen();
    if (!display) return;
    QRect frame = frameGeometry();
    frame.moveCenter(display->availableGeometry().center());
    move(frame.topLeft());
}

}  // namespace preview
