#include "core/Exceptions.h"
#include "core/Registry.h"
#include "core/SettingsStore.h"
#include "core/UiTextManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

using namespace Qt::StringLiterals;

static void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QString kGroup = u"Software/Parvenox/5.3.0"_s;

// Direct access to the store, bypassing the routines under test.
QVariant StoredValue(const QString &name)
{
    auto store = SettingsStore::Open();
    return store->value(kGroup + u'/' + name);
}

void StoreRaw(const QString &name, const QVariant &value)
{
    auto store = SettingsStore::Open();
    store->setValue(kGroup + u'/' + name, value);
    store->sync();
}

void RemoveRaw(const QString &name)
{
    auto store = SettingsStore::Open();
    store->remove(kGroup + u'/' + name);
    store->sync();
}

TEST(Registry, KeyPath_FollowsVersionText)
{
    EXPECT_EQ(SoftwareVersionKeyPath(), u"\\Software\\Parvenox\\5.3.0"_s);
    EXPECT_EQ(SoftwareVersionGroup(), kGroup);
}

TEST(Registry, ReadRegistryText_MissingOrEmpty_ReturnsAndStoresDefault)
{
    for (const bool storeEmpty : {false, true}) {
        const QString name = u"TextValue"_s;
        if (storeEmpty)
            StoreRaw(name, QString());
        else
            RemoveRaw(name);
        EXPECT_EQ(ReadRegistryText(name, u"/docs/Save/"_s), u"/docs/Save/"_s) << storeEmpty;
        EXPECT_EQ(StoredValue(name).toString(), u"/docs/Save/"_s) << storeEmpty;
    }
}

TEST(Registry, ReadRegistryText_StoredText_ReturnedUnchanged)
{
    const QString texts[] = {u"  /runs, old  "_s, u"C:\\Data\\"_s, u"a=b;c"_s, u"Ünïcødé"_s};
    for (const QString &text : texts) {
        WriteRegistryText(u"Stored"_s, text);
        EXPECT_EQ(ReadRegistryText(u"Stored"_s, u"default"_s), text);
    }
}

TEST(Registry, ReadRegistryInteger_ValueKinds_GiveNumberOrDefaultWithoutWriting)
{
    struct Case
    {
        QVariant stored; // invalid: value missing
        int expected;
    };
    const Case cases[] = {
        {QVariant(), -1},
        {QVariant(u"abc"_s), -1},
        {QVariant(u""_s), -1},
        {QVariant(u"1.5"_s), -1},
        {QVariant(u"99999999999"_s), -1},
        {QVariant(QStringList{u"1"_s, u"2"_s}), -1},
        {QVariant(u"42"_s), 42},
        {QVariant(-7), -7},
        {QVariant(2147483647), 2147483647},
    };
    const QString name = u"IntValue"_s;
    for (const Case &c : cases) {
        if (c.stored.isValid())
            StoreRaw(name, c.stored);
        else
            RemoveRaw(name);
        const QVariant before = StoredValue(name);
        EXPECT_EQ(ReadRegistryInteger(name, -1), c.expected) << c.stored.toString().toStdString();
        EXPECT_EQ(StoredValue(name), before) << c.stored.toString().toStdString();
    }
}

TEST(Registry, WriteRegistryInteger_ReadsBack)
{
    for (const int value : {0, -1, 1234, -2147483647 - 1}) {
        WriteRegistryInteger(u"Position"_s, value);
        EXPECT_EQ(ReadRegistryInteger(u"Position"_s, 99), value);
    }
}

TEST(Registry, UnwritableStore_EveryRoutineRaisesOpenRegistryError)
{
    // A folder in place of the settings file cannot be written, even by an administrator.
    const QString path = SettingsStore::FilePath();
    const QString saved = path + u".saved"_s;
    QFile::remove(saved);
    const bool hadFile = QFile::exists(path);
    if (hadFile) {
        ASSERT_TRUE(QFile::rename(path, saved));
    }
    ASSERT_TRUE(QDir().mkpath(path));

    const QString expected = u"Exception occured in: Tool.OpenRegistry\r\n"
                             u"With parameters: RootKey='2147483649' (HKEY_CURRENT_USER)\r\n"
                             u"Reason: "_s +
                             UiText(370);
    const std::function<void()> routines[] = {
        [] { OpenRegistry(); },
        [] { ReadRegistryText(u"A"_s, u"b"_s); },
        [] { WriteRegistryText(u"A"_s, u"b"_s); },
        [] { ReadRegistryInteger(u"A"_s, -1); },
        [] { WriteRegistryInteger(u"A"_s, 1); },
    };
    for (const auto &routine : routines) {
        try {
            routine();
            ADD_FAILURE() << "no exception";
        } catch (const EInOutError &e) {
            EXPECT_EQ(e.Message(), expected);
        }
    }

    QDir(path).removeRecursively();
    if (hadFile) {
        ASSERT_TRUE(QFile::rename(saved, path));
    }
    EXPECT_NO_THROW(WriteRegistryInteger(u"A"_s, 1));
}

} // namespace
