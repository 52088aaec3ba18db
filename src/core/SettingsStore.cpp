#include "SettingsStore.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace SettingsStore {

std::unique_ptr<QSettings> Open()
{
    if (!IsUsablePath(FilePath()))
        return nullptr;
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Parvenox"),
                                       QStringLiteral("Velomyra_RD"));
}

QString FilePath()
{
    // Where QSettings puts a per-user INI file of this organisation and application.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Parvenox/Velomyra_RD.ini");
}

bool IsUsablePath(const QString &path)
{
    const QFileInfo info(path);
    // A dangling symbolic link counts as absent: writing creates the file it names.
    return !info.exists() || info.isFile();
}

} // namespace SettingsStore
