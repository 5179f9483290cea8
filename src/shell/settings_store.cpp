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

#include <QDateTime>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <unistd.h>

// The store keeps one file per application name, <config>/<app>/<app>.json
// (<config> being ~/.config or XDG_CONFIG_HOME): a JSON object with one object
// per section mapping each key to its text. Writes go through a complete new
// file renamed into place, under a lock that other copies of the program honour,
// so a failed write (a full disk, a locked folder) leaves the previous file
// whole. Qt's QSettings is not used: its writer does not notice a short write
// and can commit a cut-off file while reporting success.
//
// A file that holds no store (cut off by another tool, edited by hand) would
// otherwise be reported at every start and every close while the values typed
// since are lost: it is moved aside once, to <app>.json.damaged-<date>-<time>
// beside it, reported with both names, and the store starts afresh.
namespace shell {
namespace {

constexpr int kLockWaitMs = 5000;
constexpr int kAsideNameAttempts = 1000;

// Renames from to to unless to exists (as a file, a folder or a link). Returns 0
// or the system's error number, EEXIST when to is taken.
int renameWithoutReplacing(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system without the exclusive rename: a second name, then the first one goes.
    if (::link(source.constData(), target.constData()) != 0) return errno;
    if (::unlink(source.constData()) == 0) return 0;
    const int error = errno;
    ::unlink(target.constData());
    return error;
}

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

class StoreFile {
public:
    explicit StoreFile(const QString& app)
        : m_path(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QStringLiteral("/%1/%1.json").arg(app)) {}

    const QString& path() const { return m_path; }

    // What the file holds: nothing yet, a store, or something damaged.
    struct Contents {
        QJsonObject store;
        bool damaged = false;
    };

    // Throws when the file cannot be read at all (a folder, no permission); such a
    // file is left alone.
    Contents load() const {
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
        if (error.error != QJsonParseError::NoError || !isWellFormed(document)) return {{}, true};
        return {document.object(), false};
    }

    // Moves the damaged file aside in its folder, its bytes whole, so that the
    // store can start afresh; the caller holds the writers' lock. Returns the
    // failure that reports the move, or throws one when the file cannot be moved.
    Failure setAside() const {
        const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        const QString first = m_path + QStringLiteral(".damaged-") + stamp;
        int error = EEXIST;
        QString aside = first;
        for (int taken = 1; error == EEXIST && taken <= kAsideNameAttempts; ++taken) {
            if (taken > 1) aside = first + QStringLiteral("-%1").arg(taken);
            error = renameWithoutReplacing(m_path, aside);
        }
        if (error != 0)
            throw Failure(QStringLiteral("Settings file is damaged: %1. It could not be moved aside (%2).")
                              .arg(shown(m_path), QString::fromLocal8Bit(std::strerror(error))));
        return Failure(QStringLiteral("Settings file %1 was damaged. It has been moved to %2, and the program goes on "
                                      "with new settings.")
                           .arg(shown(m_path), shown(aside)));
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

    // The store to read values from. A damaged file is set aside under the
    // writers' lock, unless another copy of the program replaced or moved it
    // meanwhile, and the move is thrown as the failure that reports it.
    QJsonObject readForReading() const {
        const Contents contents = load();
        if (!contents.damaged) return contents.store;
        std::unique_ptr<QLockFile> lock;
        try {
            lock = lockForWriting();
        } catch (const Failure& failure) {
            throw Failure(QStringLiteral("Settings file is damaged: %1. It could not be moved aside: %2")
                              .arg(shown(m_path), failure.description()));
        }
        const Contents now = load();
        if (now.damaged) throw setAside();
        return now.store;
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
    const QJsonObject keys = StoreFile(app).readForReading().value(section).toObject();
    const QJsonValue value = keys.value(key);
    return value.isString() ? value.toString() : defaultValue;
}

void SaveSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value) {
    requireAddress(app, section, key);
    const StoreFile file(app);
    const auto lock = file.lockForWriting();
    // Read again under the lock, so values another copy wrote meanwhile are kept.
    const StoreFile::Contents contents = file.load();
    const std::optional<Failure> setAside = contents.damaged ? std::optional(file.setAside()) : std::nullopt;
    QJsonObject store = contents.store;
    QJsonObject keys = store.value(section).toObject();
    keys.insert(key, value);
    store.insert(section, keys);
    try {
        file.write(store);
    } catch (const Failure& failure) {
        throw file.cannotWrite(failure.description());
    }
    // The value is stored; the damaged file that was set aside is still reported.
    if (setAside) throw *setAside;
}

QString GetProgramSetting(const QString& key, const QString& defaultValue) {
    return GetSetting(QString::fromLatin1(kSettingsApp), QString::fromLatin1(kSettingsSection), key,
                      defaultValue);
}

void SaveProgramSetting(const QString& key, const QString& value) {
    SaveSetting(QString::fromLatin1(kSettingsApp), QString::fromLatin1(kSettingsSection), key, value);
}

QString ProgramSettingsFile() { return StoreFile(QString::fromLatin1(kSettingsApp)).path(); }

}  // namespace shell
