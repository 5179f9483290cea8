#pragma once

#include <QString>
#include <QTemporaryDir>

// Gives a test its own settings store and temporary folder (TEMP), so no test
// touches the user's. Create one before the code under test runs.
class IsolatedEnvironment {
public:
    IsolatedEnvironment();
    ~IsolatedEnvironment();
    QString configFolder() const;
    QString tempFolder() const;
    // Drops every stored setting.
    void clearSettings();

private:
    QTemporaryDir m_root;
    QByteArray m_oldTemp;
    bool m_hadTemp;
};
