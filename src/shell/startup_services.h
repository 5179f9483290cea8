#pragma once

#include <QColor>
#include <QString>

class QWidget;

// Start-up services and window utilities shared by both windows and the generator.
namespace shell {

inline constexpr const char* kProductName = "Quenvale";

// The skin among the program's own files (ProgramContext::programFile).
inline constexpr const char* kSkinFile = "x/o.cjs";

// Skin: a Qt style sheet (the program's x/o.cjs). Absent or hidden: nothing
// changes. Present: the main window and its frames, labels, option buttons, check
// boxes and picture boxes take the button-face colour, then the sheet is applied
// to the window; an unreadable sheet fails (after the colours changed).
void applySkin(QWidget& mainWindow, const QString& skinFile);
// The button-face colour for a window and its option buttons, check boxes, frames
// and labels.
void applyFaceColor(QWidget& window);
// The button-face colour of the user's colour scheme.
QColor buttonFaceColor();

// The application title, which titles every box that names no title of its own:
// the product name by the title rule.
QString appTitle();
// The title rule on any name: cut at the last blank at least once, then while
// longer than 40 characters. A name without a blank keeps its word.
QString titleFromName(const QString& name);

// True when path names an existing file; false for anything else, never a failure.
bool fileExists(const QString& path);
// Lets pending window events run once, then deletes the file; never reports.
void deleteFileQuietly(const QString& path);
// Deletes the file even when read-only; throws Failure when it cannot.
void forceDeleteFile(const QString& path);

// The temporary folder: TEMP, read at each use; where unset or empty, a private
// per-user folder under the system's temporary folder (created owner-only).
QString tempFolder();
// folder + platform separator + name.
QString joinPath(const QString& folder, const QString& name);

}  // namespace shell
