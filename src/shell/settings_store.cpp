#include "shell/settings_store.h"

#include "shell/atomic_file.h"
#include "shell/failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QLockFile>
#include <QStandardPaths>

#include <memory>

// The store keeps one file per application name, <config>/<app>/<app>.json
// (<config> being ~/.config or XDG_CONFIG_HOME): a JSON object with one object
// per section mapping each key to its text. Writes go through a complete new
// file renamed into place, under a lock that other copies of the program honour,
// so a failed write (a full disk, a locked folder) leaves the previous file
// whole. Qt's QSettings is not used: its writer does not notice a short write
// and can commit a cut-off file while reporting success.
namespace shell {
namespace {

constexpr int kLockWaitMs = 5000;

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

class StoreFile {
public:
    explicit StoreFile(const QString& app)
        : m_path(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QStringLiteral("/%1/%1.json").arg(app)) {}

    const QString& path() const { return m_path; }

    // The whole store; empty when there is no file yet.
    QJsonObject read() const {
        QFile file(m_path);
        if (!file.exists()) return {};
        if (!file.open(QIODevice::ReadOnly))
            throw Failure(QStringLiteral("Settings could not be read from %1 (%2)").arg(shown(m_path), file.errorString()));
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            throw Failure(QStringLiteral("Settings could not be read from %1 (%2)").arg(shown(m_path), file.errorString()));
        if (bytes.isEmpty()) return {};
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError || !isWellFormed(document))
            throw Failure(QStringLiteral("Settings file is damaged: %1").arg(shown(m_path)));
        return document.object();
    }

    void write(const QJsonObject& store) const {
        const QByteArray bytes = QJsonDocument(store).toJson(QJsonDocument::Indented);
        WriteFileAtomically(m_path, [&](QIODevice& out) { return out.write(bytes) == bytes.size(); });
    }

    // Makes the folder and takes the writers' lock.
    std::unique_ptr<QLockFile> lockForWriting() const {
        const QString folder = QFileInfo(m_path).absolutePath();
        if (!QDir().mkpath(folder)) throw cannotWrite(QStringLiteral("its folder cannot be made"));
        auto lock = std::make_unique<QLockFile>(m_path + QStringLiteral(".lock"));
        if (!lock->tryLock(kLockWaitMs))
            throw cannotWrite(lock->error() == QLockFile::LockFailedError
                                  ? QStringLiteral("another copy of the program holds it")
                                  : QStringLiteral("its lock file cannot be made"));
        return lock;
    }

    Failure cannotWrite(const QString& reason) const {
        return Failure(QStringLiteral("Settings could not be saved to %1 (%2)").arg(shown(m_path), reason));
    }

private:
    static bool isWellFormed(const QJsonDocument& document) {
        if (!document.isObject()) return false;
        const QJsonObject store = document.object();
        for (auto section = store.begin(); section != store.end(); ++section) {
            if (!section.value().isObject()) return false;
            const QJsonObject keys = section.value().toObject();
            for (auto key = keys.begin(); key != keys.end(); ++key)
                if (!key.value().isString()) return false;
        }
        return true;
    }

    QString m_path;
};

void requireAddress(const QString& app, const QString& section, const QString& key) {
    // The application name becomes a file name; the others are plain keys.
    if (app.isEmpty() || section.isEmpty() || key.isEmpty() || app.contains(QLatin1Char('/')) ||
        app.contains(QLatin1Char('\\')) || app == QLatin1String(".") || app == QLatin1String(".."))
        throw Failure(QStringLiteral("Invalid procedure call or argument"));
}

}  // namespace

QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue) {
    requireAddress(app, section, key);
    const QJsonObject keys = StoreFile(app).read().value(section).toObject();
    const QJsonValue value = keys.value(key);
    return value.isString() ? value.toString() : defaultValue;
}

void SaveSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value) {
    requireAddress(app, section, key);
    const StoreFile file(app);
    const auto lock = file.lockForWriting();
    // Read again under the lock, so values another copy wrote meanwhile are kept.
    QJsonObject store = file.read();
    QJsonObject keys = store.value(section).toObject();
    keys.insert(key, value);
    store.insert(section, keys);
    try {
        file.write(store);
    } catch (const Failure& failure) {
        throw file.cannotWrite(failure.description());
    }
}

QString GetProgramSetting(const QString& key, const QString& defaultValue) {
    return GetSetting(QString::fromLatin1(kSettingsApp), QString::fromLatin1(kSettingsSection), key,
                      defaultValue);
}

void SaveProgramSetting(const QString& key, const QString& value) {
    SaveSetting(QString::fromLatin1(kSettingsApp), QString::fromLatin1(kSettingsSection), key, value);
}

}  // namespace shell
