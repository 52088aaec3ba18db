#include "MarnovelConfigManager.h"

#include "Exceptions.h"
#include "MarnovelUtils.h"
#include "Messages.h"
#include "Registry.h"
#include "UiTextManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

constexpr QLatin1Char kDelimiter('/');

} // namespace

bool EnsureDirectory(const QString &path, bool raise)
{
    if (!path.isEmpty() && QFileInfo(path).isDir())
        return true;
    const bool created = !path.isEmpty() && QDir().mkpath(path);
    if (!created && raise)
        throw MarnovelException(UiText(203) + QLatin1Char(' ') + path);
    return created;
}

TMarnovelConfigManager::TMarnovelConfigManager(const QStringList &arguments,
                                               std::optional<QString> documentsFolder)
    : mDocumentsFolder(std::move(documentsFolder))
{
    if (arguments.isEmpty())
        return;
    if (const std::optional<QString> fileName = ControlsToFileArgument(arguments.first())) {
        fDoWriteControlsToFile = true;
        fControlsToFileName = *fileName;
    }
}

std::optional<QString> ControlsToFileArgument(const QString &argument)
{
    const qsizetype eq = argument.indexOf(QLatin1Char('='));
    if (eq >= 0 && QStringView(argument).left(eq).compare(u"WriteControlsToFile", Qt::CaseInsensitive) == 0)
        return argument.mid(eq + 1);
    return std::nullopt;
}

QString TMarnovelConfigManager::KeySoftwareVersionRoot() const
{
    return SoftwareVersionKeyPath();
}

QString TMarnovelConfigManager::SoftwareVersionGroup() const
{
    return ::SoftwareVersionGroup();
}

void TMarnovelConfigManager::SetDefaultLocale(const QString &resourceName)
{
    WriteRegistryText(QStringLiteral("Locale"), resourceName);
}

QString TMarnovelConfigManager::GetDirPDFFiles() const
{
    return ReadRegistryText(QStringLiteral("DirPdfFiles"), GetPdfFolder());
}

QString TMarnovelConfigManager::GetDirFormatFiles() const
{
    return ReadRegistryText(QStringLiteral("DirFormatFiles"), GetFormatFolder());
}

QString TMarnovelConfigManager::GetDirRundataFiles() const
{
    return ReadRegistryText(QStringLiteral("DirRundataFiles"), GetSaveFolder());
}

QString TMarnovelConfigManager::GetDirExportFiles() const
{
    return ReadRegistryText(QStringLiteral("DirExportFiles"), GetExportFolder());
}

QPoint TMarnovelConfigManager::GetSavedFormLocation(const QString &windowName) const
{
    return QPoint(ReadRegistryInteger(windowName + QLatin1Char('X'), -1),
                  ReadRegistryInteger(windowName + QLatin1Char('Y'), -1));
}

void TMarnovelConfigManager::SetSavedFormLocation(const QString &windowName, int x, int y)
{
    WriteRegistryInteger(windowName + QLatin1Char('X'), x);
    WriteRegistryInteger(windowName + QLatin1Char('Y'), y);
}

QString TMarnovelConfigManager::SystemDocumentsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString TMarnovelConfigManager::GetBaseFolder() const
{
    // Without a documents folder the tree goes to the root of the file system.
    QString documents = mDocumentsFolder ? *mDocumentsFolder : SystemDocumentsFolder();
    while (documents.endsWith(kDelimiter))
        documents.chop(1);
    return documents + kDelimiter + QStringLiteral("Velomyra_RD");
}

QString TMarnovelConfigManager::SubFolder(const QString &name) const
{
    return GetBaseFolder() + kDelimiter + name + kDelimiter;
}

QString TMarnovelConfigManager::GetSaveFolder() const
{
    return SubFolder(QStringLiteral("Save"));
}

QString TMarnovelConfigManager::GetFormatFolder() const
{
    return SubFolder(QStringLiteral("Format"));
}

QString TMarnovelConfigManager::GetExportFolder() const
{
    return SubFolder(QStringLiteral("Export"));
}

QString TMarnovelConfigManager::GetPdfFolder() const
{
    return SubFolder(QStringLiteral("PDF"));
}

QString TMarnovelConfigManager::GetInputFolder() const
{
    return SubFolder(QStringLiteral("Input"));
}

QString TMarnovelConfigManager::GetBackupFolder() const
{
    return SubFolder(QStringLiteral("Backup"));
}

QString TMarnovelConfigManager::GetErrorsFolder() const
{
    return SubFolder(QStringLiteral("Errors"));
}

void TMarnovelConfigManager::CreateDefaultFolders() const
{
    const QStringList order{GetBaseFolder(),  GetPdfFolder(),    GetFormatFolder(),
                            GetSaveFolder(),  GetExportFolder(), GetPdfFolder(),
                            GetInputFolder(), GetBackupFolder(), GetErrorsFolder()};
    QStringList tried;
    for (const QString &folder : order) {
        // The PDF folder comes twice in the order; one failure is reported once.
        if (tried.contains(folder))
            continue;
        tried << folder;
        bool created = false;
        try {
            created = EnsureDirectory(folder, false);
        } catch (const std::exception &) {
            created = false;
        }
        if (!created)
            ShowErrorMessage(UiText(203) + QLatin1Char(' ') + folder);
    }
}

TMarnovelConfigManager &GetConfigManager()
{
    static TMarnovelConfigManager manager(QCoreApplication::instance() ? QCoreApplication::arguments().mid(1)
                                                                       : QStringList());
    return manager;
}
