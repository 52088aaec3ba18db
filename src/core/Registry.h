#pragma once

#include <QSettings>
#include <QString>

#include <memory>

// Per-user settings of this program version: the settings store's group named by the
// version key path ("\Software\Parvenox\5.3.0" becomes group "Software/Parvenox/5.3.0").
// Every routine opens its own handle and drops it again; nothing is held between calls.

// "\Software\Parvenox\" + the version text.
QString SoftwareVersionKeyPath();
// The store group of SoftwareVersionKeyPath().
QString SoftwareVersionGroup();

// A handle already inside the version group. Raises EInOutError (where "Tool.OpenRegistry",
// reason text 370) when the store cannot be created or written.
std::unique_ptr<QSettings> OpenRegistry();

// A missing or empty value yields the default, which is then also stored.
QString ReadRegistryText(const QString &name, const QString &defaultValue);
void WriteRegistryText(const QString &name, const QString &value);
// A missing value or one that is not a 32-bit integer yields the default; nothing is stored.
int ReadRegistryInteger(const QString &name, int defaultValue);
void WriteRegistryInteger(const QString &name, int value);
