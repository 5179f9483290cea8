#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QTextStream;

// The program as a command line for scripts: it builds the commission workbook
// from a CSV file or the stored list, through the same generation run as the
// windows, and writes it where asked, without a window or a display:
//
//   quenvale [--records list.csv] [--percent 10] --output sheet.xls|sheet.xlsx
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
    QString output;                      // the workbook; .xlsx (any case) or else .xls
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
// given twice, a missing --output, an empty file name or a --percent that is no
// number under the user's locale is a usage error.
ParsedCommandLine parseCommandLine(const QStringList& arguments);

// Parses and runs the command line; returns the exit status. Help and version go
// to out; every error is one line on err (a usage error adds the usage). On any
// failure nothing is written at the output and the run's temporary workbook is
// removed.
int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace app
