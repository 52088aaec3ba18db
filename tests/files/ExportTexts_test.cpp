#include "SmallRun.h"

#include "core/MarnovelConfigManager.h"
#include "core/MarnovelUtils.h"
#include "core/RegionalGuard.h"
#include "core/UiTextManager.h"
#include "plate/TextGrid.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString ReadExpected(const char *name)
{
    QFile file(QStringLiteral(VELOMYRA_TEST_DATA_DIR "/") + QString::fromUtf8(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return SmallRun::Localised(QString::fromUtf8(file.readAll()));
}

class ExportTextsTest : public ::testing::Test
{
protected:
    void Calculate(const QList<QStringList> &plate = SmallRun::DefaultPlate())
    {
        SmallRun::LayOut(data, plate);
        result = CalculateRun(data);
        FillRawDataGrid(data, grid);
    }

    TMarnovelRdData data;
    TRunCalculationResult result;
    TTextGrid grid;
};

// The lines of a text that start with the run number: the data lines of both exports.
QStringList DataLines(const QString &text)
{
    QStringList lines;
    for (const QString &line : text.split(u"\r\n"_s)) {
        if (line.startsWith(u"12\t"_s) || line.startsWith(u"ID "_s))
            lines << line;
    }
    return lines;
}

} // namespace

TEST_F(ExportTextsTest, ResultsExport_SmallRun_MatchesExpectedText)
{
    Calculate();
    EXPECT_EQ(BuildResultsExportText(data, result, SmallRun::Details()),
              ReadExpected("small-results-export.txt"));
}

TEST_F(ExportTextsTest, RawDataExport_SmallRun_MatchesExpectedText)
{
    Calculate();
    EXPECT_EQ(BuildRawDataExportText(data, result, SmallRun::Details(), grid),
              ReadExpected("small-rawdata-export.txt"));
}

TEST_F(ExportTextsTest, BothExports_FailedRun_SayNoInEveryLine)
{
    QList<QStringList> plate = SmallRun::DefaultPlate();
    plate[0][0] = u"0.400"_s; // S1 mean below 0.600: the run fails QC
    Calculate(plate);
    ASSERT_FALSE(result.Valid);
    const QString results = BuildResultsExportText(data, result, SmallRun::Details());
    const QString raw = BuildRawDataExportText(data, result, SmallRun::Details(), grid);
    const QStringList lines = DataLines(results) + DataLines(raw);
    ASSERT_EQ(lines.size(), 5 + 8);
    for (const QString &line : lines) {
        EXPECT_TRUE(line.contains(u"\t31/May/2017\tNo\t"_s)) << line.toStdString();
        EXPECT_FALSE(line.contains(u"\tYes\t"_s)) << line.toStdString();
    }
}

TEST_F(ExportTextsTest, RawDataExport_NonNumericAndMissingStandardWells_ShowCalculationValues)
{
    QList<QStringList> plate = SmallRun::DefaultPlate();
    plate[2][0] = u"OVER"_s; // S3 of the first series
    plate[3][1] = u"N/S"_s;  // S4 of the second series
    Calculate(plate);
    const QStringList lines = DataLines(BuildRawDataExportText(data, result, SmallRun::Details(), grid));
    ASSERT_EQ(lines.size(), 8);
    // The plate columns keep the grid's texts; the standard columns show 4 and 0.
    EXPECT_TRUE(lines.at(2).contains(u"\tOVER\t"_s + TestSupport::Dec("0.150") + u"\t"_s))
        << lines.at(2).toStdString();
    EXPECT_TRUE(lines.at(2).contains(u"\tS3\t"_s + TestSupport::Dec("0.250") + u"\t4\t"_s +
                                     TestSupport::Dec("0.15") + u"\t"_s))
        << lines.at(2).toStdString();
    EXPECT_TRUE(lines.at(3).contains(u"\tS4\t"_s + TestSupport::Dec("0.000") + u"\t"_s +
                                     TestSupport::Dec("0.052") + u"\t0\t"_s))
        << lines.at(3).toStdString();
}

TEST_F(ExportTextsTest, RawDataExport_NoStandardBlocks_WritesPlateWithoutStandardColumns)
{
    Calculate();
    data.ClearStdBlocks(); // blocks deleted after the calculation
    const QString text = BuildRawDataExportText(data, result, SmallRun::Details(), grid);
    const QStringList lines = DataLines(text);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_TRUE(text.contains(u"Raw Data (OD)\t\t\t\tStd\tConc\tRaw Data (OD)Mean\t"_s));
    EXPECT_TRUE(lines.at(0).endsWith(u"\tS1\t"_s + SmallRun::Localised(u"1.201\t1.3\tPASS\t1.00"_s)))
        << lines.at(0).toStdString();
}

TEST_F(ExportTextsTest, ResultsExport_NoAnnotations_HasNoFootnotes)
{
    QList<QStringList> plate = SmallRun::DefaultPlate();
    plate[1][2] = u"0.3"_s;
    plate[2][2] = u"0.4"_s;
    Calculate(plate);
    const QString text = BuildResultsExportText(data, result, SmallRun::Details());
    EXPECT_TRUE(text.endsWith(u"ID 5\t12\t31/May/2017\tYes\t"_s + TestSupport::Dec("0.34") + u"\r\n"_s))
        << text.toStdString();
    EXPECT_FALSE(text.contains(UiText(285)));
    EXPECT_FALSE(text.contains(UiText(286)));
}

// A control character in a run detail, an identifier or a plate text would shift the
// columns after it or break a line: every one is written as a blank.
TEST_F(ExportTextsTest, BothExports_ControlCharactersInTexts_KeepEveryColumn)
{
    Calculate();
    const TRunDetails clean = SmallRun::Details();
    const QString cleanResults = BuildResultsExportText(data, result, clean);
    const QString cleanRaw = BuildRawDataExportText(data, result, clean, grid);
    const auto shape = [](const QString &text) {
        QList<qsizetype> tabs;
        for (const QString &line : text.split(u"\r\n"_s))
            tabs << line.count(u'\t');
        return tabs;
    };
    for (const char16_t control : {u'\u0000', u'\t', u'\n', u'\r', u'\u001B', u'\u007F', u'\u0085'}) {
        const QString c(QChar{control});
        TRunDetails details = clean;
        details.RunNumber = u"1"_s + c + u"2"_s;
        details.KitBatchNumber = u"K"_s + c + u"1"_s;
        details.OperatorName = u"A."_s + c + u"Smith"_s;
        data.RawData().getCellInteger(0)->setId(u"ID"_s + c + u"1"_s, false);
        TTextGrid dirtyGrid = grid;
        dirtyGrid.SetCell(3, 2, u"OV"_s + c + u"ER"_s);
        const QString results = BuildResultsExportText(data, result, details);
        const QString raw = BuildRawDataExportText(data, result, details, dirtyGrid);
        EXPECT_EQ(shape(results), shape(cleanResults)) << int(control);
        EXPECT_EQ(shape(raw), shape(cleanRaw)) << int(control);
        EXPECT_TRUE(results.contains(u"\r\nID 1\t1 2\t"_s)) << int(control);
        EXPECT_TRUE(raw.contains(u"\tOV ER\t"_s)) << int(control);
        EXPECT_TRUE(results.startsWith(UiText(114) + u": "_s)) << int(control);
        EXPECT_TRUE(
            results.contains(u"\r\n"_s + UiText(46) + u": A. Smith\r\n"_s + UiText(45) + u": K 1\r\n"_s))
            << int(control);
    }
}

TEST_F(ExportTextsTest, ResultsExport_GermanLocale_RunDateWithItsMonthName)
{
    Calculate();
    const LocaleGuard locale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_TRUE(
        BuildResultsExportText(data, result, SmallRun::Details()).contains(u"\t12\t31/Mai/2017\tYes\t"_s));
}

TEST_F(ExportTextsTest, FillRawDataGrid_FullPlate_HasWindowHeadings)
{
    Calculate();
    ASSERT_EQ(grid.ColCount(), 4);
    ASSERT_EQ(grid.RowCount(), 9);
    EXPECT_EQ(grid.Cell(0, 0), QString());
    EXPECT_EQ(grid.Cell(3, 0), u"3"_s);
    EXPECT_EQ(grid.Cell(0, 1), u"A"_s);
    EXPECT_EQ(grid.Cell(0, 8), u"H"_s);
    EXPECT_EQ(grid.Cell(3, 2), u"OVER"_s);
}

TEST(ExportFileTest, WriteExportFile_ExistingFile_ReplacedWithUtf8AndByteOrderMark)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"export.txt"_s);
    WriteExportFile(path, u"an older, longer text that must disappear completely"_s);
    WriteExportFile(path, u"\u00B6 text\r\n"_s);
    EXPECT_EQ(ReadWholeFile(path), QByteArray("\xEF\xBB\xBF\xC2\xB6 text\r\n"));
}

TEST(ExportFileTest, ProposedExportFileName_SuffixTaken_ProposesNextSuffix)
{
    const QString folder = GetConfigManager().GetDirExportFiles();
    ASSERT_TRUE(EnsureDirectory(folder, false));
    const QDate runDate(2017, 5, 31);
    const QString first = ProposedExportFileName(runDate, u"DataExp"_s);
    EXPECT_EQ(QDir(folder).filePath(u"31May17DataExpa.txt"_s), QDir::cleanPath(first));
    WriteExportFile(first, u"x"_s);
    EXPECT_EQ(QDir(folder).filePath(u"31May17DataExpb.txt"_s),
              QDir::cleanPath(ProposedExportFileName(runDate, u"DataExp"_s)));
    EXPECT_TRUE(ProposedExportFileName(runDate, u"ResultExp"_s).endsWith(u"31May17ResultExpa.txt"_s));

    const LocaleGuard german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(QDir(folder).filePath(u"08Dez26DataExpa.txt"_s),
              QDir::cleanPath(ProposedExportFileName(QDate(2026, 12, 8), u"DataExp"_s)));
}
