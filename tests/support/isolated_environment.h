#pragma once

#include <QString>
#include <QTemporaryDir>

// Gives a test its own settings store and temporary folder (TEMP), so no test
// touches the user's. Create one before the code under test runs.
class IsolatedEnvironment {
public:
    IsolatedEnvironment();
    ~IsolatedEnvironment();
    IsolatedEnvironment(const IsolatedEnvironment&) = delete;
    IsolatedEnvironment& operator=(const IsolatedEnvironment&) = delete;

    // The folder that holds the settings store (XDG_CONFIG_HOME while the object lives).
    QString configFolder() const;
    QString tempFolder() const;
    // Drops every stored setting.
    void clearSettings();

private:
    // An environment variable's value before the test, to put back afterwards.
    struct SavedVariable {
        explicit SavedVariable(const char* name);
        void restore() const;
        const char* name;
        bool wasSet;
        QByteArray value;
    };

    QTemporaryDir m_root;
    SavedVariable m_temp{"TEMP"};
    SavedVariable m_configHome{"XDG_CONFIG_HOME"};
};
