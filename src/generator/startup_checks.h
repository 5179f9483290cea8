#pragma once

#include <QString>
#include <functional>

namespace generator {

class EngineSession;

// Ends the program at once, no window receiving its closing events.
using ProgramEnd = std::function<void()>;
// The default end: the process exits with status 0 and nothing is stored.
void endProgramAtOnce();

// Returns when the session can make an instance; otherwise shows the error 842001
// box and ends the program (endProgram, which normally does not return).
void ensureEngineAvailable(const EngineSession& session, const ProgramEnd& endProgram = endProgramAtOnce);

// Names the spreadsheet application the user has open, or throws when there is
// none. The built-in engine runs inside this program and shares no instance with
// any other, so by default there is never one; tests supply their own.
using RunningSpreadsheetProbe = std::function<QString()>;
QString noRunningSpreadsheet();

// Asks whether to go on when the probe finds the user's spreadsheet application
// open: true when the command is to stop (the user answered No), false when it is
// to go on (Yes, or nothing found; a failing probe counts as nothing found).
bool stopForRunningSpreadsheet(const RunningSpreadsheetProbe& probe = noRunningSpreadsheet);

}  // namespace generator
