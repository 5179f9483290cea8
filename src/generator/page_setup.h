#pragma once

#include <QString>

namespace generator {

// The print area that the layout computes and page setup applies.
extern QString PrintAreaText;

// How ExcelApp's active sheet prints: PrintAreaText as print area, margins,
// landscape A4, fitted to one page.
void SetupPage();

}  // namespace generator
