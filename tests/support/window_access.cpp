#include "support/window_access.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyleOption>
#include <QTest>
#include <QWindow>

namespace {

// The window's pixels around a control, a little beyond its edges.
QImage around(QWidget* window, QWidget* control) {
    return window->grab(QRect(control->mapTo(window, QPoint(0, 0)), control->size()).adjusted(-4, -4, 4, 4)).toImage();
}

void checkRoom(QStringList& misfits, const QWidget* control, const QString& caption, const QRect& room) {
    const QSize needed(control->fontMetrics().horizontalAdvance(caption), control->fontMetrics().height());
    if (needed.width() > room.width() || needed.height() > room.height())
        misfits << QStringLiteral("%1 \"%2\" needs %3 x %4 in %5 x %6")
                       .arg(control->objectName(), caption)
                       .arg(needed.width())
                       .arg(needed.height())
                       .arg(room.width())
                       .arg(room.height());
}

// The captions wider or taller than the room their style gives them, as text.
QStringList captionsThatDoNotFit(QWidget* window) {
    QStringList misfits;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(window)) continue;
        QStyle* const style = control->style();
        if (auto* label = qobject_cast<QLabel*>(control)) {
            checkRoom(misfits, label, label->text(), label->contentsRect());
        } else if (auto* button = qobject_cast<QPushButton*>(control)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            checkRoom(misfits, button, option.text,
                      style->subElementRect(QStyle::SE_PushButtonContents, &option, button));
        } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
            QStyleOptionGroupBox option;
            option.initFrom(frame);
            option.text = frame->title();
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            const QRect title = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
            checkRoom(misfits, frame, option.text, title.intersected(frame->rect()));
        } else if (auto* header = qobject_cast<QHeaderView*>(control)) {
            for (int section = 0; section < header->count(); ++section) {
                QStyleOptionHeader option;
                option.initFrom(header);
                option.section = section;
                option.text = header->model()->headerData(section, header->orientation()).toString();
                option.rect = QRect(header->sectionViewportPosition(section), 0, header->sectionSize(section),
                                    header->height());
                checkRoom(misfits, header, option.text, style->subElementRect(QStyle::SE_HeaderLabel, &option, header));
            }
        }
    }
    return misfits;
}

}  // namespace

void verifyControls(QWidget* window, const QList<AccessibleControl>& tabStops, const QList<AccessibleControl>& others) {
    for (const auto& [control, role, name] : tabStops + others) {
        QCOMPARE(QAccessible::queryAccessibleInterface(control)->role(), role);
        QCOMPARE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), name);
    }
    QList<QWidget*> passed;
    QList<QImage> focused;
    tabStops.first().control->setFocus(Qt::TabFocusReason);
    do {
        passed << QApplication::focusWidget();
        focused << around(window, passed.last());
        QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
    } while (QApplication::focusWidget() != passed.first() && passed.size() <= tabStops.size());
    QList<QWidget*> expected;
    for (const AccessibleControl& stop : tabStops) expected << stop.control;
    QCOMPARE(passed, expected);
    passed.first()->clearFocus();
    for (qsizetype i = 0; i < passed.size(); ++i)
        QVERIFY2(around(window, passed[i]) != focused[i], qPrintable(passed[i]->objectName() + " shows no focus"));

    const QStringList misfits = captionsThatDoNotFit(window);
    QVERIFY2(misfits.isEmpty(), qPrintable(misfits.join(QLatin1Char('\n'))));
}
