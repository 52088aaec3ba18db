// What a workbook does with what a hostile run file can bring (control characters, lone
// surrogates, endless texts, dates no spreadsheet has), read back with openpyxl; and the
// decimals a shown number gives its cell.
#include "core/Exceptions.h"
#include "core/MarnovelUtils.h"
#include "workbook/RunWorkbook.h"
#include "workbook/Workbook.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Every cell of the workbook as the dump of tests/cli/compare-workbook.py gives it:
// [sheet, row, column, type, value, number format], rows and columns from 1.
QJsonArray ReadBack(const QString &path)
{
    QProcess process;
    process.start(QStringLiteral(VELOMYRA_PYTHON3),
                  {QStringLiteral(VELOMYRA_SOURCE_DIR "/tests/cli/compare-workbook.py"), u"dump"_s, path});
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(process.readAllStandardOutput()).array();
}

QJsonArray Cell(const char *sheet, int row, int column, const char *type, const QJsonValue &value,
                const char *format = "General")
{
    return {QString::fromUtf8(sheet), row, column, QString::fromUtf8(type), value, QString::fromUtf8(format)};
}

} // namespace

TEST(Workbook, HostileTextsDatesAndNumbers_ReadBackAsASpreadsheetCanHoldThem)
{
    const QTemporaryDir folder;
    const QString path = folder.filePath(u"hostile.xlsx"_s);
    const QString endless(40000, u'x');
    {
        TWorkbook workbook;
        TWorksheet sheet = workbook.AddSheet(u"Results"_s);
        sheet.Text(0, 0, u"a\u0001b\u001Fc\td\u000Be"_s);
        sheet.Text(1, 0, u"A. Sm"_s + QChar(0xDC00) + u"ith"_s);
        sheet.Text(2, 0, endless);
        sheet.Text(3, 0, u"=1+2"_s);
        sheet.Date(4, 0, QDate(2026, 12, 9));
        sheet.Date(5, 0, QDate(1899, 12, 31));
        sheet.Number(6, 0, 0.1715, 3);
        sheet.Number(6, 1, 2.0, 0);
        sheet.Number(6, 2, 0.38852018701050011);
        sheet.Number(6, 3, std::nan(""), 2); // left empty, as a missing number is
        sheet.Number(6, 4, std::nullopt, 2);
        sheet.Boolean(7, 0, true);
        // Past the format's last row: refused with a reason, not written somewhere else.
        EXPECT_THROW(sheet.Number(1048576, 0, 1.0), EInOutError);
        TSafeFileWriter file(path);
        workbook.WriteTo(file);
        file.Commit();
    }
    const QJsonArray expected{
        Cell("Results", 1, 1, "str", u"abc\tde"_s),
        Cell("Results", 2, 1, "str", u"A. Sm\uFFFDith"_s),
        Cell("Results", 3, 1, "str", QString(32767, u'x')),
        Cell("Results", 4, 1, "str", u"=1+2"_s),
        Cell("Results", 5, 1, "datetime", u"2026-12-09"_s, "yyyy-mm-dd"),
        Cell("Results", 6, 1, "str", u"1899-12-31"_s),
        Cell("Results", 7, 1, "float", 0.1715, "0.000"),
        Cell("Results", 7, 2, "int", 2, "0"),
        Cell("Results", 7, 3, "float", 0.38852018701050011),
        Cell("Results", 8, 1, "bool", true, "\"TRUE\";\"TRUE\";\"FALSE\""),
    };
    const QJsonArray cells = ReadBack(path);
    ASSERT_EQ(cells.size(), expected.size()) << QJsonDocument(cells).toJson().left(2000).toStdString();
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(cells.at(i), expected.at(i))
            << i << " " << QJsonDocument(cells.at(i).toArray()).toJson().left(300).toStdString();
}

TEST(Workbook, ShownDecimals)
{
    const struct
    {
        QString text;
        std::optional<int> decimals;
    } cases[] = {
        {u"0.350"_s, 3},
        {u"0,35"_s, 2},
        {u"12"_s, 0},
        {u"-0.5"_s, 1},
        {u"0.39#"_s, 2},
        {u"> 10¶"_s, 0},
        {u"N/A"_s, std::nullopt},
        {QString(), std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ShownDecimals(c.text), c.decimals) << c.text.toStdString();
}
