// The safe writer when the system reports a failure only it can see: fsync and rename
// fail on request (support/SystemCallFaults.h). A save that was not made must say so,
// keep the previous file and leave no temporary file.

#include "core/Exceptions.h"
#include "core/MarnovelUtils.h"
#include "support/SystemCallFaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

QString Q(const char *text)
{
    return QString::fromUtf8(text);
}

class SafeFileWriterFaults : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SystemCallFaults() = {};
        WriteFileAtomically(Path(), "old content");
    }
    void TearDown() override { SystemCallFaults() = {}; }

    QString Path() const { return dir.path() + Q("/run.vdf"); }
    QStringList Entries() const
    {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    QTemporaryDir dir;
};

} // namespace

// The data may never reach the disk: the old file must not be replaced by it.
TEST_F(SafeFileWriterFaults, FsyncFails_WriteRaisesAndTheOldFileStays)
{
    SystemCallFaults().fsyncError = EIO;
    TSafeFileWriter writer(Path());
    try {
        writer.Write("new content");
        FAIL() << "a failed fsync was ignored";
    } catch (const EInOutError &e) {
        EXPECT_EQ(e.Reason(), SystemErrorReason(EIO));
        EXPECT_TRUE(e.Message().contains(Path())) << e.what();
    }
    EXPECT_GE(SystemCallFaults().fsyncCalls, 1);
    SystemCallFaults() = {};
    EXPECT_THROW(writer.Commit(), MarnovelException);
    EXPECT_EQ(ReadWholeFile(Path()), QByteArray("old content"));
    EXPECT_EQ(Entries(), QStringList({Q("run.vdf")}));
}

TEST_F(SafeFileWriterFaults, RenameFails_CommitRaisesAndRemovesTheTemporaryFile)
{
    for (const int error : {EPERM, EXDEV, EIO}) {
        SystemCallFaults() = {};
        TSafeFileWriter writer(Path());
        writer.Write("new content");
        SystemCallFaults().renameError = error;
        try {
            writer.Commit();
            FAIL() << "a failed rename was taken for a save (" << error << ")";
        } catch (const EInOutError &e) {
            EXPECT_EQ(e.Reason(), SystemErrorReason(error));
        }
        EXPECT_EQ(SystemCallFaults().renameCalls, 1);
        EXPECT_EQ(ReadWholeFile(Path()), QByteArray("old content"));
        EXPECT_EQ(Entries(), QStringList({Q("run.vdf")})) << error;
    }
}

TEST_F(SafeFileWriterFaults, RenameFailsOnce_NextSaveOfTheTargetSucceeds)
{
    SystemCallFaults().renameError = EIO;
    EXPECT_THROW(WriteFileAtomically(Path(), "lost"), EInOutError);
    SystemCallFaults() = {};
    WriteFileAtomically(Path(), "saved");
    EXPECT_EQ(ReadWholeFile(Path()), QByteArray("saved"));
    EXPECT_EQ(Entries(), QStringList({Q("run.vdf")}));
}
