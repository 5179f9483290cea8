#include "records/form1.h"

#include "records/record_list_view.h"
#include "records/select_all_line_edit.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QGroupBox>
#include <QPushButton>

namespace records {

Form1::Form1(Form1Services services, QWidget* parent) : QWidget(parent), m_services(std::move(services)) {
    if (!m_services.checkExcelCreatable) m_services.checkExcelCreatable = [] {};
    if (!m_services.warnIfExcelRunning) m_services.warnIfExcelRunning = [] { return false; };
    if (!m_services.generateReport) m_services.generateReport = [] {};
    BuildControls();
    ConnectHandlers();
}

Form1::~Form1() = default;

void Form1::ConnectHandlers() {
    connect(m_pushButton1, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(m_pushButton2, &QPushButton::clicked, this, [this] { PushButton2_Click(); });
    connect(m_pushButton3, &QPushButton::clicked, this, [this] { PushButton3_Click(); });
    connect(m_pushButton4, &QPushButton::clicked, this, [this] { PushButton4_Click(); });
    connect(m_pushButton5, &QPushButton::clicked, this, [this] { PushButton5_Click(); });
    connect(m_pushButton6, &QPushButton::clicked, this, [this] { PushButton6_Click(); });

    connect(m_txtCommissionrate, &QLineEdit::textChanged, this, [this] { txtCommissionrate_Change(); });
    connect(m_txtCommissionrate, &SelectAllLineEdit::lostFocus, this, [this] { txtCommissionrate_LostFocus(); });
    connect(m_txtTotalSalesAmount, &QLineEdit::textChanged, this, [this] { txtTotalSalesAmount_Change(); });

    // A click on the list, on a row or beside the rows, once the selection has followed it.
    m_listView1->viewport()->installEventFilter(this);

    for (QPushButton* button : {m_pushButton1, m_pushButton2, m_pushButton3, m_pushButton4, m_pushButton5,
                                m_pushButton6})
        WatchHover(button, HoverRule::ToCustom);
    for (QWidget* w : std::initializer_list<QWidget*>{this, m_frame1, m_frame5, m_listView1,
                                                       m_listView1->viewport(), m_listView1->header(),
                                                       m_txtCommissionrate, m_txtSaleperson,
                                                       m_txtTotalSalesAmount, m_txtCommission})
        WatchHover(w, HoverRule::ToDefault);
}

// --- records as the generator and the tests read them ---

int Form1::RowCount() const { return m_listView1->RowCount(); }

CommissionRecord Form1::Row(int position) const { return m_listView1->Row(position); }

int Form1::recordCount() const { return RowCount(); }

QString Form1::recordName(int i) const { return Row(i).saleperson; }

QString Form1::recordTotal(int i) const { return Row(i).totalSalesAmount; }

QString Form1::percentageText() const { return m_txtCommissionrate->text(); }

// --- the pointer ---

void Form1::setBusyPointer() { SetMousePointer(PointerShape::Busy); }

void Form1::setDefaultPointer() { SetMousePointer(PointerShape::Default); }

void Form1::hideMainWindow() { hide(); }

void Form1::SetMousePointer(PointerShape shape) {
    m_pointer = shape;
    switch (shape) {
    case PointerShape::Default: setCursor(Qt::ArrowCursor); break;
    case PointerShape::Busy: setCursor(Qt::WaitCursor); break;
    case PointerShape::Custom: setCursor(m_customPointer); break;
    }
    // Text fields show their own caret pointer, except under the hourglass.
    for (SelectAllLineEdit* field : {m_txtCommissionrate, m_txtSaleperson, m_txtTotalSalesAmount, m_txtCommission})
        field->setCursor(shape == PointerShape::Busy ? Qt::WaitCursor : Qt::IBeamCursor);
}

void Form1::WatchHover(QWidget* widget, HoverRule rule) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    m_hoverRules.insert(widget, rule);
}

void Form1::OnPointerMove(HoverRule rule) {
    if (m_pointer == PointerShape::Busy) return;
    const PointerShape wanted = rule == HoverRule::ToCustom ? PointerShape::Custom : PointerShape::Default;
    if (m_pointer != wanted) SetMousePointer(wanted);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    bool consumed = false;
    shell::untrapped([&] {
        if (event->type() == QEvent::MouseMove) {
            const auto rule = m_hoverRules.constFind(watched);
            if (rule == m_hoverRules.constEnd()) return;
            OnPointerMove(*rule);
            // A plain move ends here: a control that ignores it (a button does) must
            // not pass it on to its frame or the window, whose rule would undo this one.
            // The list's header keeps its moves for its resize pointer.
            consumed = static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton &&
                       watched != m_listView1->header();
        } else if (event->type() == QEvent::MouseButtonRelease && watched == m_listView1->viewport() &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            ListView1_Click();
        }
    });
    return consumed || QWidget::eventFilter(watched, event);
}

}  // namespace records
