#pragma once

#include <QString>

// The per-user settings store, addressed by application name, section and key;
// values are texts. Kept in <config>/<app>/<app>.json, <config> being
// XDG_CONFIG_HOME or ~/.config.
namespace shell {

inline constexpr const char* kSettingsApp = "Harrowden";
inline constexpr const char* kSettingsSection = "Quenvale";
inline constexpr const char* kKeyCommissionList = "Commission List";
inline constexpr const char* kKeyCommissionRate = "Commission Rate";

// The stored text, or defaultValue when absent. Never creates a value; throws
// Failure when the store cannot be read. A damaged store file is moved aside in
// its folder (never over another file) and reported once by a Failure naming both
// files; from then on the store is empty.
QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
// Creates or replaces the value with the whole text; throws Failure when the store
// cannot be written. The write is atomic: on failure the previous store stays whole.
// A damaged store file is moved aside as by GetSetting, the value is written to a
// new store, and then the Failure reporting the move is thrown.
void SaveSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value);

// The program's own two values.
QString GetProgramSetting(const QString& key, const QString& defaultValue = QString());
void SaveProgramSetting(const QString& key, const QString& value);
// The file that keeps them.
QString ProgramSettingsFile();

}  // namespace shell
