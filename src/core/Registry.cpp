#include "Registry.h"

#include "Exceptions.h"
#include "Messages.h"
#include "SettingsStore.h"
#include "SoftwareInfoManager.h"
#include "Tool.h"
#include "UiTextManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QVariant>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

// "Settings cannot be saved in %1: %2. ..." and the reasons put in its place.
constexpr int kTextSettingsCannotBeSaved = 1060;
constexpr int kTextNotARegularFile = 1061;
constexpr int kTextPermissionDenied = 1062;
constexpr int kTextReadOnlyDisk = 1063;
constexpr int kTextDiskFull = 1064;
constexpr int kTextNotWritten = 1065;

bool gSaveWarningShown = false;

[[noreturn]] void RaiseCannotOpen()
{
    // The registry root the settings stand in for, as its handle value.
    throw EInOutError(BuildExceptionMessage(QStringLiteral("Tool.OpenRegistry"),
                                            QStringLiteral("RootKey='2147483649' (HKEY_CURRENT_USER)"),
                                            UiText(370)));
}

// A readable store inside the version group, or null.
std::unique_ptr<QSettings> OpenForReading()
{
    std::unique_ptr<QSettings> store = SettingsStore::Open();
    if (!store || store->status() == QSettings::AccessError)
        return nullptr;
    store->beginGroup(SoftwareVersionGroup());
    return store;
}

QString ReasonOfError(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return UiText(kTextPermissionDenied);
    case EROFS:
        return UiText(kTextReadOnlyDisk);
    case ENOSPC:
    case EDQUOT:
        return UiText(kTextDiskFull);
    default:
        return qt_error_string(error);
    }
}

// Tries what the store does when it saves: a new file beside the old one, written and
// flushed. 0 when that works, else the system's error number.
int ProbeFolder(const QString &folder)
{
    QByteArray pattern = QFile::encodeName(folder + QStringLiteral("/.velomyra-settings-XXXXXX"));
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return errno;
    const char probe[] = "[probe]\n";
    int error = 0;
    if (::write(fd, probe, sizeof probe - 1) != static_cast<ssize_t>(sizeof probe - 1) || ::fsync(fd) != 0)
        error = errno != 0 ? errno : EIO;
    ::close(fd);
    ::unlink(pattern.constData());
    return error;
}

QString WhyNotSaved(const QString &file)
{
    const QFileInfo info(file);
    if (!SettingsStore::IsUsablePath(file))
        return UiText(kTextNotARegularFile);
    // The store makes its missing folders: the nearest one that exists decides.
    QString existing = info.absolutePath();
    while (!QFileInfo::exists(existing)) {
        const QString parent = QFileInfo(existing).absolutePath();
        if (parent == existing)
            break;
        existing = parent;
    }
    if (!QFileInfo(existing).isDir())
        return ReasonOfError(ENOTDIR); // a file where a folder should be
    if (const int error = ProbeFolder(existing); error != 0)
        return ReasonOfError(error);
    if (info.exists() && ::access(QFile::encodeName(file).constData(), W_OK) != 0)
        return ReasonOfError(errno);
    return UiText(kTextNotWritten);
}

// Puts one value into the store. A value that does not reach the file refuses nothing; the
// first such failure of the session is shown.
void WriteValue(const QString &name, const QVariant &value)
{
    std::unique_ptr<QSettings> store = SettingsStore::Open();
    if (store && store->status() != QSettings::AccessError && store->isWritable()) {
        store->beginGroup(SoftwareVersionGroup());
        store->setValue(name, value);
        store->sync();
        if (store->status() == QSettings::NoError)
            return;
    }
    if (gSaveWarningShown)
        return;
    gSaveWarningShown = true;
    ShowMessageDialog(SettingsCannotBeSavedText(SettingsStore::FilePath()), TMsgDlgType::mtWarning,
                      TMsgDlgBtn::mbOK, 0);
}

} // namespace

QString SoftwareVersionKeyPath()
{
    return QStringLiteral("\\Software\\Parvenox\\") + GetSoftwareInfoManager().GetVersNumberStr();
}

QString SoftwareVersionGroup()
{
    QString group = SoftwareVersionKeyPath();
    group.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (group.startsWith(QLatin1Char('/')))
        group.remove(0, 1);
    return group;
}

std::unique_ptr<QSettings> OpenRegistry()
{
    std::unique_ptr<QSettings> store = OpenForReading();
    if (!store)
        RaiseCannotOpen();
    return store;
}

QString ReadRegistryText(const QString &name, const QString &defaultValue)
{
    QString text;
    if (const std::unique_ptr<QSettings> store = OpenForReading()) {
        const QVariant value = store->value(name);
        // An unquoted value with commas comes back from the file as a list; the operator meant text.
        if (value.typeId() == QMetaType::QStringList)
            text = value.toStringList().join(QStringLiteral(", "));
        else if (value.canConvert<QString>())
            text = value.toString();
    }
    if (text.isEmpty()) {
        text = defaultValue;
        WriteValue(name, defaultValue);
    }
    return text;
}

void WriteRegistryText(const QString &name, const QString &value)
{
    WriteValue(name, value);
}

int ReadRegistryInteger(const QString &name, int defaultValue)
{
    const std::unique_ptr<QSettings> store = OpenForReading();
    if (!store)
        return defaultValue;
    const QVariant value = store->value(name);
    bool ok = false;
    int result = 0;
    switch (value.typeId()) {
    case QMetaType::Int:
        return value.toInt();
    case QMetaType::QString:
        result = value.toString().toInt(&ok, 10);
        break;
    default:
        break;
    }
    return ok ? result : defaultValue;
}

void WriteRegistryInteger(const QString &name, int value)
{
    WriteValue(name, value);
}

QString SettingsCannotBeSavedText(const QString &file)
{
    return UiText(kTextSettingsCannotBeSaved).arg(QDir::toNativeSeparators(file), WhyNotSaved(file));
}

void ResetSettingsSaveWarning()
{
    gSaveWarningShown = false;
}
