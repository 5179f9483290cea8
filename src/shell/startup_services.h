#pragma once

#include <QColor>
#include <QString>

class QWidget;

// Start-up services and window utilities shared by both windows and the generator.
namespace shell {

inline constexpr const char* kProductName = "Quenvale";

// The folder that holds the program's executable.
QString programFolder();
// One of the program's own files: name is a relative path written with "/"
// ("HAND-M.CUR", "x/o.cjs"). A file (or folder) of that name in the program's
// folder comes first; failing that, the copy an installation puts in
// ../share/quenvale beside the program's folder; failing both, the path in the
// program's folder, so that callers find nothing there.
QString programFile(const QString& name);
// Tests point the program folder elsewhere; the empty text restores the real one.
void setProgramFolderForTesting(const QString& folder);

// Skin: a Qt style sheet in x/o.cjs beside the program. Absent or hidden: nothing
// changes. Present: the window and its frames, labels, option buttons, check boxes
// and picture boxes take the button-face colour, then the sheet is applied to the
// window; an unreadable sheet fails (after the colours changed).
void applySkin(QWidget* form1);
// The button-face colour for a window and its option buttons, check boxes, frames
// and labels.
void applyFaceColor(QWidget* window);
// The button-face colour of the user's colour scheme.
QColor buttonFaceColor();

// Sets the application title from the product name; appTitle() reads it.
void setAppTitle();
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
