#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// The per-user settings store that stands in for the registry of the current user:
// an INI file in the standard per-user configuration folder (XDG_CONFIG_HOME).
// Registry key paths map to groups, "\" becoming "/".
namespace SettingsStore {

// A fresh handle on the store; callers open and drop one per access. Null when something
// other than a regular file (a pipe, a device, a folder) stands at the store's path: it is
// never opened, as reading a pipe would wait for ever.
std::unique_ptr<QSettings> Open();

// Full path of the INI file, found without opening it.
QString FilePath();

// True when nothing or a regular file (also behind a symbolic link) stands at the path.
bool IsUsablePath(const QString &path);

// "Control Panel\International" as a group of the store.
inline constexpr const char *InternationalGroup = "Control Panel/International";

} // namespace SettingsStore
