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

// The stored text, or defaultValue when absent. Never creates a value or a file;
// throws Failure when the store cannot be read or is damaged.
QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
// Creates or replaces the value with the whole text; throws Failure when the store
// cannot be written. The write is atomic: on failure the previous store stays whole.
void SaveSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value);

// The program's own two values.
QString GetProgramSetting(const QString& key, const QString& defaultValue = QString());
void SaveProgramSetting(const QString& key, const QString& value);

}  // namespace shell
