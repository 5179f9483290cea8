#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

namespace app {

// One main window per user: the first program to start holds a lock beside the
// settings store and listens on a local socket named after it; a later start
// asks that one to bring its window to the front, and ends. The command line
// takes no part: it runs beside the windows and only reads the store.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // Guards the store in the given folder (the settings folder of the program).
    explicit SingleInstance(const QString& settingsFolder);
    ~SingleInstance() override;

    // True when this program may open its windows: it holds the lock now, or the
    // lock cannot be had at all (a folder that cannot be written: nothing to
    // guard). False when another program holds it; that one has been asked to
    // come to the front.
    bool claim();

signals:
    // Another start asked for the windows.
    void activationRequested();

private:
    bool askHolderToActivate() const;

    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};

}  // namespace app
