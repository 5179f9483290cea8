// The main window's controls as designed (kinds, captions, twips geometry, fonts,
// colours, tab order), their wiring, the records as others read them, and the
// pointer shapes.
#include "records/main_window.h"

#include "records/record_list_view.h"
#include "records/select_all_line_edit.h"
#include "shell/accessibility.h"
#include "shell/startup_services.h"
#include "shell/twips.h"
#include "shell/widget_building.h"

#include <QFontMetricsF>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <cmath>

namespace records {
namespace {

using shell::commandButton;
using shell::place;

constexpr int kClientWidthTwips = 8040;
constexpr int kClientHeightTwips = 7095;

QLabel* label(const QString& caption, QWidget* container) {
    auto* l = new QLabel(caption, container);
    l->setTextFormat(Qt::PlainText);  // keeps the runs of blanks inside captions
    shell::fillWith(*l, Qt::white);
    return l;
}

// This platform's Arial (a metric twin) draws a few pixels wider than the
// designed labels allow, which would cut the "$" at their ends and the "%" beside
// the percentage: a label whose caption does not fit grows to the right, up to
// `rightLimit` (pixels in its frame): the field beside it, or the frame's edge.
// Where that is not room enough, its font is narrowed by the percent or two
// missing, so that the designed positions stay.
void fitCaption(QLabel* label, int rightLimit) {
    const double needed = QFontMetricsF(label->font(), label).horizontalAdvance(label->text());
    const int room = rightLimit - label->x();
    const int width = static_cast<int>(std::ceil(needed));
    if (width > label->width()) label->resize(qMin(width, room), label->height());
    if (width > room) {
        QFont narrower = label->font();
        narrower.setStretch(static_cast<int>(std::floor(100 * room / needed)));
        label->setFont(narrower);
    }
}

// Where a label inside a frame may reach: the frame's inner edge.
int innerRight(const QGroupBox* frame) {
    return frame->width() - frame->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
}

QGroupBox* frame(const QString& caption, QWidget* container) {
    auto* f = new QGroupBox(caption, container);
    shell::fillWith(*f, Qt::white);
    return f;
}

}  // namespace

MainWindow::MainWindow(shell::ProgramContext context, MainWindowServices services, QWidget* parent)
    : QWidget(parent), m_context(std::move(context)), m_services(std::move(services)) {
    if (!m_services.runGeneration) m_services.runGeneration = [] {};
    createControls();
    connectActions();
    createUndoActions();
    createTransferActions();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
    setObjectName(QStringLiteral("mainWindow"));
    setFont(shell::arialBold(shell::kWindowFontPoints));
    setFixedSize(shell::twipsToPixels(kClientWidthTwips), shell::twipsToPixels(kClientHeightTwips));
    shell::fillWith(*this, shell::buttonFaceColor());

    m_startCreatingTemplateButton = place(commandButton(QStringLiteral("Start Creating Template"), this),
                                          "startCreatingTemplateButton", 120, 120, 7800, 400);
    m_clearAllDataButton =
        place(commandButton(QStringLiteral("Clear/Reset Data"), this), "clearAllDataButton", 120, 630, 3840, 405);
    m_loadSampleDataButton = place(commandButton(QStringLiteral("Load Sample/Example Data"), this),
                                   "loadSampleDataButton", 4080, 630, 3840, 405);

    m_percentageFrame =
        place(frame(QStringLiteral("Commission percentage"), this), "percentageFrame", 120, 1110, 7800, 825);
    m_percentageEdit = place(new SelectAllLineEdit(QStringLiteral("10"), m_percentageFrame), "percentageEdit",
                             240, 300, 7080, 345);
    QLabel* percentSign = place(label(QStringLiteral("%"), m_percentageFrame), "percentSignLabel", 7440, 345, 135, 225);
    fitCaption(percentSign, innerRight(m_percentageFrame));

    m_entryFrame = place(frame(QStringLiteral("Commission Entry"), this), "entryFrame", 120, 2025, 7800, 2265);
    QLabel* nameLabel = place(label(QStringLiteral("Saleperson:"), m_entryFrame), "nameLabel", 195, 330, 2220, 225);
    m_nameEdit = place(new SelectAllLineEdit(m_entryFrame), "nameEdit", 2520, 285, 5010, 345);
    QLabel* totalLabel = place(label(QStringLiteral("Total Sales Amount:          $"), m_entryFrame), "totalLabel",
                               210, 780, 2250, 225);
    m_totalEdit = place(new SelectAllLineEdit(m_entryFrame), "totalEdit", 2520, 735, 5010, 345);
    QLabel* commissionLabel = place(label(QStringLiteral("Commission Amount:       $"), m_entryFrame),
                                    "commissionLabel", 210, 1245, 2235, 225);
    m_commissionEdit = place(new SelectAllLineEdit(m_entryFrame), "commissionEdit", 2520, 1200, 5010, 345);
    m_addRecordButton =
        place(commandButton(QStringLiteral("Add Record"), m_entryFrame), "addRecordButton", 240, 1680, 3600, 405);
    m_clearTextFieldsButton = place(commandButton(QStringLiteral("Clear Text Fields"), m_entryFrame),
                                    "clearTextFieldsButton", 3960, 1680, 3600, 405);

    for (QLabel* l : {nameLabel, totalLabel, commissionLabel}) fitCaption(l, m_nameEdit->x());
    nameLabel->setBuddy(m_nameEdit);
    totalLabel->setBuddy(m_totalEdit);
    commissionLabel->setBuddy(m_commissionEdit);

    m_deleteSelectedRecordButton = place(commandButton(QStringLiteral("Delete Selected Record"), this),
                                         "deleteSelectedRecordButton", 120, 4410, 7800, 405);
    m_recordList = place(new RecordListView(this), "recordList", 120, 4920, 7800, 2065);

    // Tab order: percentage, name, total, commission, Add Record, Clear Text Fields,
    // Delete Selected Record, the list, Clear/Reset Data, Load Sample/Example Data,
    // Start Creating Template.
    const QList<QWidget*> tabOrder = {m_percentageEdit,
                                      m_nameEdit,
                                      m_totalEdit,
                                      m_commissionEdit,
                                      m_addRecordButton,
                                      m_clearTextFieldsButton,
                                      m_deleteSelectedRecordButton,
                                      m_recordList,
                                      m_clearAllDataButton,
                                      m_loadSampleDataButton,
                                      m_startCreatingTemplateButton};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
    m_percentageEdit->setFocus();
    describeControls();
}

// Names for screen readers: the fields by their labels without the "$" and the
// colon (a field in a frame would otherwise be read by the frame's caption), and
// what the controls do where their names alone do not say. The buttons and frames
// are named by their captions. The list, whose style shows no focus, is ringed
// while it has it.
void MainWindow::describeControls() {
    const QString enterAdds = QStringLiteral("Enter adds the record");
    shell::describeControl(m_percentageEdit, QStringLiteral("Commission percentage"),
                           QStringLiteral("Commission percentage, 10 means 10 %"));
    shell::describeControl(m_nameEdit, QStringLiteral("Saleperson"), enterAdds);
    shell::describeControl(m_totalEdit, QStringLiteral("Total Sales Amount"),
                           QStringLiteral("In dollars; the commission is worked out as you type. ") + enterAdds);
    shell::describeControl(m_commissionEdit, QStringLiteral("Commission Amount"),
                           QStringLiteral("In dollars; worked out from the total and the percentage, may be typed over. ") +
                               enterAdds);
    // The list describes itself: the hint while it is empty, its keys once it has rows.
    m_recordList->setAccessibleName(QStringLiteral("Commission records"));
    shell::describeControl(m_addRecordButton, {}, QStringLiteral("Adds the record, or updates the record of the same name"));
    shell::describeControl(m_clearTextFieldsButton, {}, QStringLiteral("Empties the name, total and commission fields"));
    shell::describeControl(m_deleteSelectedRecordButton, {}, QStringLiteral("Removes the record selected in the list"));
    shell::describeControl(m_clearAllDataButton, {},
                           QStringLiteral("Removes every record and empties the percentage and the fields"));
    shell::describeControl(m_loadSampleDataButton, {}, QStringLiteral("Replaces the list with three sample records"));
    shell::describeControl(m_startCreatingTemplateButton, {},
                           QStringLiteral("Builds the commission workbook from the list and shows it"));
    (new shell::FocusRing(this))->watch(m_recordList);
}

void MainWindow::connectActions() {
    const std::pair<QPushButton*, void (MainWindow::*)()> commands[] = {
        {m_startCreatingTemplateButton, &MainWindow::startCreatingTemplate},
        {m_clearTextFieldsButton, &MainWindow::clearTextFields},
        {m_deleteSelectedRecordButton, &MainWindow::deleteSelectedRecord},
        {m_addRecordButton, &MainWindow::addRecord},
        {m_clearAllDataButton, &MainWindow::clearAllData},
        {m_loadSampleDataButton, &MainWindow::loadSampleData}};
    // Whatever a command's trap does not catch stays out of Qt's event loop.
    for (const auto& [button, command] : commands) {
        connect(button, &QPushButton::clicked, this,
                [this, run = command] { shell::untrapped([&] { (this->*run)(); }); });
        watchHover(button, HoverRule::ToCustom);
    }

    connect(m_percentageEdit, &QLineEdit::textChanged, this, [this] { percentageChanged(); });
    connect(m_percentageEdit, &SelectAllLineEdit::lostFocus, this, [this] { percentageEditingFinished(); });
    connect(m_totalEdit, &QLineEdit::textChanged, this, [this] { totalChanged(); });
    // Enter in the name, total or commission field is Add Record.
    for (SelectAllLineEdit* field : {m_nameEdit, m_totalEdit, m_commissionEdit})
        connect(field, &QLineEdit::returnPressed, m_addRecordButton, &QPushButton::click);
    // Enter on a row of the list is a click on it.
    connect(m_recordList, &QAbstractItemView::activated, this, &MainWindow::selectRecord);

    // A click on the list, on a row or beside the rows, once the selection has followed it.
    m_recordList->viewport()->installEventFilter(this);

    for (QWidget* w : std::initializer_list<QWidget*>{this, m_percentageFrame, m_entryFrame, m_recordList,
                                                       m_recordList->viewport(), m_recordList->header(),
                                                       m_percentageEdit, m_nameEdit, m_totalEdit,
                                                       m_commissionEdit})
        watchHover(w, HoverRule::ToDefault);
}

// --- records as the generator and the tests read them ---

CommissionRecord MainWindow::record(int position) const { return m_recordList->row(position); }

int MainWindow::recordCount() const { return m_recordList->rowCount(); }

QString MainWindow::recordName(int position) const { return record(position).saleperson; }

QString MainWindow::recordTotal(int position) const { return record(position).totalSalesAmount; }

QString MainWindow::percentageText() const { return m_percentageEdit->text(); }

// --- the pointer ---

void MainWindow::setBusyPointer() { setPointerShape(PointerShape::Busy); }

void MainWindow::setDefaultPointer() { setPointerShape(PointerShape::Default); }

void MainWindow::hideMainWindow() { hide(); }

void MainWindow::setPointerShape(PointerShape shape) {
    m_pointerShape = shape;
    switch (shape) {
    case PointerShape::Default: setCursor(Qt::ArrowCursor); break;
    case PointerShape::Busy: setCursor(Qt::WaitCursor); break;
    case PointerShape::Custom: setCursor(m_customPointer); break;
    }
    // Text fields show their own caret pointer, except under the hourglass.
    for (SelectAllLineEdit* field : {m_percentageEdit, m_nameEdit, m_totalEdit, m_commissionEdit})
        field->setCursor(shape == PointerShape::Busy ? Qt::WaitCursor : Qt::IBeamCursor);
}

void MainWindow::watchHover(QWidget* widget, HoverRule rule) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    m_hoverRules.insert(widget, rule);
}

void MainWindow::pointerMoved(HoverRule rule) {
    if (m_pointerShape == PointerShape::Busy) return;
    const PointerShape wanted = rule == HoverRule::ToCustom ? PointerShape::Custom : PointerShape::Default;
    if (m_pointerShape != wanted) setPointerShape(wanted);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    bool consumed = false;
    shell::untrapped([&] {
        if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
            if (auto* field = qobject_cast<SelectAllLineEdit*>(watched))
                consumed = routeUndoKey(field, static_cast<QKeyEvent*>(event));
        } else if (event->type() == QEvent::MouseMove) {
            const auto rule = m_hoverRules.constFind(watched);
            if (rule == m_hoverRules.constEnd()) return;
            pointerMoved(*rule);
            // A plain move ends here: a control that ignores it (a button does) must
            // not pass it on to its frame or the window, whose rule would undo this one.
            // The list's header keeps its moves for its resize pointer.
            consumed = static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton &&
                       watched != m_recordList->header();
        } else if (event->type() == QEvent::MouseButtonRelease && watched == m_recordList->viewport() &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            selectRecord();
        }
    });
    return consumed || QWidget::eventFilter(watched, event);
}

}  // namespace records
