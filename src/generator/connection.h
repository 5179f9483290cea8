#pragma once

#include "engine/application.h"

#include <QString>
#include <functional>
#include <memory>

// Starting, finding, questioning and releasing instances of the spreadsheet
// application.
namespace generator {

// The generation run's instance; empty outside a run.
extern std::unique_ptr<engine::Application> ExcelApp;

// Makes a new instance; returns null (or throws) when none can be created.
using EngineFactory = std::function<std::unique_ptr<engine::Application>()>;
// Tests replace how instances are made; an empty function restores the built-in
// engine, which can always be created.
void setEngineFactory(EngineFactory factory);

// Attaches to an instance the user has running and returns its default property
// (its name); throws when there is none. The built-in engine has no shared
// instance, so by default nothing is ever found.
using RunningInstanceProbe = std::function<QString()>;
void setRunningInstanceProbe(RunningInstanceProbe probe);  // empty: the default

// Ends the program at once, with no window receiving its closing events. Tests
// replace it to observe the call; an empty function restores the default.
using ProgramEnd = std::function<void()>;
void setProgramEnd(ProgramEnd end);

// Returns when an instance can be created (releasing it at once); otherwise shows
// the error 842001 box and ends the program.
void CheckExcelCreatable();
// True when a running instance can be attached and reads "Microsoft Excel"; false
// otherwise, including every failure.
bool IsExcelRunning();
// Asks whether to go on when an instance is running: true when the command is to
// stop (the user answered No), false when it is to go on.
bool WarnIfExcelRunning();
// ExcelApp = a new instance; throws EngineError when none can be created.
void StartExcel();
// Drops ExcelApp (the instance was quit before).
void ReleaseExcel();
// A new instance in which Workbooks.Open has opened path; the caller owns and quits it.
std::unique_ptr<engine::Application> OpenWorkbookInNewExcel(const QString& path);
// The SaveAs file format for the instance's major version: Normal up to 11,
// Excel8 from 12. Without an instance a temporary one is asked. Throws when the
// version text is not a number.
engine::FileFormat SaveFormatForVersion(engine::Application* app);

}  // namespace generator
