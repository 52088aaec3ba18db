#include "core/FileDialogs.h"

#include "core/MarnovelConfigManager.h"
#include "core/Registry.h"
#include "core/SettingsStore.h"
#include "core/UiTextManager.h"

#include "support/HostileSettingsStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <ostream>

using namespace Qt::StringLiterals;

static void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

struct DialogCase
{
    const char *name;
    std::function<bool(const QString &proposed, QString &fileName)> show;
    TFileDialogKind kind;
    QString filter, valueName;
    std::function<QString()> defaultFolder;
    bool takesProposal;
};

const DialogCase kDialogs[] = {
    {"open run data", [](const QString &, QString &f) { return OpenRundataFileDialog(f); },
     TFileDialogKind::Open, u"Velomyra Run Data File|*.vdf"_s, u"DirRundataFiles"_s,
     [] { return GetConfigManager().GetSaveFolder(); }, false},
    {"save run data", SaveRundataFileDialog, TFileDialogKind::Save, u"Velomyra Run Data File|*.vdf"_s,
     u"DirRundataFiles"_s, [] { return GetConfigManager().GetSaveFolder(); }, true},
    {"open format", [](const QString &, QString &f) { return OpenFormatFileDialog(f); },
     TFileDialogKind::Open, u"Velomyra Format File|*.vff"_s, u"DirFormatFiles"_s,
     [] { return GetConfigManager().GetFormatFolder(); }, false},
    {"save format", SaveFormatFileDialog, TFileDialogKind::Save, u"Velomyra Format File|*.vff"_s,
     u"DirFormatFiles"_s, [] { return GetConfigManager().GetFormatFolder(); }, true},
    {"save export", SaveExportFileDialog, TFileDialogKind::Save, u"Text File|*.txt"_s, u"DirExportFiles"_s,
     [] { return GetConfigManager().GetExportFolder(); }, true},
    {"save PDF", SavePdfFileDialog, TFileDialogKind::Save, u"Portable Document Format|*.pdf"_s,
     u"DirPdfFiles"_s, [] { return GetConfigManager().GetPdfFolder(); }, true},
};

QVariant StoredValue(const QString &name)
{
    return SettingsStore::Open()->value(SoftwareVersionGroup() + QLatin1Char('/') + name);
}

void RemoveValue(const QString &name)
{
    auto store = SettingsStore::Open();
    store->remove(SoftwareVersionGroup() + QLatin1Char('/') + name);
    store->sync();
}

class FileDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const DialogCase &dialog : kDialogs)
            RemoveValue(dialog.valueName);
    }
};

TEST_F(FileDialogsTest, FirstUse_StartsInDefaultFolderWithFixedFilter)
{
    auto &presenter = TestSupport::Presenter();
    for (const DialogCase &dialog : kDialogs) {
        presenter.Clear();
        RemoveValue(dialog.valueName);
        QString fileName = u"stale"_s;
        EXPECT_FALSE(dialog.show(u"01Mar27_R7.vdf"_s, fileName)) << dialog.name;
        ASSERT_EQ(presenter.fileRequests.size(), 1u) << dialog.name;
        const auto &request = presenter.fileRequests.front();
        EXPECT_EQ(request.kind, dialog.kind) << dialog.name;
        EXPECT_EQ(request.filter, dialog.filter) << dialog.name;
        EXPECT_EQ(request.initialFolder, dialog.defaultFolder()) << dialog.name;
        EXPECT_TRUE(request.initialFolder.endsWith(u'/')) << dialog.name;
        EXPECT_EQ(request.proposedName, dialog.takesProposal ? u"01Mar27_R7.vdf"_s : QString())
            << dialog.name;
        // Cancelled: the proposed name comes back (none for the open dialogs).
        EXPECT_EQ(fileName, dialog.takesProposal ? u"01Mar27_R7.vdf"_s : QString()) << dialog.name;
        // The default was stored on the first read.
        EXPECT_EQ(StoredValue(dialog.valueName).toString(), dialog.defaultFolder()) << dialog.name;
    }
}

TEST_F(FileDialogsTest, Confirmed_RemembersTheChosenFolderForTheNextDialog)
{
    auto &presenter = TestSupport::Presenter();
    for (const DialogCase &dialog : kDialogs) {
        presenter.Clear();
        WriteRegistryText(dialog.valueName, u"/data/runs/"_s);
        presenter.fileNames.push_back(u"/data/other folder/plate 7.x"_s);
        QString fileName;
        EXPECT_TRUE(dialog.show(u"proposed"_s, fileName)) << dialog.name;
        EXPECT_EQ(fileName, u"/data/other folder/plate 7.x"_s) << dialog.name;
        EXPECT_EQ(presenter.fileRequests.back().initialFolder, u"/data/runs/"_s) << dialog.name;
        EXPECT_EQ(StoredValue(dialog.valueName).toString(), u"/data/other folder/"_s) << dialog.name;

        // The next dialog of the same files starts there; a cancel changes nothing.
        EXPECT_FALSE(dialog.show(u"proposed"_s, fileName)) << dialog.name;
        EXPECT_EQ(presenter.fileRequests.back().initialFolder, u"/data/other folder/"_s) << dialog.name;
        EXPECT_EQ(StoredValue(dialog.valueName).toString(), u"/data/other folder/"_s) << dialog.name;
    }
}

TEST_F(FileDialogsTest, OpenAndSaveOfOneKind_ShareTheirFolder)
{
    auto &presenter = TestSupport::Presenter();
    presenter.fileNames.push_back(u"/saved/here/01Mar27_R7.vdf"_s);
    QString fileName;
    ASSERT_TRUE(SaveRundataFileDialog(u"01Mar27_R7.vdf"_s, fileName));
    OpenRundataFileDialog(fileName);
    EXPECT_EQ(presenter.fileRequests.back().initialFolder, u"/saved/here/"_s);
    // The format dialogs keep their own folder.
    OpenFormatFileDialog(fileName);
    EXPECT_EQ(presenter.fileRequests.back().initialFolder, GetConfigManager().GetFormatFolder());
}

TEST_F(FileDialogsTest, EmptyStoredFolder_FallsBackToDefault)
{
    WriteRegistryText(u"DirPdfFiles"_s, QString());
    QString fileName;
    SavePdfFileDialog(u"report.pdf"_s, fileName);
    EXPECT_EQ(TestSupport::Presenter().fileRequests.back().initialFolder, GetConfigManager().GetPdfFolder());
}

// The save dialogs of the four kinds of file, with the extension of each.
std::vector<std::pair<const DialogCase *, QString>> SaveDialogs()
{
    std::vector<std::pair<const DialogCase *, QString>> dialogs;
    for (const DialogCase &dialog : kDialogs) {
        if (dialog.kind == TFileDialogKind::Save)
            dialogs.emplace_back(&dialog, dialog.filter.mid(dialog.filter.lastIndexOf(u'.') + 1));
    }
    return dialogs;
}

TEST_F(FileDialogsTest, Save_NameWithoutExtension_GetsTheFiltersBeforeAnyQuestion)
{
    auto &presenter = TestSupport::Presenter();
    QTemporaryDir folder;
    for (const auto &[dialog, ext] : SaveDialogs()) {
        SCOPED_TRACE(dialog->name);
        const QString typed = folder.filePath(u"noext"_s);
        const QString written = typed + u'.' + ext;

        // Nothing of that name yet: no question.
        presenter.Clear();
        presenter.fileNames = {typed};
        QString fileName;
        EXPECT_TRUE(dialog->show(u"proposed"_s, fileName));
        EXPECT_EQ(fileName, written);
        EXPECT_TRUE(presenter.messages.empty());

        // The file that will really be written exists: asked about it, not about the name typed.
        ASSERT_TRUE(QFile(written).open(QIODevice::WriteOnly));
        const QString question = UiText(1000).arg(QDir::toNativeSeparators(written));
        presenter.Clear();
        presenter.fileNames = {typed};
        presenter.answers = {TModalResult::mrNo};
        EXPECT_FALSE(dialog->show(u"proposed"_s, fileName)); // No, then the dialog cancelled
        EXPECT_EQ(fileName, u"proposed"_s);
        EXPECT_EQ(presenter.Texts(), QStringList{question});
        EXPECT_EQ(presenter.messages.front().kind, TMsgDlgType::mtConfirmation);
        ASSERT_EQ(presenter.fileRequests.size(), 2u);
        EXPECT_EQ(presenter.fileRequests.back().proposedName, written); // opened again on it

        presenter.Clear();
        presenter.fileNames = {typed};
        presenter.answers = {TModalResult::mrYes};
        EXPECT_TRUE(dialog->show(u"proposed"_s, fileName));
        EXPECT_EQ(fileName, written);
        EXPECT_EQ(presenter.Texts(), QStringList{question});

        // A name with an extension of its own keeps it.
        presenter.Clear();
        presenter.fileNames = {folder.filePath(u"plate 7.x"_s)};
        EXPECT_TRUE(dialog->show(u"proposed"_s, fileName));
        EXPECT_EQ(fileName, folder.filePath(u"plate 7.x"_s));
        EXPECT_TRUE(presenter.messages.empty());
    }
}

TEST_F(FileDialogsTest, Save_FolderOrDevice_RefusedNamingItAndAskedAgain)
{
    auto &presenter = TestSupport::Presenter();
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir(u"sub"_s));
    for (const auto &[dialog, ext] : SaveDialogs()) {
        SCOPED_TRACE(dialog->name);
        ASSERT_TRUE(QDir(folder.path()).mkpath(u"taken."_s + ext));
        const struct
        {
            QString typed, refused;
        } cases[] = {
            {u"/dev/null"_s, u"/dev/null"_s}, // not turned into /dev/null.txt
            {folder.filePath(u"sub"_s), folder.filePath(u"sub"_s)},
            {folder.filePath(u"taken"_s), folder.filePath(u"taken."_s + ext)},
        };
        for (const auto &c : cases) {
            presenter.Clear();
            presenter.fileNames = {c.typed, folder.filePath(u"fine"_s)};
            QString fileName;
            EXPECT_TRUE(dialog->show(u"proposed"_s, fileName));
            EXPECT_EQ(fileName, folder.filePath(u"fine."_s + ext));
            EXPECT_EQ(presenter.Texts(), QStringList{UiText(1001).arg(QDir::toNativeSeparators(c.refused))});
            ASSERT_EQ(presenter.fileRequests.size(), 2u);
            EXPECT_EQ(presenter.fileRequests.back().proposedName, c.typed);
        }
        EXPECT_FALSE(QFileInfo::exists(u"/dev/null."_s + ext));
    }
}

// Remembering a folder is no reason to refuse a file: with a store that cannot be written
// every dialog gives the chosen file, and the operator hears once why nothing is remembered.
TEST_F(FileDialogsTest, StoreCannotBeWritten_DialogsGiveTheFileAndOneWarning)
{
    auto &presenter = TestSupport::Presenter();
    const HostileSettingsStore hostile(HostileSettingsStore::TKind::FileInPlaceOfFolder);
    for (const DialogCase &dialog : kDialogs) {
        presenter.fileNames.push_back(u"/data/runs/plate 7.x"_s);
        QString fileName;
        EXPECT_TRUE(dialog.show(u"proposed"_s, fileName)) << dialog.name;
        EXPECT_EQ(fileName, u"/data/runs/plate 7.x"_s) << dialog.name;
        EXPECT_EQ(presenter.fileRequests.back().initialFolder, dialog.defaultFolder()) << dialog.name;
    }
    EXPECT_NO_THROW(GetConfigManager().SetDefaultLocale(u"LOCALE_GREEK"_s));
    ASSERT_EQ(presenter.messages.size(), 1u) << presenter.Texts().join(u'|').toStdString();
    EXPECT_EQ(presenter.messages.front().text, SettingsCannotBeSavedText(SettingsStore::FilePath()));
}

} // namespace
