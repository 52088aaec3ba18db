#include "core/MarnovelConfigManager.h"
#include "core/SettingsStore.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

using namespace Qt::StringLiterals;

static void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QString kGroup = u"Software/Parvenox/5.3.0/"_s;

QVariant StoredValue(const QString &name)
{
    return SettingsStore::Open()->value(kGroup + name);
}

void StoreRaw(const QString &name, const QVariant &value)
{
    auto store = SettingsStore::Open();
    if (value.isValid())
        store->setValue(kGroup + name, value);
    else
        store->remove(kGroup + name);
    store->sync();
}

void WriteFile(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

TEST(ConfigManagerTest, Construction_Defaults)
{
    const TMarnovelConfigManager config({});
    EXPECT_FALSE(config.GetIsSingleCriteria());
    EXPECT_EQ(config.GetSingleCriteria(), 8);
    EXPECT_TRUE(config.IsPlateWashCriteriaApplicable());
    EXPECT_EQ(config.KeySoftwareVersionRoot(), u"\\Software\\Parvenox\\5.3.0"_s);
    EXPECT_EQ(config.SoftwareVersionGroup(), u"Software/Parvenox/5.3.0"_s);
}

TEST(ConfigManagerTest, CommandLine_SwitchVariants)
{
    struct Case
    {
        QStringList arguments;
        bool on;
        QString fileName;
    };
    const Case cases[] = {
        {{u"WriteControlsToFile=/tmp/handles.txt"_s}, true, u"/tmp/handles.txt"_s},
        {{u"WriteControlsToFile=a=b"_s}, true, u"a=b"_s},
        {{u"WriteControlsToFile="_s}, true, QString()},
        {{u"WriteControlsToFile=/tmp/h.txt"_s, u"other"_s}, true, u"/tmp/h.txt"_s},
        // The option's name in any letter case: never taken for a run file named so.
        {{u"writecontrolstofile=/tmp/h.txt"_s}, true, u"/tmp/h.txt"_s},
        {{u"WRITECONTROLSTOFILE=/tmp/h.txt"_s}, true, u"/tmp/h.txt"_s},
        {{u"other"_s, u"WriteControlsToFile=/tmp/h.txt"_s}, false, QString()},
        {{u"WriteControlsToFile"_s}, false, QString()},
        {{u"WriteControlsToFile =/tmp/h.txt"_s}, false, QString()},
        {{u"XWriteControlsToFile=/tmp/h.txt"_s}, false, QString()},
        {{}, false, QString()},
    };
    for (const Case &c : cases) {
        const TMarnovelConfigManager config(c.arguments);
        const std::string label = c.arguments.join(u' ').toStdString();
        EXPECT_EQ(config.GetDoWriteControlsToFile(), c.on) << label;
        EXPECT_EQ(config.GetControlsToFileName(), c.fileName) << label;
    }
}

TEST(ConfigManagerTest, DefaultFolders_UnderUsersDocumentsFolder)
{
    const TMarnovelConfigManager config({});
    const QString base = TestSupport::HomeDir() + u"/Documents/Velomyra_RD"_s;
    EXPECT_EQ(config.GetBaseFolder(), base);
    EXPECT_EQ(config.GetSaveFolder(), base + u"/Save/"_s);
    EXPECT_EQ(config.GetFormatFolder(), base + u"/Format/"_s);
    EXPECT_EQ(config.GetExportFolder(), base + u"/Export/"_s);
    EXPECT_EQ(config.GetPdfFolder(), base + u"/PDF/"_s);
    EXPECT_EQ(config.GetInputFolder(), base + u"/Input/"_s);
    EXPECT_EQ(config.GetBackupFolder(), base + u"/Backup/"_s);
    EXPECT_EQ(config.GetErrorsFolder(), base + u"/Errors/"_s);
}

TEST(ConfigManagerTest, DefaultFolders_DocumentsFolderGivenOrUnknown)
{
    const struct
    {
        QString documents;
        QString base;
    } cases[] = {
        {QString(), u"/Velomyra_RD"_s},
        {u"/srv/docs"_s, u"/srv/docs/Velomyra_RD"_s},
        {u"/srv/docs/"_s, u"/srv/docs/Velomyra_RD"_s},
    };
    for (const auto &c : cases) {
        const TMarnovelConfigManager config({}, c.documents);
        EXPECT_EQ(config.GetBaseFolder(), c.base);
        EXPECT_EQ(config.GetSaveFolder(), c.base + u"/Save/"_s);
    }
}

TEST(ConfigManagerTest, FolderValues_MissingOrEmpty_ReturnAndStoreDefault)
{
    const TMarnovelConfigManager config({});
    const struct
    {
        QString name;
        QString (TMarnovelConfigManager::*getter)() const;
        QString folder;
    } cases[] = {
        {u"DirPdfFiles"_s, &TMarnovelConfigManager::GetDirPDFFiles, config.GetPdfFolder()},
        {u"DirFormatFiles"_s, &TMarnovelConfigManager::GetDirFormatFiles, config.GetFormatFolder()},
        {u"DirRundataFiles"_s, &TMarnovelConfigManager::GetDirRundataFiles, config.GetSaveFolder()},
        {u"DirExportFiles"_s, &TMarnovelConfigManager::GetDirExportFiles, config.GetExportFolder()},
    };
    for (const auto &c : cases) {
        for (const QVariant &stored : {QVariant(), QVariant(QString())}) {
            StoreRaw(c.name, stored);
            EXPECT_EQ((config.*c.getter)(), c.folder) << c.name.toStdString();
            EXPECT_EQ(StoredValue(c.name).toString(), c.folder) << c.name.toStdString();
        }
        // An operator's choice is kept exactly, even without a trailing delimiter.
        StoreRaw(c.name, u"/data/my runs"_s);
        EXPECT_EQ((config.*c.getter)(), u"/data/my runs"_s);
        EXPECT_EQ(StoredValue(c.name).toString(), u"/data/my runs"_s);
    }
}

TEST(ConfigManagerTest, DefaultLocale_WritesLocaleValue)
{
    TMarnovelConfigManager config({});
    config.SetDefaultLocale(u"LOCALE_GERMAN"_s);
    EXPECT_EQ(StoredValue(u"Locale"_s).toString(), u"LOCALE_GERMAN"_s);
}

TEST(ConfigManagerTest, SavedFormLocation_MissingUnreadableOrStored)
{
    TMarnovelConfigManager config({});
    StoreRaw(u"frmTestX"_s, QVariant());
    StoreRaw(u"frmTestY"_s, QVariant());
    EXPECT_EQ(config.GetSavedFormLocation(u"frmTest"_s), QPoint(-1, -1));

    config.SetSavedFormLocation(u"frmTest"_s, 120, -30);
    EXPECT_EQ(config.GetSavedFormLocation(u"frmTest"_s), QPoint(120, -30));
    EXPECT_EQ(StoredValue(u"frmTestX"_s).toInt(), 120);

    StoreRaw(u"frmTestY"_s, u"left"_s);
    EXPECT_EQ(config.GetSavedFormLocation(u"frmTest"_s), QPoint(120, -1));
    EXPECT_EQ(StoredValue(u"frmTestY"_s).toString(), u"left"_s);
}

TEST(ConfigManagerTest, CreateDefaultFolders_CreatesWholeTreeSilently)
{
    QTemporaryDir documents;
    const TMarnovelConfigManager config({}, documents.path() + u"/deep/docs"_s);
    config.CreateDefaultFolders();
    EXPECT_TRUE(TestSupport::Presenter().messages.empty());
    for (const QString &folder :
         {config.GetBaseFolder(), config.GetSaveFolder(), config.GetFormatFolder(), config.GetExportFolder(),
          config.GetPdfFolder(), config.GetInputFolder(), config.GetBackupFolder(), config.GetErrorsFolder()})
        EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    // A second run finds everything in place.
    config.CreateDefaultFolders();
    EXPECT_TRUE(TestSupport::Presenter().messages.empty());
}

TEST(ConfigManagerTest, CreateDefaultFolders_BlockedBase_ReportsEachFolderOnceInOrder)
{
    QTemporaryDir documents;
    const TMarnovelConfigManager config({}, documents.path());
    WriteFile(config.GetBaseFolder()); // a file where the base folder belongs
    config.CreateDefaultFolders();
    const QString prefix = u"Could not create "_s;
    const QStringList expected{prefix + config.GetBaseFolder(),   prefix + config.GetPdfFolder(),
                               prefix + config.GetFormatFolder(), prefix + config.GetSaveFolder(),
                               prefix + config.GetExportFolder(), prefix + config.GetInputFolder(),
                               prefix + config.GetBackupFolder(), prefix + config.GetErrorsFolder()};
    EXPECT_EQ(TestSupport::Presenter().Texts(), expected);
    for (const auto &message : TestSupport::Presenter().messages)
        EXPECT_EQ(message.caption, u"Velomyra"_s);
}

TEST(ConfigManagerTest, CreateDefaultFolders_OneFolderBlocked_ReportsItAndCreatesTheRest)
{
    QTemporaryDir documents;
    const TMarnovelConfigManager config({}, documents.path());
    ASSERT_TRUE(QDir().mkpath(config.GetBaseFolder()));
    QString save = config.GetSaveFolder();
    save.chop(1);
    WriteFile(save);
    config.CreateDefaultFolders();
    EXPECT_EQ(TestSupport::Presenter().Texts(), QStringList{u"Could not create "_s + config.GetSaveFolder()});
    EXPECT_TRUE(QFileInfo(config.GetErrorsFolder()).isDir());
    EXPECT_TRUE(QFileInfo(config.GetPdfFolder()).isDir());
}

TEST(ConfigManagerTest, CreateDefaultFolders_ReadOnlyDocumentsFolder_ReportsEveryFolder)
{
    QTemporaryDir documents;
    const QString readOnly = documents.path() + u"/ro"_s;
    ASSERT_TRUE(QDir().mkpath(readOnly));
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner);
    if (QDir().mkdir(readOnly + u"/probe"_s)) {
        QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    const TMarnovelConfigManager config({}, readOnly);
    config.CreateDefaultFolders();
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(TestSupport::Presenter().messages.size(), 8u);
    EXPECT_EQ(TestSupport::Presenter().Texts().value(0), u"Could not create "_s + config.GetBaseFolder());
}

TEST(ConfigManagerTest, GetConfigManager_WithoutApplication_HookOff)
{
    EXPECT_FALSE(GetConfigManager().GetDoWriteControlsToFile());
    EXPECT_EQ(&GetConfigManager(), &GetConfigManager());
}

} // namespace
