#pragma once

#include <QAccessible>
#include <QList>
#include <QString>

class QWidget;

// What a screen reader finds for a control.
struct AccessibleControl {
    QWidget* control;
    QAccessible::Role role;
    QString name;
};

// A window as keyboard and screen-reader users meet it: each control has its
// accessible role and name; Tab (sent through the window) from the first of
// `tabStops` passes them in order and back, each looking different with the focus
// than with none; every visible label, push button, frame title and list header
// has its caption's room at the fonts and style in use. Fails the running test.
void verifyControls(QWidget* window, const QList<AccessibleControl>& tabStops,
                    const QList<AccessibleControl>& others);
