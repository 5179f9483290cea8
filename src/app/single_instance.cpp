#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

namespace app {
namespace {

constexpr char kActivate[] = "activate\n";
// How long a second start waits for the first to listen (it may be starting too).
constexpr int kConnectWaitMs = 3000;
constexpr int kRetryMs = 50;

}  // namespace

SingleInstance::SingleInstance(const QString& settingsFolder) {
    const QString lockPath = QDir(settingsFolder).filePath(QStringLiteral("Quenvale.lock"));
    m_lock = std::make_unique<QLockFile>(lockPath);
    // Held for the program's life: only a lock whose holder has died is stale.
    m_lock->setStaleLockTime(0);
    // Socket names are short and per user: one per settings folder.
    m_serverName = QStringLiteral("quenvale-") +
                   QString::fromLatin1(QCryptographicHash::hash(lockPath.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kActivate)) emit activationRequested();
            });
        }
    });
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim() {
    QDir().mkpath(QFileInfo(m_lock->fileName()).absolutePath());
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() != QLockFile::LockFailedError) return true;  // nothing to guard with
        askHolderToActivate();
        return false;
    }
    QLocalServer::removeServer(m_serverName);  // left by a holder that died
    m_server.listen(m_serverName);
    return true;
}

bool SingleInstance::askHolderToActivate() const {
    const QDeadlineTimer deadline(kConnectWaitMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(kRetryMs)) {
            socket.write(kActivate);
            const bool sent = socket.waitForBytesWritten(kConnectWaitMs);
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(kRetryMs);
    }
    return false;
}

}  // namespace app
