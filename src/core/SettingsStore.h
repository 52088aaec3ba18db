#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// The per-user settings store that stands in for the registry of the current user:
// an INI file in the standard per-user configuration folder (XDG_CONFIG_HOME).
// Registry key paths map to groups, "\" becoming "/".
namespace SettingsStore {

// A fresh handle on the store; callers open and drop one per access.
std::unique_ptr<QSettings> Open();

// Full path of the INI file.
QString FilePath();

// "Control Panel\International" as a group of the store.
inline constexpr const char *InternationalGroup = "Control Panel/International";

} // namespace SettingsStore
