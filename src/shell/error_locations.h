#pragma once

#include <QString>

// The error location of every trapped procedure, as the error box names it.
namespace shell::loc {

#define QUENVALE_LOCATION(ident, text) inline const QString ident = QStringLiteral("in Marrowby2021/08/31." text " ")

QUENVALE_LOCATION(Form1_Form_Load, "Form1.Form_Load");
QUENVALE_LOCATION(Form1_Form_QueryUnload, "Form1.Form_QueryUnload");
QUENVALE_LOCATION(Form1_PushButton1_Click, "Form1.PushButton1_Click");
QUENVALE_LOCATION(Form1_PushButton2_Click, "Form1.PushButton2_Click");
QUENVALE_LOCATION(Form1_PushButton3_Click, "Form1.PushButton3_Click");
QUENVALE_LOCATION(Form1_PushButton4_Click, "Form1.PushButton4_Click");
QUENVALE_LOCATION(Form1_PushButton5_Click, "Form1.PushButton5_Click");
QUENVALE_LOCATION(Form1_PushButton6_Click, "Form1.PushButton6_Click");
QUENVALE_LOCATION(Commission_GenerateReport0, "Commission.GenerateReport0");
QUENVALE_LOCATION(Excel1_saveCellsActivesheet, "Excel1.saveCellsActivesheet");
QUENVALE_LOCATION(Form2_Form_Activate, "Form2.Form_Activate");
QUENVALE_LOCATION(Form2_RedrawImage, "Form2.RedrawImage");
QUENVALE_LOCATION(Form2_PushButton1_Click, "Form2.PushButton1_Click");
QUENVALE_LOCATION(Form2_PushButton2_Click, "Form2.PushButton2_Click");
QUENVALE_LOCATION(Form2_picture1_MouseDown, "Form2.picture1_MouseDown");
QUENVALE_LOCATION(Form2_picture1_MouseMove, "Form2.picture1_MouseMove");
QUENVALE_LOCATION(Form2_Picture1_MouseUp, "Form2.Picture1_MouseUp");
QUENVALE_LOCATION(Form2_Form_Load, "Form2.Form_Load");
QUENVALE_LOCATION(Form2_Form_QueryUnload, "Form2.Form_QueryUnload");
QUENVALE_LOCATION(Form2_PushButton6_Click, "Form2.PushButton6_Click");
QUENVALE_LOCATION(Form2_PushButton8_Click, "Form2.PushButton8_Click");

#undef QUENVALE_LOCATION

}  // namespace shell::loc
