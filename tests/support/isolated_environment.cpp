#include "support/isolated_environment.h"

#include <QDir>
#include <QSettings>

IsolatedEnvironment::SavedVariable::SavedVariable(const char* variable)
    : name(variable), wasSet(qEnvironmentVariableIsSet(variable)), value(qgetenv(variable)) {}

void IsolatedEnvironment::SavedVariable::restore() const {
    if (wasSet)
        qputenv(name, value);
    else
        qunsetenv(name);
}

IsolatedEnvironment::IsolatedEnvironment() {
    QDir(m_root.path()).mkpath(QStringLiteral("config"));
    QDir(m_root.path()).mkpath(QStringLiteral("temp"));
    // The program's store lives under XDG_CONFIG_HOME; QSettings is pointed there too.
    qputenv("XDG_CONFIG_HOME", configFolder().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configFolder());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configFolder());
    qputenv("TEMP", tempFolder().toLocal8Bit());
}

IsolatedEnvironment::~IsolatedEnvironment() {
    m_temp.restore();
    m_configHome.restore();
}

QString IsolatedEnvironment::configFolder() const { return m_root.filePath(QStringLiteral("config")); }

QString IsolatedEnvironment::tempFolder() const { return m_root.filePath(QStringLiteral("temp")); }

void IsolatedEnvironment::clearSettings() {
    QDir(configFolder()).removeRecursively();
    QDir(m_root.path()).mkpath(QStringLiteral("config"));
}
