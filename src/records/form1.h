#pragma once

#include "generator/record_source.h"
#include "generator/run_windows.h"
#include "records/commission_record.h"
#include "records/form1_services.h"
#include "shell/pointer_shape.h"
#include "shell/error_trap.h"

#include <QCursor>
#include <QHash>
#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

namespace records {

using shell::PointerShape;

class RecordListView;
class SelectAllLineEdit;

// The main window: the percentage field, the entry fields, the record list and the
// six command buttons. Construct it, run Form_Load(), then show it.
class Form1 : public QWidget, public generator::RecordSource, public generator::MainWindowControl {
    Q_OBJECT
public:
    explicit Form1(Form1Services services = {}, QWidget* parent = nullptr);
    ~Form1() override;

    // The load sequence: skin, caption, pointer, palette, columns, saved list and
    // percentage, start-up check.
    void Form_Load();
    // Writes the record list to the settings store (what a close request does).
    void StoreRecordList();

    // Command handlers, as the buttons and the list run them.
    void PushButton1_Click();  // Start Creating Template
    void PushButton2_Click();  // Clear Text Fields
    void PushButton3_Click();  // Delete Selected Record
    void PushButton4_Click();  // Add Record
    void PushButton5_Click();  // Clear/Reset Data
    void PushButton6_Click();  // Load Sample/Example Data
    void ListView1_Click();

    // The window's pointer shape; hover handlers and commands consult it.
    PointerShape MousePointer() const { return m_pointer; }
    void SetMousePointer(PointerShape shape);
    // The picture of the custom pointer (the hand cursor file, else the pointing hand).
    const QCursor& CustomPointer() const { return m_customPointer; }

    // The records, 1-based.
    int RowCount() const;
    CommissionRecord Row(int position) const;

    // generator::RecordSource
    int recordCount() const override;
    QString recordName(int i) const override;
    QString recordTotal(int i) const override;
    QString percentageText() const override;

    // generator::MainWindowControl
    void setBusyPointer() override;
    void setDefaultPointer() override;
    void hideMainWindow() override;

    // Controls by their designer names.
    SelectAllLineEdit* txtSaleperson() const { return m_txtSaleperson; }
    SelectAllLineEdit* txtTotalSalesAmount() const { return m_txtTotalSalesAmount; }
    SelectAllLineEdit* txtCommission() const { return m_txtCommission; }
    SelectAllLineEdit* txtCommissionrate() const { return m_txtCommissionrate; }
    RecordListView* ListView1() const { return m_listView1; }
    QPushButton* PushButton1() const { return m_pushButton1; }
    QPushButton* PushButton2() const { return m_pushButton2; }
    QPushButton* PushButton3() const { return m_pushButton3; }
    QPushButton* PushButton4() const { return m_pushButton4; }
    QPushButton* PushButton5() const { return m_pushButton5; }
    QPushButton* PushButton6() const { return m_pushButton6; }
    QGroupBox* Frame1() const { return m_frame1; }
    QGroupBox* Frame5() const { return m_frame5; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a pointer move over a control does to the window's pointer.
    enum class HoverRule { ToCustom, ToDefault };

    void BuildControls();
    void ConnectHandlers();
    void WatchHover(QWidget* widget, HoverRule rule);
    void OnPointerMove(HoverRule rule);
    void LoadCustomPointer();
    void DecodeSavedRecords(shell::Trap& trap, const QStringList& recordTexts);

    // Record list helpers.
    bool SalespersonInList(const QString& name) const;
    void ClearTextFields();
    bool RefuseUnstorableTexts();

    // Entry-field rules.
    void txtCommissionrate_Change();
    void txtCommissionrate_LostFocus();
    void txtTotalSalesAmount_Change();
    void ShowCommission(const QString& total, const QString& rate);

    Form1Services m_services;
    PointerShape m_pointer = PointerShape::Default;
    QCursor m_customPointer{Qt::PointingHandCursor};
    QHash<QObject*, HoverRule> m_hoverRules;

    QPushButton* m_pushButton1 = nullptr;
    QPushButton* m_pushButton2 = nullptr;
    QPushButton* m_pushButton3 = nullptr;
    QPushButton* m_pushButton4 = nullptr;
    QPushButton* m_pushButton5 = nullptr;
    QPushButton* m_pushButton6 = nullptr;
    QGroupBox* m_frame1 = nullptr;
    QGroupBox* m_frame5 = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QLabel* m_label5 = nullptr;
    QLabel* m_label22 = nullptr;
    SelectAllLineEdit* m_txtCommissionrate = nullptr;
    SelectAllLineEdit* m_txtSaleperson = nullptr;
    SelectAllLineEdit* m_txtTotalSalesAmount = nullptr;
    SelectAllLineEdit* m_txtCommission = nullptr;
    RecordListView* m_listView1 = nullptr;
};

}  // namespace records
