#include "core/Exceptions.h"
#include "core/SoftwareInfoManager.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

using namespace Qt::StringLiterals;

static void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QString kNoVersionMessage = u"Exception occured in: ResourceVersionInfoManager.Initialize\r\n"
                                  u"Reason: No version information found in resource file."_s;

TEST(SoftwareInfoManager, BuiltInResource_GivesProjectVersion)
{
    const TSoftwareInfoManager &info = GetSoftwareInfoManager();
    EXPECT_EQ(info.GetVersNumberStr(), u"5.3.0"_s);
    EXPECT_EQ(info.GetBuildNo(), u"Build 08"_s);
    EXPECT_EQ(info.GetGtin(), QString());
    EXPECT_EQ(info.GetMajorVersionStr(), u"5"_s);
    EXPECT_EQ(info.GetMinorVersionStr(), u"3"_s);
    EXPECT_EQ(info.GetReleaseStr(), u"0"_s);
    EXPECT_EQ(&info, &GetSoftwareInfoManager());
}

struct ResourceCase
{
    const char *content;
    const char *version; // nullptr: the resource is refused
    const char *build;
    const char *gtin;
};

class SoftwareInfoResource : public ::testing::TestWithParam<ResourceCase>
{
};

TEST_P(SoftwareInfoResource, Initialize_ResourceText_ReadsOrRefuses)
{
    const ResourceCase &c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(u"VERSIONINFO"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(c.content);
    file.close();

    TSoftwareInfoManager info(path);
    if (!c.version) {
        try {
            info.Initialize();
            FAIL() << "accepted: " << c.content;
        } catch (const EResNotFound &e) {
            EXPECT_EQ(e.Message(), kNoVersionMessage);
        }
        EXPECT_EQ(info.GetMajorVersionStr(), u"0"_s);
        EXPECT_EQ(info.GetBuildNo(), u"Build 00"_s);
        return;
    }
    info.Initialize();
    EXPECT_EQ(info.GetVersNumberStr(), QString::fromUtf8(c.version));
    EXPECT_EQ(info.GetBuildNo(), QString::fromUtf8(c.build));
    EXPECT_EQ(info.GetGtin(), QString::fromUtf8(c.gtin));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SoftwareInfoResource,
    ::testing::Values(ResourceCase{"FileVersion=5.3.0.8\nGTIN=\n", "5.3.0", "Build 08", ""},
                      ResourceCase{"ProductName=X\r\nFileVersion=1.2.3.123\r\nGTIN=04012345678901\r\n",
                                   "1.2.3", "Build 123", "04012345678901"},
                      ResourceCase{"fileversion = 65535.0.7.0", "65535.0.7", "Build 00", ""},
                      ResourceCase{"FileVersion=2.0.0.1000", "2.0.0", "Build 1000", ""},
                      ResourceCase{"GTIN=1\n", nullptr, nullptr, nullptr},
                      ResourceCase{"", nullptr, nullptr, nullptr},
                      ResourceCase{"FileVersion=5.3.0\n", nullptr, nullptr, nullptr},
                      ResourceCase{"FileVersion=5.3.0.8.1\n", nullptr, nullptr, nullptr},
                      ResourceCase{"FileVersion=5.3.0.65536\n", nullptr, nullptr, nullptr},
                      ResourceCase{"FileVersion=5.3.-1.8\n", nullptr, nullptr, nullptr},
                      ResourceCase{"FileVersion=5.x.0.8\n", nullptr, nullptr, nullptr},
                      ResourceCase{"FileVersion=\n", nullptr, nullptr, nullptr}));

TEST(SoftwareInfoManager, Initialize_MissingResource_RaisesNoVersionInformation)
{
    TSoftwareInfoManager info(u":/version/NOSUCHRESOURCE"_s);
    try {
        info.Initialize();
        FAIL() << "no exception";
    } catch (const EResNotFound &e) {
        EXPECT_EQ(e.Message(), kNoVersionMessage);
    }
}

} // namespace
