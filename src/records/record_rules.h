#pragma once

#include <QString>
#include <optional>

// The rules a salesperson's name keeps wherever it comes from: typed in the main
// window, read from a CSV file, imported.
namespace records {

// Why the name cannot be listed, or nothing when it can: a name holding one of the
// stored list's separators (the list could not store it) or a character that a
// workbook cannot carry (see shell/storable_text.h). The reason is a phrase that
// follows a place in a file ("list.csv:3:1: ...") or goes into a message box.
std::optional<QString> nameRefusal(const QString& name);

}  // namespace records
