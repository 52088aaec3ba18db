#include "Registry.h"

#include "Exceptions.h"
#include "SettingsStore.h"
#include "SoftwareInfoManager.h"
#include "Tool.h"
#include "UiTextManager.h"

#include <QStringList>
#include <QVariant>

namespace {

[[noreturn]] void RaiseCannotOpen()
{
    // The registry root the settings stand in for, as its handle value.
    throw EInOutError(BuildExceptionMessage(QStringLiteral("Tool.OpenRegistry"),
                                            QStringLiteral("RootKey='2147483649' (HKEY_CURRENT_USER)"),
                                            UiText(370)));
}

// A value that did not reach the file counts as a store that cannot be opened for writing.
void SyncOrRaise(QSettings &store)
{
    store.sync();
    if (store.status() == QSettings::AccessError)
        RaiseCannotOpen();
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
    const QString group = SoftwareVersionGroup();
    std::unique_ptr<QSettings> store = SettingsStore::Open();
    if (!store->isWritable() || store->status() == QSettings::AccessError)
        RaiseCannotOpen();
    store->beginGroup(group);
    return store;
}

QString ReadRegistryText(const QString &name, const QString &defaultValue)
{
    const std::unique_ptr<QSettings> store = OpenRegistry();
    const QVariant value = store->value(name);
    QString text;
    // An unquoted value with commas comes back from the file as a list; the operator meant text.
    if (value.typeId() == QMetaType::QStringList)
        text = value.toStringList().join(QStringLiteral(", "));
    else if (value.canConvert<QString>())
        text = value.toString();
    if (text.isEmpty()) {
        text = defaultValue;
        store->setValue(name, defaultValue);
        SyncOrRaise(*store);
    }
    return text;
}

void WriteRegistryText(const QString &name, const QString &value)
{
    const std::unique_ptr<QSettings> store = OpenRegistry();
    store->setValue(name, value);
    SyncOrRaise(*store);
}

int ReadRegistryInteger(const QString &name, int defaultValue)
{
    const std::unique_ptr<QSettings> store = OpenRegistry();
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
    const std::unique_ptr<QSettings> store = OpenRegistry();
    store->setValue(name, value);
    SyncOrRaise(*store);
}
