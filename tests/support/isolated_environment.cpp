#include "support/isolated_environment.h"

#include <QDir>
#include <QSettings>

IsolatedEnvironment::IsolatedEnvironment()
    : m_oldTemp(qgetenv("TEMP")), m_hadTemp(qEnvironmentVariableIsSet("TEMP")) {
    QDir(m_root.path()).mkpath(QStringLiteral("config"));
    QDir(m_root.path()).mkpath(QStringLiteral("temp"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configFolder());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configFolder());
    qputenv("TEMP", tempFolder().toLocal8Bit());
}

IsolatedEnvironment::~IsolatedEnvironment() {
    if (m_hadTemp)
        qputenv("TEMP", m_oldTemp);
    else
        qunsetenv("TEMP");
}

QString IsolatedEnvironment::configFolder() const { return m_root.filePath(QStringLiteral("config")); }

QString IsolatedEnvironment::tempFolder() const { return m_root.filePath(QStringLiteral("temp")); }

void IsolatedEnvironment::clearSettings() {
    QDir(configFolder()).removeRecursively();
    QDir(m_root.path()).mkpath(QStringLiteral("config"));
}
