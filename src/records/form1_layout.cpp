// The main window's controls as designed: kinds, captions, twips geometry, fonts,
// colours and tab order.
#include "records/form1.h"
#include "records/record_list_view.h"
#include "records/select_all_line_edit.h"
#include "shell/startup_services.h"
#include "shell/twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace records {
namespace {

constexpr int kClientWidthTwips = 8040;
constexpr int kClientHeightTwips = 7095;

QFont arialBold(qreal points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

template <typename W>
W* place(W* widget, int left, int top, int width, int height) {
    widget->setGeometry(shell::TwipsRect(left, top, width, height));
    return widget;
}

void fillWith(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QPushButton* commandButton(const QString& caption, QWidget* container) {
    auto* button = new QPushButton(caption, container);
    button->setFont(arialBold(11.25));
    return button;
}

QLabel* label(const QString& caption, QWidget* container) {
    auto* l = new QLabel(caption, container);
    l->setTextFormat(Qt::PlainText);  // keeps the runs of blanks inside captions
    fillWith(l, Qt::white);
    return l;
}

// This platform's Arial (a metric twin) draws a few pixels wider than the
// designed labels allow, which would cut the "$" at their ends: a label whose
// caption does not fit grows to the right, up to the field beside it.
void fitCaption(QLabel* label, int rightLimitTwips) {
    const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 1;
    const int limit = shell::TwipsToPixels(rightLimitTwips) - label->x();
    if (needed > label->width()) label->resize(qMin(needed, limit), label->height());
}

QGroupBox* frame(const QString& caption, QWidget* container) {
    auto* f = new QGroupBox(caption, container);
    fillWith(f, Qt::white);
    return f;
}

}  // namespace

void Form1::BuildControls() {
    setObjectName(QStringLiteral("Form1"));
    setFont(arialBold(9));
    setFixedSize(shell::TwipsToPixels(kClientWidthTwips), shell::TwipsToPixels(kClientHeightTwips));
    fillWith(this, shell::ButtonFaceColor());

    m_pushButton1 = place(commandButton(QStringLiteral("Start Creating Template"), this), 120, 120, 7800, 400);
    m_pushButton5 = place(commandButton(QStringLiteral("Clear/Reset Data"), this), 120, 630, 3840, 405);
    m_pushButton6 = place(commandButton(QStringLiteral("Load Sample/Example Data"), this), 4080, 630, 3840, 405);

    m_frame1 = place(frame(QStringLiteral("Commission percentage"), this), 120, 1110, 7800, 825);
    m_txtCommissionrate = place(new SelectAllLineEdit(QStringLiteral("10"), m_frame1), 240, 300, 7080, 345);
    m_label2 = place(label(QStringLiteral("%"), m_frame1), 7440, 345, 135, 225);

    m_frame5 = place(frame(QStringLiteral("Commission Entry"), this), 120, 2025, 7800, 2265);
    m_label22 = place(label(QStringLiteral("Saleperson:"), m_frame5), 195, 330, 2220, 225);
    m_txtSaleperson = place(new SelectAllLineEdit(m_frame5), 2520, 285, 5010, 345);
    m_label5 = place(label(QStringLiteral("Total Sales Amount:          $"), m_frame5), 210, 780, 2250, 225);
    m_txtTotalSalesAmount = place(new SelectAllLineEdit(m_frame5), 2520, 735, 5010, 345);
    m_label1 = place(label(QStringLiteral("Commission Amount:       $"), m_frame5), 210, 1245, 2235, 225);
    m_txtCommission = place(new SelectAllLineEdit(m_frame5), 2520, 1200, 5010, 345);
    m_pushButton4 = place(commandButton(QStringLiteral("Add Record"), m_frame5), 240, 1680, 3600, 405);
    m_pushButton2 = place(commandButton(QStringLiteral("Clear Text Fields"), m_frame5), 3960, 1680, 3600, 405);

    for (QLabel* l : {m_label22, m_label5, m_label1}) fitCaption(l, 2520);

    m_pushButton3 = place(commandButton(QStringLiteral("Delete Selected Record"), this), 120, 4410, 7800, 405);
    m_listView1 = place(new RecordListView(this), 120, 4920, 7800, 2065);

    const std::pair<QPushButton**, const char*> buttons[] = {
        {&m_pushButton1, "PushButton1"}, {&m_pushButton2, "PushButton2"}, {&m_pushButton3, "PushButton3"},
        {&m_pushButton4, "PushButton4"}, {&m_pushButton5, "PushButton5"}, {&m_pushButton6, "PushButton6"}};
    for (const auto& [button, name] : buttons) (*button)->setObjectName(QLatin1String(name));
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    m_frame5->setObjectName(QStringLiteral("Frame5"));
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label5->setObjectName(QStringLiteral("Label5"));
    m_label22->setObjectName(QStringLiteral("Label22"));
    m_txtCommissionrate->setObjectName(QStringLiteral("txtCommissionrate"));
    m_txtSaleperson->setObjectName(QStringLiteral("txtSaleperson"));
    m_txtTotalSalesAmount->setObjectName(QStringLiteral("txtTotalSalesAmount"));
    m_txtCommission->setObjectName(QStringLiteral("txtCommission"));
    m_listView1->setObjectName(QStringLiteral("ListView1"));

    // Tab order: percentage, name, total, commission, Add Record, Clear Text Fields,
    // Delete Selected Record, the list, Clear/Reset Data, Load Sample/Example Data,
    // Start Creating Template.
    const QList<QWidget*> tabOrder = {m_txtCommissionrate, m_txtSaleperson, m_txtTotalSalesAmount,
                                      m_txtCommission,     m_pushButton4,   m_pushButton2,
                                      m_pushButton3,       m_listView1,     m_pushButton5,
                                      m_pushButton6,       m_pushButton1};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
    m_txtCommissionrate->setFocus();
}

}  // namespace records
