#pragma once

#include "generator/record_source.h"
#include "generator/run_windows.h"
#include "records/commission_record.h"
#include "shell/error_trap.h"
#include "shell/pointer_shape.h"
#include "shell/program_context.h"

#include <QCursor>
#include <QHash>
#include <QWidget>
#include <functional>

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QGroupBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QUndoStack;

namespace records {

using shell::PointerShape;

class ImportSource;
class PendingImport;
class RecordListView;
class StoredNumberTexts;
class SelectAllLineEdit;
struct ListState;

// What the main window asks of the workbook generator. The program wires the real
// routine; tests script it. An unset service does nothing.
struct MainWindowServices {
    // The generation run, from the records to the preview window.
    std::function<void()> runGeneration;
};

// The main window: the percentage field, the entry fields, the record list and the
// six command buttons. Construct it, run load(), then show it.
class MainWindow : public QWidget, public generator::RecordSource, public generator::MainWindowControl {
    Q_OBJECT
public:
    explicit MainWindow(shell::ProgramContext context, MainWindowServices services = {}, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The load sequence: skin, caption, pointer, palette, columns, saved list and
    // percentage.
    void load();
    // Writes the record list to the settings store (what a close request does);
    // false when it could not (the box has said why).
    bool storeRecordList();
    // Before the program ends: stores the list, or, when that fails, asks whether
    // to end anyway. False keeps the program running.
    bool storeRecordListBeforeEnd();

    // The records, 1-based.
    CommissionRecord record(int position) const;

    // generator::RecordSource
    int recordCount() const override;
    QString recordName(int position) const override;
    QString recordTotal(int position) const override;
    QString percentageText() const override;

    // generator::MainWindowControl
    void setBusyPointer() override;
    void setDefaultPointer() override;
    void hideMainWindow() override;

    // The window's pointer shape; hover handlers and commands consult it.
    PointerShape pointerShape() const { return m_pointerShape; }
    void setPointerShape(PointerShape shape);
    // The picture of the custom pointer (the hand cursor file, else the pointing hand).
    const QCursor& customPointer() const { return m_customPointer; }

    SelectAllLineEdit* percentageEdit() const { return m_percentageEdit; }
    SelectAllLineEdit* nameEdit() const { return m_nameEdit; }
    SelectAllLineEdit* totalEdit() const { return m_totalEdit; }
    SelectAllLineEdit* commissionEdit() const { return m_commissionEdit; }
    RecordListView* recordList() const { return m_recordList; }
    QPushButton* startCreatingTemplateButton() const { return m_startCreatingTemplateButton; }
    QPushButton* clearTextFieldsButton() const { return m_clearTextFieldsButton; }
    QPushButton* deleteSelectedRecordButton() const { return m_deleteSelectedRecordButton; }
    QPushButton* addRecordButton() const { return m_addRecordButton; }
    QPushButton* clearAllDataButton() const { return m_clearAllDataButton; }
    QPushButton* loadSampleDataButton() const { return m_loadSampleDataButton; }
    QGroupBox* percentageFrame() const { return m_percentageFrame; }
    QGroupBox* entryFrame() const { return m_entryFrame; }

    // The list's context menu: Import Records..., Paste Rows, Export Records...
    QAction* importAction() const { return m_importAction; }
    QAction* pasteAction() const { return m_pasteAction; }
    QAction* exportAction() const { return m_exportAction; }

    // The undo history of the commands that changed the rows or the percentage.
    // It lives as long as the window.
    const QUndoStack* undoHistory() const { return m_undoHistory; }

public slots:
    // The commands, as the buttons and the list run them.
    void startCreatingTemplate();
    void clearTextFields();
    void deleteSelectedRecord();
    void addRecord();
    void clearAllData();
    void loadSampleData();
    // Shows the selected row in the entry fields (a click on the list).
    void selectRecord();
    // Takes back the last list change, or makes it again; neither while a
    // generation run has the hourglass up.
    void undoListChange();
    void redoListChange();
    // Import Records...: a file chosen, read, previewed and applied as one undo step.
    void importRecords();
    // The file's records, previewed and applied as one undo step (a dropped file).
    void importFile(const QString& path);
    // Paste Rows: the clipboard's rows (tab-separated text, or an HTML table when
    // it holds no text), previewed and applied as one undo step.
    void pasteRows();
    // Export Records...: the list as a CSV file, written whole or not at all.
    void exportRecords();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // What a pointer move over a control does to the window's pointer.
    enum class HoverRule { ToCustom, ToDefault };
    // Records one command's change for undo (main_window_undo_step.h).
    class UndoStep;

    shell::Dialogs& dialogs() const { return m_context.dialogs(); }
    void createControls();
    void describeControls();
    void connectActions();
    void watchHover(QWidget* widget, HoverRule rule);
    void pointerMoved(HoverRule rule);
    void loadCustomPointer(const QString& cursorFile);
    void restoreSavedRecords(shell::Trap& trap, const QStringList& recordTexts, const StoredNumberTexts& stored,
                             QStringList& unreadable);
    QString encodedRecordList() const;

    // Undo and redo.
    void createUndoActions();
    ListState listState() const;
    bool routeUndoKey(QLineEdit* field, QKeyEvent* key);

    // Import, paste, drop and export (main_window_transfer.cpp).
    void createTransferActions();
    bool busy() const { return m_pointerShape == PointerShape::Busy; }
    void importFrom(ImportSource source, const QString& sourceName, const char* commandName);
    void applyImport(const PendingImport& pending, const char* commandName);

    // Record list helpers.
    void emptyEntryFields();
    bool refuseUnstorableTexts();

    // Entry-field rules.
    void percentageChanged();
    void percentageEditingFinished();
    void totalChanged();
    void showCommission(const QString& total, const QString& rate);

    shell::ProgramContext m_context;
    MainWindowServices m_services;
    PointerShape m_pointerShape = PointerShape::Default;
    QCursor m_customPointer{Qt::PointingHandCursor};
    QHash<QObject*, HoverRule> m_hoverRules;
    QUndoStack* m_undoHistory = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    bool m_undoStepOpen = false;
    bool m_percentageNotStoredSaid = false;
    QAction* m_importAction = nullptr;
    QAction* m_pasteAction = nullptr;
    QAction* m_exportAction = nullptr;

    QPushButton* m_startCreatingTemplateButton = nullptr;
    QPushButton* m_clearTextFieldsButton = nullptr;
    QPushButton* m_deleteSelectedRecordButton = nullptr;
    QPushButton* m_addRecordButton = nullptr;
    QPushButton* m_clearAllDataButton = nullptr;
    QPushButton* m_loadSampleDataButton = nullptr;
    QGroupBox* m_percentageFrame = nullptr;
    QGroupBox* m_entryFrame = nullptr;
    SelectAllLineEdit* m_percentageEdit = nullptr;
    SelectAllLineEdit* m_nameEdit = nullptr;
    SelectAllLineEdit* m_totalEdit = nullptr;
    SelectAllLineEdit* m_commissionEdit = nullptr;
    RecordListView* m_recordList = nullptr;
};

}  // namespace records
