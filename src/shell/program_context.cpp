#include "shell/program_context.h"

#include "shell/startup_services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace shell {
namespace {

// Where an installation puts the files the program ships, relative to the
// program's folder: bin/quenvale finds them in share/quenvale.
constexpr const char* kInstalledFilesFolder = "../share/quenvale";

}  // namespace

ProgramContext::ProgramContext(Dialogs& dialogs) : ProgramContext(dialogs, QCoreApplication::applicationDirPath()) {}

ProgramContext::ProgramContext(Dialogs& dialogs, QString programFolder)
    : m_dialogs(&dialogs), m_programFolder(std::move(programFolder)) {}

QString ProgramContext::programFile(const QString& name) const {
    const QString besideProgram = joinPath(m_programFolder, QDir::toNativeSeparators(name));
    if (QFileInfo::exists(besideProgram)) return besideProgram;
    const QString installed = QDir::toNativeSeparators(QDir::cleanPath(
        m_programFolder + QLatin1Char('/') + QLatin1String(kInstalledFilesFolder) + QLatin1Char('/') + name));
    if (QFileInfo::exists(installed)) return installed;
    return besideProgram;
}

}  // namespace shell
