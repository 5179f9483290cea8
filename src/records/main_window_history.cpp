// Undo and redo of the list commands. Each command that changed the rows or the
// percentage is one step on the window's undo stack. The keys are the platform's
// undo and redo keys, always with Ctrl+Z for undo and Ctrl+Shift+Z and Ctrl+Y for
// redo. In a text field they undo the field's own typing while it has any to undo
// (or redo), and the list's commands otherwise. While the hourglass is up they do
// nothing.
#include "records/main_window_undo_step.h"

#include "records/record_list_view.h"
#include "records/select_all_line_edit.h"
#include "shell/error_trap.h"

#include <QAction>
#include <QKeyEvent>
#include <QUndoStack>

namespace records {
namespace {

QList<QKeySequence> keysFor(QKeySequence::StandardKey standard, std::initializer_list<QKeySequence> always) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    for (const QKeySequence& key : always)
        if (!keys.contains(key)) keys.append(key);
    return keys;
}

bool isOneOf(const QKeyEvent* key, const QList<QKeySequence>& keys) {
    return keys.contains(QKeySequence(key->keyCombination()));
}

}  // namespace

MainWindow::UndoStep::UndoStep(MainWindow& window, const char* commandName)
    : m_window(window), m_commandName(commandName) {
    // Without the state before, the command runs unrecorded.
    m_recording = !window.m_undoStepOpen && shell::untrapped([&] { m_before = m_window.listState(); });
    if (m_recording) m_window.m_undoStepOpen = true;
}

MainWindow::UndoStep::~UndoStep() {
    if (!m_recording) return;
    m_window.m_undoStepOpen = false;
    // A step that cannot be recorded leaves the command's change in place.
    shell::untrapped([&] {
        auto change = ListChange::between(QString::fromLatin1(m_commandName), m_before, m_window.listState(),
                                          *m_window.m_recordList, *m_window.m_percentageEdit);
        if (change) m_window.m_undoHistory->push(change.release());
    });
}

ListState MainWindow::listState() const {
    return {m_recordList->rows(), m_recordList->selectedPosition(), m_percentageEdit->text()};
}

void MainWindow::createUndoActions() {
    m_undoHistory = new QUndoStack(this);
    m_undoAction = new QAction(QStringLiteral("Undo"), this);
    m_undoAction->setShortcuts(keysFor(QKeySequence::Undo, {QKeySequence(Qt::CTRL | Qt::Key_Z)}));
    m_redoAction = new QAction(QStringLiteral("Redo"), this);
    m_redoAction->setShortcuts(keysFor(
        QKeySequence::Redo, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    for (QAction* action : {m_undoAction, m_redoAction}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    // The text fields' own undo keys pass through eventFilter() to routeUndoKey().
    for (SelectAllLineEdit* field : {m_percentageEdit, m_nameEdit, m_totalEdit, m_commissionEdit})
        field->installEventFilter(this);
    connect(m_undoAction, &QAction::triggered, this, &MainWindow::undoListChange);
    connect(m_redoAction, &QAction::triggered, this, &MainWindow::redoListChange);
}

void MainWindow::undoListChange() {
    if (m_pointerShape == PointerShape::Busy) return;
    shell::untrapped([&] { m_undoHistory->undo(); });
}

void MainWindow::redoListChange() {
    if (m_pointerShape == PointerShape::Busy) return;
    shell::untrapped([&] { m_undoHistory->redo(); });
}

// A text field takes the undo and redo keys itself (the shortcut override) only
// while it has typing to undo or redo; otherwise they reach the window's actions.
// Returns true when the event is dealt with here.
bool MainWindow::routeUndoKey(QLineEdit* field, QKeyEvent* key) {
    const bool isUndo = isOneOf(key, m_undoAction->shortcuts());
    if (!isUndo && !isOneOf(key, m_redoAction->shortcuts())) return false;
    const bool fieldHasSome = isUndo ? field->isUndoAvailable() : field->isRedoAvailable();

    if (key->type() == QEvent::ShortcutOverride) {
        key->setAccepted(fieldHasSome);
        return true;
    }
    if (m_pointerShape == PointerShape::Busy) return true;
    if (!fieldHasSome)
        isUndo ? undoListChange() : redoListChange();
    else if (isUndo)
        field->undo();
    else
        field->redo();
    return true;
}

}  // namespace records
