#include "MainWindowTestSupport.h"

#include "archive/Archive.h"
#include "core/MarnovelUtils.h"
#include "core/Registry.h"
#include "core/TextIds.h"
#include "support/GuiApplication.h"
#include "ui/main/SavedRunRecorder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>

using namespace Qt::StringLiterals;
using TestSupport::Presenter;

namespace {

const QString kLocationKey = u"Archive/Location"_s;

class SaveRecordingTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(mDir.isValid());
        mArchive = mDir.filePath(u"archive.sqlite"_s);
        WriteRegistryText(kLocationKey, mArchive);
        mChanged =
            std::make_unique<QSignalSpy>(&window->ArchiveRecorder(), &TSavedRunRecorder::archiveChanged);
    }
    void TearDown() override
    {
        WriteRegistryText(kLocationKey, QString());
        MainWindowTest::TearDown();
    }

    // Save File with the name answered in its dialog; the operator's answer to each message
    // is OK.
    void Save(const QString &fileName) const
    {
        Presenter().fileNames.push_back(fileName);
        window->saveAsPbClick();
    }
    QString RunFile(const QString &name) const { return mDir.filePath(name); }

    static QList<TArchiveRecord> Records(const QString &location, bool withHistory = false)
    {
        TArchive archive;
        EXPECT_EQ(archive.Open(location), QString());
        QString error;
        const QList<TArchiveRecord> records = archive.Records(withHistory, &error);
        EXPECT_EQ(error, QString());
        return records;
    }

    QTemporaryDir mDir;
    QString mArchive;
    std::unique_ptr<QSignalSpy> mChanged;
};

TEST_F(SaveRecordingTest, SaveFile_CalculatedRun_RecordsTheBytesWritten)
{
    LoadAndCalculate();
    const QString path = RunFile(u"saved.vdf"_s);
    Save(path);
    EXPECT_TRUE(window->DataSaved());
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();

    const QList<TArchiveRecord> records = Records(mArchive);
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records.first().Sha256, Sha256Hex(ReadWholeFile(path)));
    EXPECT_EQ(records.first().RunNumber, window->GetRunNoEd()->text());
    EXPECT_EQ(records.first().KitBatch, window->GetKitBatchNoEd()->text());
    EXPECT_EQ(records.first().Valid, window->PassedCriteria());
    EXPECT_EQ(records.first().Slope, window->Slope()); // unrounded
    EXPECT_EQ(mChanged->count(), 1);
}

TEST_F(SaveRecordingTest, SaveFile_AgainUnchangedThenEdited_OneRunWithHistoryAndNoMessage)
{
    LoadAndCalculate();
    Save(RunFile(u"first.vdf"_s));
    Save(RunFile(u"copy.vdf"_s)); // the same bytes under another name
    EXPECT_EQ(Records(mArchive, true).size(), 1);
    EXPECT_EQ(mChanged->count(), 1);

    window->GetOperatorEd()->setText(u"B. Jones"_s);
    Save(RunFile(u"edited.vdf"_s));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    const QList<TArchiveRecord> current = Records(mArchive);
    ASSERT_EQ(current.size(), 1);
    EXPECT_EQ(current.first().Operator, u"B. Jones"_s);
    EXPECT_EQ(current.first().Sha256, Sha256Hex(ReadWholeFile(RunFile(u"edited.vdf"_s))));
    EXPECT_EQ(Records(mArchive, true).size(), 2);
    EXPECT_EQ(mChanged->count(), 2);
}

TEST_F(SaveRecordingTest, SaveFile_UncalculatedRun_SavedAndNotRecorded)
{
    LoadExampleRun();
    Presenter().Clear();
    ASSERT_EQ(window->LastResult(), nullptr);
    const QString path = RunFile(u"plain.vdf"_s);
    Save(path);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_FALSE(QFile::exists(mArchive)); // not even opened
    EXPECT_EQ(mChanged->count(), 0);
}

// An archive that cannot be opened or written never fails the save: one message per save,
// in the current language, with the reason.
TEST_F(SaveRecordingTest, SaveFile_ArchiveUnusable_FileSavedAndOneMessage)
{
    ASSERT_TRUE(QDir().mkpath(mDir.filePath(u"folder.sqlite"_s)));
    const QString unusable[] = {
        mDir.filePath(u"folder.sqlite"_s),         // a folder where the file should be
        u"postgresql://nobody@127.0.0.1:1/runs"_s, // no server there
    };
    const QStringList around = UiText(TextId::RunNotArchived).split(u"%1"_s);
    ASSERT_EQ(around.size(), 2);
    for (const QString &location : unusable) {
        SCOPED_TRACE(location.toStdString());
        WriteRegistryText(kLocationKey, location);
        LoadAndCalculate();
        const QString path = RunFile(u"kept.vdf"_s);
        QFile::remove(path);
        Save(path);
        EXPECT_TRUE(window->DataSaved());
        ASSERT_TRUE(QFile::exists(path));
        ASSERT_EQ(Presenter().messages.size(), 1u) << Messages();
        const TestSupport::RecordedMessage &message = Presenter().messages.front();
        EXPECT_EQ(message.kind, TMsgDlgType::mtWarning);
        EXPECT_TRUE(message.text.startsWith(around.at(0))) << message.text.toStdString();
        EXPECT_TRUE(message.text.endsWith(around.at(1))) << message.text.toStdString();
        EXPECT_TRUE(message.text.contains(location)) << message.text.toStdString();
        EXPECT_TRUE(message.text.contains(u"velomyra-cli archive add"_s));
    }
    EXPECT_EQ(mChanged->count(), 0);
}

// The window records where the tool looks when neither is told another archive.
TEST_F(SaveRecordingTest, SaveFile_DefaultArchive_IsTheOneTheToolLists)
{
    WriteRegistryText(kLocationKey, QString());
    for (const QString &suffix : {u""_s, u"-wal"_s, u"-shm"_s})
        QFile::remove(DefaultArchiveFile() + suffix);
    LoadAndCalculate();
    Save(RunFile(u"default.vdf"_s));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    ASSERT_TRUE(QFile::exists(DefaultArchiveFile()));

    QProcess tool;
    tool.start(QStringLiteral(VELOMYRA_CLI_PATH), {u"archive"_s, u"list"_s, u"--json"_s});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QJsonArray listed = QJsonDocument::fromJson(tool.readAllStandardOutput()).array();
    ASSERT_EQ(listed.size(), 1);
    EXPECT_EQ(listed.at(0)[u"runNumber"_s].toString(), window->GetRunNoEd()->text());
}

TEST_F(SaveRecordingTest, SaveFile_PostgreSQLArchive_Records)
{
    const QString server = qEnvironmentVariable("VELOMYRA_TEST_POSTGRES");
    if (server.isEmpty())
        GTEST_SKIP() << "VELOMYRA_TEST_POSTGRES is not set: run ./test.sh, or start a server with "
                        "eval \"$(scripts/test-postgres.sh start)\" before ctest";
    const QString database = u"saved_%1"_s.arg(QCoreApplication::applicationPid());
    const auto admin = [&](const QString &statement) {
        TArchive archive; // the server's own test database
        EXPECT_EQ(archive.Open(server), QString());
        QSqlQuery query(archive.Database());
        EXPECT_TRUE(query.exec(statement)) << query.lastError().text().toStdString();
    };
    admin(u"CREATE DATABASE "_s + database);
    QUrl url(server);
    url.setPath(u"/"_s + database);
    const QString location = url.toString();
    WriteRegistryText(kLocationKey, location);

    LoadAndCalculate();
    const QString path = RunFile(u"shared.vdf"_s);
    Save(path);
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    const QList<TArchiveRecord> records = Records(location);
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records.first().Sha256, Sha256Hex(ReadWholeFile(path)));
    EXPECT_EQ(mChanged->count(), 1);

    window.reset(); // its connection goes before the database
    admin(u"DROP DATABASE "_s + database);
}

} // namespace
