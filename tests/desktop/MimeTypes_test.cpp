#include "core/MarnovelUtils.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <ostream>

using namespace Qt::StringLiterals;

static void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QString kRunData = u"application/x-velomyra-rundata"_s;
const QString kFormat = u"application/x-velomyra-format"_s;

// Installs the program's file types for the (temporary) user, as a desktop would read them,
// before Qt's MIME database is first used.
class MimeTypesTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const QString mime =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/mime"_s;
        ASSERT_TRUE(QDir().mkpath(mime + u"/packages"_s));
        QFile::remove(mime + u"/packages/velomyra.xml"_s);
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELOMYRA_SOURCE_DIR "/desktop/velomyra-mime.xml"),
                                mime + u"/packages/velomyra.xml"_s));
        QProcess update;
        update.start(u"update-mime-database"_s, {mime});
        ASSERT_TRUE(update.waitForFinished(30000));
        ASSERT_EQ(update.exitCode(), 0);
        ASSERT_TRUE(QFile::exists(mime + u"/mime.cache"_s));
    }

    static QByteArray Bytes(const QString &path) { return ReadWholeFile(path); }

    static QByteArray Utf16File(const QString &text)
    {
        QByteArray bytes("\xff\xfe", 2);
        bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        return bytes;
    }

    QMimeDatabase db;
};

TEST_F(MimeTypesTest, Extensions_NameTheTypes)
{
    EXPECT_EQ(db.mimeTypeForFile(u"01Mar27_R7.vdf"_s, QMimeDatabase::MatchExtension).name(), kRunData);
    EXPECT_EQ(db.mimeTypeForFile(u"Al05Jan27_a.vff"_s, QMimeDatabase::MatchExtension).name(), kFormat);
    EXPECT_EQ(db.mimeTypeForFile(QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf")).name(),
              kRunData);
    EXPECT_FALSE(db.mimeTypeForName(kRunData).comment().isEmpty());
}

TEST_F(MimeTypesTest, Contents_RecogniseFilesWithoutTheirExtension)
{
    const struct
    {
        const char *what;
        QByteArray bytes;
        QString type;
    } cases[] = {
        {"example run", Bytes(QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf")), kRunData},
        {"test run", Bytes(QStringLiteral(VELOMYRA_SOURCE_DIR "/tests/files/data/small-run.vdf")), kRunData},
        {"example format", Bytes(QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/layout-8point.vff")), kFormat},
        {"older run with RunDate",
         Utf16File(u"[GeneralInfo]\r\nSoftware version=5.3.0\r\nCurveType=0\r\n"
                   u"RunDate=31.05.2017\r\nDateSeperator=.\r\n"_s),
         kRunData},
        {"format header alone",
         Utf16File(u"[GeneralInfo]\r\nSoftware version=5.3.0\r\nCurveType=1\r\n\r\n"_s), kFormat},
    };
    for (const auto &c : cases)
        EXPECT_EQ(db.mimeTypeForData(c.bytes).name(), c.type) << c.what;
}

TEST_F(MimeTypesTest, OtherUtf16Text_IsNeitherType)
{
    for (const QByteArray &bytes :
         {Utf16File(u"[Settings]\r\nRunDate=1\r\n"_s), Utf16File(u"GeneralInfo]\r\n"_s),
          QByteArray("[GeneralInfo]\r\nRunDateI18n=2017-05-31\r\n"), QByteArray()}) {
        const QString type = db.mimeTypeForData(bytes).name();
        EXPECT_NE(type, kRunData) << bytes.toHex().toStdString();
        EXPECT_NE(type, kFormat) << bytes.toHex().toStdString();
    }
}

} // namespace
