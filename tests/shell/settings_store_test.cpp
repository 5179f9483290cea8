#include "shell/failure.h"
#include "shell/settings_store.h"
#include "support/isolated_environment.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

const QString kApp = QStringLiteral("Harrowden");
const QString kSection = QStringLiteral("Quenvale");
const QString kList = QStringLiteral("Commission List");
const QString kRate = QStringLiteral("Commission Rate");

QStringList filesUnder(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) files << it.next();
    return files;
}

QString storeFile(const IsolatedEnvironment& env) {
    return env.configFolder() + QStringLiteral("/Harrowden/Harrowden.json");
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Limits the size of any file the process writes, so that a write fails even
// for the superuser; a file growing past the limit then fails with an error
// instead of a signal.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
};

// The files beside the store that hold a damaged store, set aside.
QStringList setAsideFiles(const IsolatedEnvironment& env) {
    return QDir(QFileInfo(storeFile(env)).absolutePath()).entryList({QStringLiteral("Harrowden.json.damaged-*")}, QDir::Files | QDir::Hidden, QDir::Name);
}

}  // namespace

TEST(SettingsStore, AbsentValuesGiveTheDefaultAndCreateNothing) {
    IsolatedEnvironment env;
    EXPECT_EQ(shell::readProgramSetting(kList), QString());
    EXPECT_EQ(shell::readProgramSetting(kRate, QStringLiteral("10")), QStringLiteral("10"));
    EXPECT_EQ(shell::readSetting(kApp, QStringLiteral("Other"), kRate, QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_TRUE(filesUnder(env.configFolder()).isEmpty());
    EXPECT_TRUE(QDir(env.configFolder()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST(SettingsStore, ValuesComeBackExactly) {
    IsolatedEnvironment env;
    const QStringList values = {
        QStringLiteral("Aldo Fennick||SEP1||5600||SEP1||560||SEP2||"),
        QStringLiteral("line one\nline two\r\nline three\r"),
        QStringLiteral("a=b; c=d"),
        QStringLiteral("one, two,three"),
        QStringLiteral("  leading and trailing  "),
        QStringLiteral(" "),
        QStringLiteral("@Variant(\\0\\0\\0\\x7f)"),
        QStringLiteral("@@at"),
        QStringLiteral("\"quoted\" and \\ backslash and ;#comment"),
        QStringLiteral("[Section]\nkey=value"),
        QStringLiteral("Ünïcødé Ελληνικά 中文 עברית 😀👍🏽"),
        QStringLiteral("tab\there") + QChar(0) + QStringLiteral("nul"),
        QStringLiteral("true"),
        QStringLiteral("12.50"),
    };
    for (const QString& value : values) {
        shell::writeProgramSetting(kList, value);
        EXPECT_EQ(shell::readProgramSetting(kList), value) << value.toStdString();
    }
}

TEST(SettingsStore, KeepsApplicationSectionAndKeyInItsFile) {
    IsolatedEnvironment env;
    shell::writeProgramSetting(kRate, QStringLiteral("12"));
    shell::writeSetting(kApp, QStringLiteral("Other"), kRate, QStringLiteral("x\ny"));
    const QJsonDocument document = QJsonDocument::fromJson(readBytes(storeFile(env)));
    EXPECT_EQ(document.object(), (QJsonObject{{"Quenvale", QJsonObject{{"Commission Rate", "12"}}},
                                              {"Other", QJsonObject{{"Commission Rate", "x\ny"}}}}));
}

TEST(SettingsStore, ValuesWrittenByAnotherCopyAreSeen) {
    IsolatedEnvironment env;
    shell::writeProgramSetting(kRate, QStringLiteral("12"));
    writeBytes(storeFile(env), R"({"Quenvale": {"Commission Rate": "17", "Commission List": "A||SEP1||1||SEP1||0.1||SEP2||"}})");
    EXPECT_EQ(shell::readProgramSetting(kRate), QStringLiteral("17"));
    shell::writeProgramSetting(kRate, QStringLiteral("18"));
    EXPECT_EQ(shell::readProgramSetting(kList), QStringLiteral("A||SEP1||1||SEP1||0.1||SEP2||"));
}

TEST(SettingsStore, DamagedFileIsSetAsideWholeAndReportedOnce) {
    IsolatedEnvironment env;
    const std::vector<QByteArray> damages = {
        R"({"Quenvale": {"Commission Rate": "12"}, trailing garbage)",
        R"(["Quenvale"])",
    };
    for (const QByteArray& damaged : damages) {
        SCOPED_TRACE(damaged.toStdString());
        env.clearSettings();
        writeBytes(storeFile(env), damaged);
        // The command line only reports it, and changes nothing.
        EXPECT_THROW(shell::readProgramSetting(kRate, {}, shell::DamagedStore::Report), shell::Failure);
        EXPECT_TRUE(setAsideFiles(env).isEmpty());
        EXPECT_EQ(readBytes(storeFile(env)), damaged);
        try {
            shell::readProgramSetting(kRate, QStringLiteral("10"));
            FAIL() << "a damaged store must be reported";
        } catch (const shell::Failure& failure) {
            ASSERT_EQ(setAsideFiles(env).size(), 1);
            const QString aside = QFileInfo(storeFile(env)).absoluteDir().filePath(setAsideFiles(env).first());
            EXPECT_TRUE(QFileInfo(aside).fileName().contains(QRegularExpression(R"(^Harrowden\.json\.damaged-\d{8}-\d{6}$)")));
            EXPECT_EQ(failure.description(), QStringLiteral("Settings file %1 was damaged. It has been moved to %2, and the "
                                                             "program goes on with new settings.").arg(storeFile(env), aside));
            EXPECT_EQ(readBytes(aside), damaged);
        }
        EXPECT_FALSE(QFileInfo::exists(storeFile(env)));
        EXPECT_EQ(shell::readProgramSetting(kRate, QStringLiteral("10")), QStringLiteral("10"));
        shell::writeProgramSetting(kRate, QStringLiteral("11"));
        EXPECT_EQ(shell::readProgramSetting(kRate), QStringLiteral("11"));
        EXPECT_EQ(setAsideFiles(env).size(), 1);
    }
}

// Other programs' sections stay byte for byte; a section of ours that holds
// anything but texts is set aside alone, whether it is read or written first.
TEST(SettingsStore, SharedFileKeepsForeignSectionsAndSetsAsideOnlyOurDamagedSection) {
    const QByteArray foreign = R"({"Other": {"x": 1, "big": 12345678901234567890, "a": [1.50, "\u00e9"]},
  "Zeta" : "loose text"})";
    const struct {
        const char* ours;  // our section's text, or none
        bool damaged;
    } cases[] = {{nullptr, false}, {R"({"Commission Rate": "10"})", false}, {R"({"Commission Rate": 12})", true},
                 {R"(["10"])", true}};
    for (bool readFirst : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.ours ? c.ours : "absent") + (readFirst ? ", read first" : ", written first"));
            IsolatedEnvironment env;
            QByteArray store = foreign;
            if (c.ours) store.insert(store.size() - 1, QByteArray(",\n  \"Quenvale\": ") + c.ours);
            writeBytes(storeFile(env), store);
            bool reported = false;
            try {
                if (readFirst) shell::readProgramSetting(kRate, QStringLiteral("10"));
                shell::writeProgramSetting(kRate, QStringLiteral("7,5"));
            } catch (const shell::Failure& failure) {
                reported = true;
                EXPECT_TRUE(failure.description().startsWith("Settings of Quenvale in ")) << failure.description().toStdString();
            }
            EXPECT_EQ(reported, c.damaged);
            if (readFirst && c.damaged) shell::writeProgramSetting(kRate, QStringLiteral("7,5"));
            EXPECT_EQ(shell::readProgramSetting(kRate), QStringLiteral("7,5"));
            const QByteArray now = readBytes(storeFile(env));
            EXPECT_TRUE(now.startsWith(foreign.left(foreign.size() - 1))) << now.toStdString();
            ASSERT_EQ(setAsideFiles(env).size(), c.damaged ? 1 : 0);
            if (c.damaged) {
                const QByteArray aside = readBytes(QFileInfo(storeFile(env)).absoluteDir().filePath(setAsideFiles(env).first()));
                EXPECT_EQ(QJsonDocument::fromJson(aside).object().value("Quenvale"),
                          QJsonDocument::fromJson(QByteArray("[") + c.ours + "]").array().at(0));
            }
        }
    }
}

TEST(SettingsStore, WriteOverADamagedFileStoresTheValueAndReportsTheMove) {
    IsolatedEnvironment env;
    writeBytes(storeFile(env), "not a store");
    EXPECT_THROW(shell::writeProgramSetting(kList, QStringLiteral("A||SEP1||1||SEP1||0.1||SEP2||")), shell::Failure);
    EXPECT_EQ(shell::readProgramSetting(kList), QStringLiteral("A||SEP1||1||SEP1||0.1||SEP2||"));
    ASSERT_EQ(setAsideFiles(env).size(), 1);
    EXPECT_EQ(readBytes(QFileInfo(storeFile(env)).absoluteDir().filePath(setAsideFiles(env).first())), "not a store");
}

TEST(SettingsStore, SettingAsideNeverReplacesAnEarlierDamagedFile) {
    IsolatedEnvironment env;
    // Every name the move could take in the next seconds is taken already.
    const QDateTime now = QDateTime::currentDateTime();
    QStringList earlier;
    for (int second = 0; second < 3; ++second) {
        earlier << storeFile(env) + QStringLiteral(".damaged-") + now.addSecs(second).toString(QStringLiteral("yyyyMMdd-HHmmss"));
        writeBytes(earlier.last(), "earlier " + QByteArray::number(second));
    }
    writeBytes(storeFile(env), "damaged again");
    EXPECT_THROW(shell::readProgramSetting(kRate), shell::Failure);
    for (int second = 0; second < 3; ++second) EXPECT_EQ(readBytes(earlier[second]), "earlier " + QByteArray::number(second));
    const QStringList names = setAsideFiles(env);
    ASSERT_EQ(names.size(), 4);
    QStringList added = names;
    for (const QString& path : earlier) added.removeAll(QFileInfo(path).fileName());
    ASSERT_EQ(added.size(), 1);
    EXPECT_TRUE(added.first().endsWith(QStringLiteral("-2"))) << added.first().toStdString();
    EXPECT_EQ(readBytes(QFileInfo(storeFile(env)).absoluteDir().filePath(added.first())), "damaged again");
}

TEST(SettingsStore, LargeValueIsStoredWhole) {
    IsolatedEnvironment env;
    QString big;
    big.reserve(1 << 20);
    while (big.size() < (1 << 20)) big += QStringLiteral("Name %1||SEP1||%1||SEP1||%2||SEP2||").arg(big.size()).arg(big.size() / 10);
    shell::writeProgramSetting(kList, big);
    EXPECT_EQ(shell::readProgramSetting(kList), big);
}

TEST(SettingsStore, WriteReplacesTheWholeText) {
    IsolatedEnvironment env;
    shell::writeProgramSetting(kRate, QStringLiteral("12.5 and more"));
    shell::writeProgramSetting(kRate, QStringLiteral("7"));
    EXPECT_EQ(shell::readProgramSetting(kRate, QStringLiteral("10")), QStringLiteral("7"));
    shell::writeProgramSetting(kRate, QString());
    EXPECT_EQ(shell::readProgramSetting(kRate, QStringLiteral("10")), QString());  // empty is not absent
}

TEST(SettingsStore, AddressesAreKeptApart) {
    IsolatedEnvironment env;
    shell::writeSetting(kApp, kSection, kRate, QStringLiteral("1"));
    shell::writeSetting(kApp, QStringLiteral("Other"), kRate, QStringLiteral("2"));
    shell::writeSetting(QStringLiteral("OtherApp"), kSection, kRate, QStringLiteral("3"));
    shell::writeSetting(kApp, kSection, kList, QStringLiteral("4"));
    EXPECT_EQ(shell::readProgramSetting(kRate), QStringLiteral("1"));
    EXPECT_EQ(shell::readSetting(kApp, QStringLiteral("Other"), kRate), QStringLiteral("2"));
    EXPECT_EQ(shell::readSetting(QStringLiteral("OtherApp"), kSection, kRate), QStringLiteral("3"));
    EXPECT_EQ(shell::readProgramSetting(kList), QStringLiteral("4"));
}

TEST(SettingsStore, EmptyOrPathLikeAddressIsRefused) {
    IsolatedEnvironment env;
    EXPECT_THROW(shell::writeSetting(QStringLiteral("../escape"), kSection, kRate, QStringLiteral("1")), shell::Failure);
    EXPECT_THROW(shell::readSetting(QStringLiteral(".."), kSection, kRate), shell::Failure);
    EXPECT_THROW(shell::readSetting(kApp, kSection, QString()), shell::Failure);
    EXPECT_THROW(shell::writeSetting(kApp, QString(), kRate, QStringLiteral("1")), shell::Failure);
    EXPECT_THROW(shell::writeSetting(QString(), kSection, kRate, QStringLiteral("1")), shell::Failure);
}

TEST(SettingsStore, FailedWriteKeepsTheOldValueAndFails) {
    IsolatedEnvironment env;
    shell::writeProgramSetting(kList, QStringLiteral("old list"));
    shell::writeProgramSetting(kRate, QStringLiteral("15"));
    const QString file = storeFile(env);
    const QByteArray before = readBytes(file);
    ASSERT_FALSE(before.isEmpty());

    const QString huge(512 * 1024, QLatin1Char('x'));
    {
        ScopedFileSizeLimit limit(64 * 1024);
        try {
            shell::writeProgramSetting(kList, huge);
            FAIL() << "the write must fail";
        } catch (const shell::Failure& failure) {
            EXPECT_TRUE(failure.description().startsWith(QStringLiteral("Settings could not be saved to ")));
        }
    }
    EXPECT_EQ(readBytes(file), before);
    EXPECT_EQ(shell::readProgramSetting(kList), QStringLiteral("old list"));
    EXPECT_EQ(shell::readProgramSetting(kRate), QStringLiteral("15"));
    EXPECT_EQ(filesUnder(env.configFolder()), QStringList{file});

    // The store works again once writing is possible.
    shell::writeProgramSetting(kList, QStringLiteral("new list"));
    EXPECT_EQ(shell::readProgramSetting(kList), QStringLiteral("new list"));
}

TEST(SettingsStore, FailedFirstWriteLeavesTheValueAbsent) {
    IsolatedEnvironment env;
    shell::writeProgramSetting(kRate, QStringLiteral("15"));
    {
        ScopedFileSizeLimit limit(64 * 1024);
        EXPECT_THROW(shell::writeProgramSetting(kList, QString(512 * 1024, QLatin1Char('y'))), shell::Failure);
    }
    EXPECT_EQ(shell::readProgramSetting(kList, QStringLiteral("none")), QStringLiteral("none"));
}

TEST(SettingsStore, StoreThatCannotBeCreatedFailsOnWriteOnly) {
    IsolatedEnvironment env;
    QTemporaryDir dir;
    // The store's folder would have to be made inside a plain file.
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    {
        QFile file(blocker);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    qputenv("XDG_CONFIG_HOME", (blocker + QStringLiteral("/config")).toLocal8Bit());
    EXPECT_EQ(shell::readProgramSetting(kRate, QStringLiteral("10")), QStringLiteral("10"));
    EXPECT_THROW(shell::writeProgramSetting(kRate, QStringLiteral("12")), shell::Failure);
    EXPECT_EQ(shell::readProgramSetting(kRate, QStringLiteral("10")), QStringLiteral("10"));
    qputenv("XDG_CONFIG_HOME", env.configFolder().toLocal8Bit());
}
