// The run date of a run file through the tool, whatever date settings the lab's computer
// has: the file's yyyy-mm-dd date is read, shown and written back unchanged.
#include "CliTestSupport.h"

#include "core/RegionalGuard.h"
#include "support/TestSupport.h"

#include "core/MarnovelUtils.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The example run with another run date.
QString ExampleRunDated(const QTemporaryDir &folder, const QString &isoDate)
{
    return WriteExampleRunVariant(folder.filePath(u"dated.vdf"_s),
                                  {{u"RunDateI18n=2026-12-09"_s, u"RunDateI18n="_s + isoDate}});
}

QString Q(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

TEST(CliRunDates, RunFile_AnyShortDatePattern_LoadsAndSavesTheSameDate)
{
    const std::optional<QString> missing;
    const struct
    {
        const char *name;
        RegionalGuard::Values store;
    } cases[] = {
        {"year first", {{Q("sDate"), Q("/")}, {Q("sShortDate"), Q("yyyy-MM-dd")}}},
        {"dots without sDate", {{Q("sDate"), missing}, {Q("sShortDate"), Q("dd.MM.yyyy")}}},
        {"month name", {{Q("sDate"), Q("-")}, {Q("sShortDate"), Q("dd-MMM-yyyy")}}},
        {"two-digit year", {{Q("sDate"), Q("/")}, {Q("sShortDate"), Q("dd/MM/yy")}}},
        {"month first, two-digit year", {{Q("sDate"), Q("/")}, {Q("sShortDate"), Q("M/d/yy")}}},
        {"empty pattern", {{Q("sShortDate"), Q("")}}},
        {"system locale", {{Q("sDate"), missing}, {Q("sShortDate"), missing}}},
    };
    QTemporaryDir folder;
    const QString input = ExampleRunDated(folder, u"1950-06-15"_s);
    const QString saved = folder.filePath(u"saved.vdf"_s);
    for (const auto &c : cases) {
        const RegionalGuard guard(c.store);
        QFile::remove(saved);
        const CliRun run = RunCli({u"calc"_s, input, u"--json"_s, u"--save"_s, saved});
        EXPECT_EQ(run.status, 0) << c.name << ": " << run.err.toStdString();
        EXPECT_EQ(
            QJsonDocument::fromJson(run.out).object().value(u"runDetails"_s).toObject().value(u"runDate"_s),
            u"1950-06-15"_s)
            << c.name;
        EXPECT_TRUE(DecodeText(ReadWholeFile(saved)).contains(u"\r\nRunDateI18n=1950-06-15\r\n"_s)) << c.name;
    }
}

TEST(CliRunDates, Summary_ShowsMonthNameOfTheSystemLocale)
{
    const struct
    {
        const char *locale;
        const char *date;
    } cases[] = {
        {"C", "09/Dec/2026"},
        {"en_US.UTF-8", "09/Dec/2026"},
        {"de_DE.UTF-8", "09/Dez/2026"},
        {"fr_FR.UTF-8", "09/d\u00E9c/2026"},
    };
    for (const auto &c : cases) {
        const CliRun run = RunCli({u"calc"_s, QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf")},
                                  UnderLocale(Q(c.locale)));
        EXPECT_EQ(run.status, 0) << c.locale << ": " << run.err.toStdString();
        EXPECT_TRUE(QString::fromUtf8(run.out).contains(Q(c.date))) << c.locale << "\n"
                                                                    << run.out.toStdString();
    }
}
