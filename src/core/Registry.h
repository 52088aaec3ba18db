#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// Per-user settings of this program version: the settings store's group named by the
// version key path ("\Software\Parvenox\5.3.0" becomes group "Software/Parvenox/5.3.0").
// Every routine opens its own handle and drops it again; nothing is held between calls.
//
// Settings only remember things for the next time: a store that cannot be read gives the
// defaults, and one that cannot be written refuses no command. The first write of a session
// that does not reach the file (a default written back, a remembered folder, the language, a
// window position) shows one warning naming the file and why; later ones are silent.

// "\Software\Parvenox\" + the version text.
QString SoftwareVersionKeyPath();
// The store group of SoftwareVersionKeyPath().
QString SoftwareVersionGroup();

// A handle already inside the version group, for reading. Raises EInOutError (where
// "Tool.OpenRegistry", reason text 370) when the store cannot be read: something other than a
// regular file stands at its path, or the file cannot be opened.
std::unique_ptr<QSettings> OpenRegistry();

// A missing or empty value yields the default, which is then also stored.
QString ReadRegistryText(const QString &name, const QString &defaultValue);
void WriteRegistryText(const QString &name, const QString &value);
// A missing value or one that is not a 32-bit integer yields the default; nothing is stored.
int ReadRegistryInteger(const QString &name, int defaultValue);
void WriteRegistryInteger(const QString &name, int value);

// The warning for settings that cannot be saved to `file`, in the current language, with the
// reason found on the disk.
QString SettingsCannotBeSavedText(const QString &file);
// The next failed write shows the warning again (a new session; tests).
void ResetSettingsSaveWarning();
