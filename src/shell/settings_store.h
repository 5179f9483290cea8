#pragma once

#include <QList>
#include <QString>
#include <utility>

// The per-user settings store, addressed by application name, section and key;
// values are texts. Kept in <config>/<app>/<app>.json, <config> being
// XDG_CONFIG_HOME or ~/.config.
namespace shell {

inline constexpr const char* kSettingsApp = "Harrowden";
inline constexpr const char* kSettingsSection = "Quenvale";
inline constexpr const char* kKeyCommissionList = "Commission List";
inline constexpr const char* kKeyCommissionRate = "Commission Rate";
// The locale whose number rules the stored amounts and percentage were typed under.
inline constexpr const char* kKeyNumberLocale = "Number Locale";

// What a read does with a damaged store: set it aside (the windows), or only
// report it and change nothing (the command line, which never writes the store).
enum class DamagedStore { SetAside, Report };

// Keys and their texts, written together.
using SettingValues = QList<std::pair<QString, QString>>;

// The stored text, or defaultValue when absent. Never creates a value; throws
// Failure when the store cannot be read. A store file that holds no JSON object,
// or a section of ours that holds anything but texts, is moved aside in its
// folder (never over another file) and reported once by a Failure naming both
// files; from then on that part of the store is empty. Sections that are not
// ours are kept as they stand. With DamagedStore::Report nothing is moved.
QString readSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue = QString(), DamagedStore damaged = DamagedStore::SetAside);
// Creates or replaces the value with the whole text; throws Failure when the store
// cannot be written. The write is atomic: on failure the previous store stays whole.
// A damaged store file is moved aside as by readSetting, the value is written to a
// new store, and then the Failure reporting the move is thrown.
void writeSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value);
// Several values of one section in one atomic write.
void writeSettings(const QString& app, const QString& section, const SettingValues& values);

// The folder that holds the program's store.
QString programSettingsFolder();

// The program's own values.
QString readProgramSetting(const QString& key, const QString& defaultValue = QString(),
                          DamagedStore damaged = DamagedStore::SetAside);
void writeProgramSetting(const QString& key, const QString& value);
void writeProgramSettings(const SettingValues& values);
// The file that keeps them.
QString programSettingsFile();

}  // namespace shell
