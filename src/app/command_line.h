#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QTextStream;

// The program as a command line for scripts: it builds the commission workbook
// from a CSV file or the stored list, through the same generation run as the
// windows, and writes the workbook, its print as PDF and the preview's picture
// where asked (at least one of them), without a window or a display:
//
//   quenvale [--records list.csv] [--percent 10] [--output sheet.xls|sheet.xlsx]
//            [--pdf sheet.pdf] [--picture sheet.png]
namespace app {

// Exit statuses.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // bad input, or a file not written
inline constexpr int kExitUsage = 2;    // the command line itself is wrong

// True when the program was started with any argument: it then runs as a command
// line and opens no window.
bool startsAsCommandLine(int argc);

// Before the application object exists: the command line draws on Qt's offscreen
// platform unless the user chose one, and Qt's own debug messages and warnings
// (such as the offscreen platform's note on XDG_RUNTIME_DIR) stay off the error
// stream, which carries one line per error for scripts to read.
void prepareCommandLine();

// What the options ask for.
struct CommandLineRequest {
    std::optional<QString> recordsFile;  // none: the list kept in the settings store
    std::optional<QString> percentage;   // none: the percentage kept in the settings store
    // The files to write; empty when not asked for (at least one is).
    QString output;   // the workbook; .xlsx (any case) or else .xls
    QString pdf;      // the sheet's print, as the preview prints it
    QString picture;  // the preview's picture at zoom 1, as PNG
};

struct ParsedCommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, UsageError };
    Action action = Action::UsageError;
    CommandLineRequest request;  // for Run
    QString error;               // for UsageError
    QString helpText;            // the usage, for ShowHelp and UsageError
};

// Reads the arguments (the program's name first, Qt's own options already taken
// out by the application object). An unknown option, a stray argument, an option
// given twice, none of --output, --pdf and --picture, an empty file name, two
// options naming the same file (by any names, links followed), a file to write
// that is the settings store, or a --percent that is no number under the user's
// locale is a usage error.
ParsedCommandLine parseCommandLine(const QStringList& arguments);

// Parses and runs the command line; returns the exit status. Help and version go
// to out; every error is one line on err (a usage error adds the usage). Every
// file to write is checked before the run (its folder exists and takes a new
// file, no folder, device, pipe or socket stands there); the files are written
// only when the run succeeded, each whole or not at all (a file that fails
// leaves the one it would replace as it was, and the error names the files
// written before it and those not written), and the run's temporary workbook is
// removed either way. Leftovers of earlier runs in the temporary folder are
// removed first (see generator::removeStaleTemporaryFiles).
int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace app
