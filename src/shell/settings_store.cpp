#include "shell/settings_store.h"

#include "shell/atomic_file.h"
#include "shell/failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
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
#include <vector>
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
// The file is shared: sections and keys that are not ours are kept as they stand.
// A file that holds no JSON object at all (cut off by another tool, edited by
// hand) would otherwise be reported at every start and every close while the
// values typed since are lost: it is moved aside once, to
// <app>.json.damaged-<date>-<time> beside it, reported with both names, and the
// store starts afresh. A section of ours that holds anything but texts is copied
// to such a file alone and starts afresh; the rest of the file stays.
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

// Where a top-level member's value stands in the store's text.
struct MemberSpan {
    QString key;
    qsizetype valueBegin = 0;
    qsizetype valueEnd = 0;
};

// The top-level members of a JSON object's text, which QJsonDocument has already
// read as valid: the store is rewritten by splicing only the program's section
// into the text, so sections that are not ours stay as they were, byte for byte.
class MemberScanner {
public:
    explicit MemberScanner(const QByteArray& text) : m_text(text) {}

    std::vector<MemberSpan> members() {
        std::vector<MemberSpan> found;
        m_at = skipSpace(0);
        if (!at('{')) return found;
        ++m_at;
        while (true) {
            m_at = skipSpace(m_at);
            if (m_at >= m_text.size() || at('}')) break;
            const qsizetype keyBegin = m_at;
            m_at = skipString(m_at);
            MemberSpan member;
            member.key = keyText(m_text.mid(keyBegin, m_at - keyBegin));
            m_at = skipSpace(m_at) + 1;  // the colon
            member.valueBegin = skipSpace(m_at);
            member.valueEnd = m_at = skipValue(member.valueBegin);
            found.push_back(member);
            m_at = skipSpace(m_at);
            if (at(',')) ++m_at;
        }
        return found;
    }

private:
    bool at(char c) const { return m_at < m_text.size() && m_text[m_at] == c; }
    qsizetype skipSpace(qsizetype i) const {
        while (i < m_text.size() && std::strchr(" \t\r\n", m_text[i]) && m_text[i] != '\0') ++i;
        return i;
    }
    qsizetype skipString(qsizetype i) const {
        for (++i; i < m_text.size() && m_text[i] != '"'; ++i)
            if (m_text[i] == '\\') ++i;
        return i + 1;
    }
    qsizetype skipValue(qsizetype i) const {
        if (i >= m_text.size()) return i;
        if (m_text[i] == '"') return skipString(i);
        if (m_text[i] == '{' || m_text[i] == '[') {
            int depth = 0;
            while (i < m_text.size()) {
                const char c = m_text[i];
                if (c == '"') {
                    i = skipString(i);
                    continue;
                }
                if (c == '{' || c == '[') ++depth;
                if ((c == '}' || c == ']') && --depth == 0) return i + 1;
                ++i;
            }
            return i;
        }
        while (i < m_text.size() && !std::strchr(",}] \t\r\n", m_text[i])) ++i;
        return i;
    }
    static QString keyText(const QByteArray& quoted) {
        return QJsonDocument::fromJson('[' + quoted + ']').array().at(0).toString();
    }

    const QByteArray& m_text;
    qsizetype m_at = 0;
};

// A section's keys as the text that stands for it inside the store, indented as a
// member of the top-level object.
QByteArray sectionText(const QJsonObject& keys) {
    QByteArray text = QJsonDocument(keys).toJson(QJsonDocument::Indented).trimmed();
    text.replace('\n', "\n    ");
    return text;
}

QByteArray keyText(const QString& key) {
    const QByteArray array = QJsonDocument(QJsonArray{key}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

// The store's text with one section's value replaced (every occurrence of its
// key) or added; everything else stays as it was.
QByteArray withSection(const QByteArray& store, const QString& section, const QJsonObject& keys) {
    const QByteArray value = sectionText(keys);
    const std::vector<MemberSpan> members = MemberScanner(store).members();
    if (members.empty()) return QJsonDocument(QJsonObject{{section, keys}}).toJson(QJsonDocument::Indented);
    QByteArray text = store;
    bool replaced = false;
    for (auto member = members.rbegin(); member != members.rend(); ++member) {
        if (member->key != section) continue;
        text.replace(member->valueBegin, member->valueEnd - member->valueBegin, value);
        replaced = true;
    }
    if (!replaced) text.insert(members.back().valueEnd, ",\n    " + keyText(section) + ": " + value);
    return text;
}

// A section's value as it stands in the store's text (the last occurrence, as read).
QByteArray sectionSource(const QByteArray& store, const QString& section) {
    const std::vector<MemberSpan> members = MemberScanner(store).members();
    for (auto member = members.rbegin(); member != members.rend(); ++member)
        if (member->key == section) return store.mid(member->valueBegin, member->valueEnd - member->valueBegin);
    return {};
}

class StoreFile {
public:
    explicit StoreFile(const QString& app)
        : m_path(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QStringLiteral("/%1/%1.json").arg(app)) {}

    const QString& path() const { return m_path; }

    // What the file holds: nothing yet, a store, or something that is no store at all.
    struct Contents {
        QByteArray text;
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
        if (error.error != QJsonParseError::NoError || !document.isObject()) return {bytes, {}, true};
        return {bytes, document.object(), false};
    }

    // Moves the damaged file aside in its folder, its bytes whole, so that the
    // store can start afresh; the caller holds the writers' lock. Returns the
    // failure that reports the move, or throws one when the file cannot be moved.
    Failure setAside() const {
        QString aside;
        int error = EEXIST;
        for (int taken = 1; error == EEXIST && taken <= kAsideNameAttempts; ++taken) {
            aside = asideName(taken);
            error = renameWithoutReplacing(m_path, aside);
        }
        if (error != 0)
            throw Failure(QStringLiteral("Settings file is damaged: %1. It could not be moved aside (%2).")
                              .arg(shown(m_path), QString::fromLocal8Bit(std::strerror(error))));
        return Failure(QStringLiteral("Settings file %1 was damaged. It has been moved to %2, and the program goes on "
                                      "with new settings.")
                           .arg(shown(m_path), shown(aside)));
    }

    // Copies a damaged section to a new file beside the store, as a store of that
    // section alone; the caller then writes the store without it. Returns the
    // failure that reports the move, or throws one when the copy cannot be made.
    Failure setSectionAside(const Contents& contents, const QString& section) const {
        const QByteArray copy = "{\n    " + keyText(section) + ": " + sectionSource(contents.text, section) + "\n}\n";
        for (int taken = 1; taken <= kAsideNameAttempts; ++taken) {
            QFile aside(asideName(taken));
            if (!aside.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
                if (aside.exists()) continue;
                throw Failure(QStringLiteral("Settings in %1 are damaged. They could not be moved aside (%2).")
                                  .arg(shown(m_path), aside.errorString()));
            }
            if (aside.write(copy) != copy.size() || !aside.flush()) {
                const QString reason = aside.errorString();
                aside.remove();
                throw Failure(QStringLiteral("Settings in %1 are damaged. They could not be moved aside (%2).")
                                  .arg(shown(m_path), reason));
            }
            return Failure(QStringLiteral("Settings of %1 in %2 were damaged. They have been moved to %3, and the "
                                          "program goes on with new settings.")
                               .arg(section, shown(m_path), shown(aside.fileName())));
        }
        throw Failure(QStringLiteral("Settings in %1 are damaged. They could not be moved aside (every name was taken).")
                          .arg(shown(m_path)));
    }

    void write(const QByteArray& text) const {
        writeFileAtomically(m_path, [&](QIODevice& out) { return out.write(text) == text.size(); });
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

    // The section to read values from. A damaged file, or a damaged section of
    // ours, is set aside under the writers' lock (unless another copy of the
    // program mended or moved it meanwhile), and the move is thrown as the failure
    // that reports it.
    QJsonObject sectionForReading(const QString& section, DamagedStore damaged) const {
        const Contents contents = load();
        if (!contents.damaged && !isDamaged(contents.store, section)) return contents.store.value(section).toObject();
        if (damaged == DamagedStore::Report)
            throw Failure(QStringLiteral("Settings file %1 is damaged; the program's window sets it aside when it "
                                         "starts.")
                              .arg(shown(m_path)));
        std::unique_ptr<QLockFile> lock;
        try {
            lock = lockForWriting();
        } catch (const Failure& failure) {
            throw Failure(QStringLiteral("Settings file is damaged: %1. It could not be moved aside: %2")
                              .arg(shown(m_path), failure.description()));
        }
        const Contents now = load();
        if (now.damaged) throw setAside();
        if (!isDamaged(now.store, section)) return now.store.value(section).toObject();
        const Failure moved = setSectionAside(now, section);
        try {
            write(withSection(now.text, section, {}));
        } catch (const Failure& failure) {
            throw cannotWrite(failure.description());
        }
        throw moved;
    }

    Failure cannotWrite(const QString& reason) const {
        return Failure(QStringLiteral("Settings could not be saved to %1 (%2)").arg(shown(m_path), reason));
    }

    // A section of ours is damaged when it is no object of texts; what other
    // programs keep in the file is theirs.
    static bool isDamaged(const QJsonObject& store, const QString& section) {
        if (!store.contains(section)) return false;
        const QJsonValue value = store.value(section);
        if (!value.isObject()) return true;
        const QJsonObject keys = value.toObject();
        for (auto key = keys.begin(); key != keys.end(); ++key)
            if (!key.value().isString()) return true;
        return false;
    }

private:
    QString asideName(int taken) const {
        const QString first = m_path + QStringLiteral(".damaged-") +
                              QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        return taken == 1 ? first : first + QStringLiteral("-%1").arg(taken);
    }

    QString m_path;
};

void requireAddress(const QString& app, const QString& section, const QString& key) {
    // The application name becomes a file name; the others are plain keys.
    if (app.isEmpty() || section.isEmpty() || key.isEmpty() || app.contains(QLatin1Char('/')) ||
        app.contains(QLatin1Char('\\')) || app == QLatin1String(".") || app == QLatin1String(".."))
        throw Failure(QStringLiteral("A setting needs an application name that is a plain file name, a section and a key."));
}

}  // namespace

QString readSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue, DamagedStore damaged) {
    requireAddress(app, section, key);
    const QJsonObject keys = StoreFile(app).sectionForReading(section, damaged);
    const QJsonValue value = keys.value(key);
    return value.isString() ? value.toString() : defaultValue;
}

void writeSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value) {
    writeSettings(app, section, {{key, value}});
}

void writeSettings(const QString& app, const QString& section, const SettingValues& values) {
    for (const auto& [key, value] : values) requireAddress(app, section, key);
    const StoreFile file(app);
    const auto lock = file.lockForWriting();
    // Read again under the lock, so values another copy wrote meanwhile are kept.
    const StoreFile::Contents contents = file.load();
    std::optional<Failure> setAside;
    QByteArray text = contents.text;
    QJsonObject keys;
    if (contents.damaged) {
        setAside = file.setAside();
        text.clear();
    } else if (StoreFile::isDamaged(contents.store, section)) {
        setAside = file.setSectionAside(contents, section);
    } else {
        keys = contents.store.value(section).toObject();
    }
    for (const auto& [key, value] : values) keys.insert(key, value);
    try {
        file.write(withSection(text, section, keys));
    } catch (const Failure& failure) {
        throw file.cannotWrite(failure.description());
    }
    // The values are stored; the damaged file or section that was set aside is still reported.
    if (setAside) throw *setAside;
}

QString programSettingsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
           QString::fromLatin1(kSettingsApp);
}

QString readProgramSetting(const QString& key, const QString& defaultValue, DamagedStore damaged) {
    return readSetting(QString::fromLatin1(kSettingsApp), QString::fromLatin1(kSettingsSection), key,
                      defaultValue, damaged);
}

void writeProgramSetting(const QString& key, const QString& value) {
    writeProgramSettings({{key, value}});
}

void writeProgramSettings(const SettingValues& values) {
    writeSettings(QString::fromLatin1(kSettingsApp), QString::fromLatin1(kSettingsSection), values);
}

QString programSettingsFile() { return StoreFile(QString::fromLatin1(kSettingsApp)).path(); }

}  // namespace shell
