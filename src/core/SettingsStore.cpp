#include "SettingsStore.h"

namespace SettingsStore {

std::unique_ptr<QSettings> Open()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Parvenox"),
                                       QStringLiteral("Velomyra_RD"));
}

QString FilePath()
{
    return Open()->fileName();
}

} // namespace SettingsStore
