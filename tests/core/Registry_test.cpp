#include "core/Exceptions.h"
#include "core/Registry.h"
#include "core/SettingsStore.h"
#include "core/UiTextManager.h"
#include "support/HostileSettingsStore.h"
#include "support/TestSupport.h"

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

TEST(Registry, FilePath_IsTheStoresFile)
{
    EXPECT_EQ(SettingsStore::FilePath(), SettingsStore::Open()->fileName());
}

using TKind = HostileSettingsStore::TKind;

const struct HostileCase
{
    const char *name;
    TKind kind;
    int reasonId; // 0: the system's reason, not checked here
} kHostile[] = {
    {"pipe", TKind::Fifo, 1061},
    {"link to a pipe", TKind::FifoLink, 1061},
    {"folder", TKind::Folder, 1061},
    {"file in place of the folder", TKind::FileInPlaceOfFolder, 0},
    {"read-only folder", TKind::ReadOnlyFolder, 1062},
};

// Settings only remember things: whatever stands in the store's place, reads give the
// defaults at once, writes refuse nothing, and the operator is told once why nothing is saved.
TEST(Registry, HostileStore_ReadsGiveDefaultsWritesGoOn_OneWarningWithTheReason)
{
    for (const HostileCase &c : kHostile) {
        if (!HostileSettingsStore::Blocks(c.kind))
            continue;
        TestSupport::Presenter().Clear();
        ResetSettingsSaveWarning();
        const HostileSettingsStore hostile(c.kind);
        QString text;
        int number = 0;
        bool raised = false;
        const bool finished = hostile.FinishesWithin([&] {
            try {
                text = ReadRegistryText(u"DirPdfFiles"_s, u"/docs/PDF/"_s);
                number = ReadRegistryInteger(u"frmMainX"_s, -1);
                WriteRegistryText(u"Locale"_s, u"LOCALE_GERMAN"_s);
                WriteRegistryInteger(u"frmMainX"_s, 40);
                text = ReadRegistryText(u"DirPdfFiles"_s, u"/docs/PDF/"_s);
            } catch (...) {
                raised = true;
            }
        });
        ASSERT_TRUE(finished) << c.name << ": hangs";
        EXPECT_FALSE(raised) << c.name;
        EXPECT_EQ(text, u"/docs/PDF/"_s) << c.name;
        EXPECT_EQ(number, -1) << c.name;
        ASSERT_EQ(TestSupport::Presenter().messages.size(), 1u)
            << c.name << ": " << TestSupport::Presenter().Texts().join(u'|').toStdString();
        const TestSupport::RecordedMessage &warning = TestSupport::Presenter().messages.front();
        EXPECT_EQ(warning.kind, TMsgDlgType::mtWarning) << c.name;
        EXPECT_EQ(warning.text, SettingsCannotBeSavedText(SettingsStore::FilePath())) << c.name;
        EXPECT_TRUE(
            warning.text.startsWith(u"Settings cannot be saved in "_s + SettingsStore::FilePath() + u": "_s))
            << warning.text.toStdString();
        if (c.reasonId != 0) {
            EXPECT_TRUE(warning.text.contains(u": "_s + UiText(c.reasonId) + u". "_s))
                << warning.text.toStdString();
        }
        // Something other than a file is not opened for reading either.
        if (c.reasonId == 1061) {
            try {
                OpenRegistry();
                ADD_FAILURE() << c.name << ": no exception";
            } catch (const EInOutError &e) {
                EXPECT_EQ(e.Message(), u"Exception occured in: Tool.OpenRegistry\r\n"
                                       u"With parameters: RootKey='2147483649' (HKEY_CURRENT_USER)\r\n"
                                       u"Reason: "_s +
                                           UiText(370));
            }
        }
    }
    // The pipe is left as it was found, and a usable store works again.
    {
        const HostileSettingsStore hostile(TKind::Fifo);
        ASSERT_TRUE(hostile.FinishesWithin([] { WriteRegistryText(u"A"_s, u"b"_s); }));
        EXPECT_FALSE(QFileInfo(SettingsStore::FilePath()).isFile());
    }
    WriteRegistryInteger(u"A"_s, 1);
    EXPECT_EQ(ReadRegistryInteger(u"A"_s, -1), 1);
}

// A read-only store still gives what it holds.
TEST(Registry, ReadOnlyFolder_StoredValuesStillRead)
{
    WriteRegistryText(u"DirFormatFiles"_s, u"/data/formats/"_s);
    WriteRegistryInteger(u"frmMainY"_s, 70);
    const HostileSettingsStore hostile(TKind::ReadOnlyFolder);
    EXPECT_EQ(ReadRegistryText(u"DirFormatFiles"_s, u"/docs/Format/"_s), u"/data/formats/"_s);
    EXPECT_EQ(ReadRegistryInteger(u"frmMainY"_s, -1), 70);
    EXPECT_NO_THROW(OpenRegistry());
}

// The warning is shown once per session, whichever write fails first.
TEST(Registry, SaveWarning_ShownOncePerSession)
{
    const HostileSettingsStore hostile(TKind::FileInPlaceOfFolder);
    for (int i = 0; i < 3; ++i) {
        WriteRegistryText(u"Locale"_s, u"LOCALE_GREEK"_s);
        ReadRegistryText(u"DirExportFiles"_s, u"/docs/Export/"_s);
    }
    EXPECT_EQ(TestSupport::Presenter().messages.size(), 1u);
    ResetSettingsSaveWarning();
    WriteRegistryInteger(u"frmMainX"_s, 3);
    EXPECT_EQ(TestSupport::Presenter().messages.size(), 2u);
}

// The reason speaks the operator's language; only the file name stays as it is.
TEST(Registry, SaveWarning_InTheCurrentLanguage)
{
    const HostileSettingsStore hostile(TKind::Folder);
    GetTranslationManager().LoadResource(u"LOCALE_GERMAN"_s);
    const QString text = SettingsCannotBeSavedText(SettingsStore::FilePath());
    EXPECT_EQ(text, UiText(1060).arg(SettingsStore::FilePath(), UiText(1061)));
    EXPECT_TRUE(text.startsWith(u"Die Einstellungen können nicht in "_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"es ist keine reguläre Datei"_s)) << text.toStdString();
}

} // namespace
