#pragma once

#include "core/RegionalSettings.h"
#include "core/SettingsStore.h"

#include <QLocale>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <map>
#include <optional>
#include <utility>

// Puts values into the store's regional group for one test (std::nullopt removes a value)
// and restores the previous values, and the cache, when it goes out of scope.
class RegionalGuard
{
public:
    using Values = std::map<QString, std::optional<QString>>;

    explicit RegionalGuard(const Values &values)
    {
        auto store = OpenGroup();
        for (const auto &[name, value] : values) {
            mSaved[name] = store->contains(name) ? std::optional<QVariant>(store->value(name)) : std::nullopt;
            Put(*store, name, value ? std::optional<QVariant>(*value) : std::nullopt);
        }
        Finish(*store);
    }
    ~RegionalGuard()
    {
        auto store = OpenGroup();
        for (const auto &[name, value] : mSaved)
            Put(*store, name, value);
        Finish(*store);
    }
    RegionalGuard(const RegionalGuard &) = delete;
    RegionalGuard &operator=(const RegionalGuard &) = delete;

    // Decimal "." and thousands "," (or the reverse) regardless of the test variant.
    static Values Separators(const char *decimal, const char *thousand)
    {
        return {{QStringLiteral("sDecimal"), QString::fromLatin1(decimal)},
                {QStringLiteral("sThousand"), QString::fromLatin1(thousand)}};
    }

private:
    static std::unique_ptr<QSettings> OpenGroup()
    {
        auto store = SettingsStore::Open();
        store->beginGroup(QString::fromLatin1(SettingsStore::InternationalGroup));
        return store;
    }
    static void Put(QSettings &store, const QString &name, const std::optional<QVariant> &value)
    {
        if (value)
            store.setValue(name, *value);
        else
            store.remove(name);
    }
    static void Finish(QSettings &store)
    {
        store.endGroup();
        store.sync();
        ReleaseRegionalSettings();
    }

    std::map<QString, std::optional<QVariant>> mSaved;
};

// Makes another locale the default for one test: its month and day names are the regional
// ones until the guard goes out of scope.
class LocaleGuard
{
public:
    explicit LocaleGuard(const QLocale &locale)
    {
        QLocale::setDefault(locale);
        ReleaseRegionalSettings();
    }
    ~LocaleGuard()
    {
        QLocale::setDefault(mSaved);
        ReleaseRegionalSettings();
    }
    LocaleGuard(const LocaleGuard &) = delete;
    LocaleGuard &operator=(const LocaleGuard &) = delete;

private:
    QLocale mSaved;
};
