#include "SmallRun.h"

#include "core/Exceptions.h"
#include "core/MarnovelConfigManager.h"
#include "core/MarnovelUtils.h"
#include "core/RegionalGuard.h"
#include "core/RegionalSettings.h"
#include "files/BlockIO.h"
#include "files/CombinedFileHandler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

QString ExpectedFileText()
{
    const QByteArray bytes = ReadWholeFile(QStringLiteral(VELOMYRA_TEST_DATA_DIR "/small-run.vdf"));
    QString text = DecodeText(bytes);
    // Numbers are written with the separator of the machine that writes the file.
    QStringList lines = text.split(u"\r\n"_s);
    for (QString &line : lines) {
        if (line.startsWith(u"DecimalSeperator="_s) || line.startsWith(u"StdConc="_s) ||
            line.startsWith(u"Point"_s))
            line = TestSupport::Dec(line);
    }
    return lines.join(u"\r\n"_s);
}

QByteArray Utf16File(const QString &text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return QByteArray("\xFF\xFE", 2) + QByteArray(encoder(text));
}

// Everything a load may change, as one text.
QString Snapshot(const TMarnovelData &data)
{
    QStringList parts;
    parts << QString::number(data.GetCurveType());
    for (const float conc : data.StdConc())
        parts << QString::number(conc);
    parts << QString::number(data.XExtent()) << QString::number(data.YExtent());
    for (int col = 0; col < TMarnovelData::DataCols; ++col) {
        for (int row = 0; row < TMarnovelData::DataRows; ++row)
            parts << data.PlateText(col, row);
    }
    for (const OWCells *cells : {&data.RawData(), &data.StdBlocks()}) {
        for (const auto &block : cells->Blocks()) {
            // A standard block read from a file takes no criteria type over.
            parts << block->id() << QString::number(block->getIsStandard())
                  << QString::number(block->FixedID())
                  << QString::number(block->getIsStandard() ? 0 : int(block->GetCriteriaType()));
            for (const OWCellBlockElm &well : block->block())
                parts << u"%1,%2,%3"_s.arg(well.mCell.x()).arg(well.mCell.y()).arg(well.fID);
            for (int i = 0; i < block->ValueCount(); ++i)
                parts << block->getRawValue(i) << QString::number(int(block->getValidityValue(i)));
        }
    }
    parts << OWCellBlockBase::GetCurrentSubjectIdStr() << OWCellBlockBase::GetCurrentStandardIdStr();
    return parts.join(u'\n');
}

class FileHandlerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        handler.SetRunData(&data);
        handler.SetSystemInfo(&info);
    }

    // The small run, calculated, with its run details in the record.
    void PrepareSmallRun()
    {
        SmallRun::LayOut(data);
        CalculateRun(data);
        info.mData = &data;
        info.RunDate = QDate(2017, 5, 31);
        info.SetUserInfoValue(info.RunNumberName(), u"12"_s);
        info.SetUserInfoValue(info.KitBatchNumberName(), u"K0001"_s);
        info.SetUserInfoValue(info.OperatorName(), u"A. Smith"_s);
        info.SetUserInfoValue(info.RawDataRowsName(), QString::number(data.YExtent()));
        info.SetUserInfoValue(info.RawDataColsName(), QString::number(data.XExtent()));
    }

    QString Path(const QString &name) const { return folder.filePath(name); }

    QString WriteFile(const QString &name, const QString &text) const
    {
        const QString path = Path(name);
        WriteFileAtomically(path, Utf16File(text));
        return path;
    }

    QTemporaryDir folder;
    TMarnovelRdData data;
    TSystemInfo info;
    TCombinedFileHandler handler;
};

} // namespace

TEST_F(FileHandlerTest, SaveDataAndFormat_SmallRun_WritesExactLayout)
{
    PrepareSmallRun();
    handler.SaveDataAndFormat(Path(u"run.vdf"_s));
    const QByteArray bytes = ReadWholeFile(Path(u"run.vdf"_s));
    ASSERT_TRUE(bytes.startsWith(QByteArray("\xFF\xFE", 2)));
    EXPECT_EQ(DecodeText(bytes), ExpectedFileText());
    EXPECT_TRUE(DecodeText(bytes).endsWith(u"BlockType=2\r\n"_s));
}

TEST_F(FileHandlerTest, SaveThenLoad_RunDataFile_RestoresRun)
{
    PrepareSmallRun();
    data.SetCurveType(CURVE_4POINT, {5.5, 1.25, 0.3, 0.0});
    CalculateRun(data);
    handler.SaveDataAndFormat(Path(u"run.vdf"_s));
    const QString saved = Snapshot(data);

    OWCellBlockBase::Reset();
    TMarnovelRdData loaded;
    TSystemInfo loadedInfo;
    handler.SetRunData(&loaded);
    handler.SetSystemInfo(&loadedInfo);
    ASSERT_EQ(handler.LoadDataAndFormat(Path(u"run.vdf"_s)), FL_OK);

    // Blocks read their wells again: the "N/S" sample comes back as "N/S", not specified.
    EXPECT_EQ(Snapshot(loaded).section(u'\n', 0, -3).toStdString(),
              saved.section(u'\n', 0, -3).toStdString());
    const OWCellBlockBase *missing = loaded.RawData().getCellInteger(3);
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->getRawValue(0), u"N/S"_s);
    EXPECT_EQ(missing->getValidityValue(0), ValueNotSpecified);
    EXPECT_EQ(loaded.StdConc(), TStdConcData({5.5f, 1.25f, 0.3f, 0.0f}));
    EXPECT_EQ(loadedInfo.RunDate, QDate(2017, 5, 31));
    EXPECT_EQ(loadedInfo.UserInfoValue(loadedInfo.RunNumberName()), u"12"_s);
    EXPECT_EQ(loadedInfo.UserInfoValue(loadedInfo.KitBatchNumberName()), u"K0001"_s);
    EXPECT_EQ(loadedInfo.UserInfoValue(loadedInfo.OperatorName()), u"A. Smith"_s);
    EXPECT_EQ(loadedInfo.UserInfoValue(loadedInfo.RawDataColsName()), u"4"_s);
    EXPECT_EQ(loadedInfo.mRawData.size(), 8);
}

TEST_F(FileHandlerTest, SaveThenLoad_BlocksWithoutPlateText_LoadsAgain)
{
    SmallRun::AddBlock(data, true,
                       {QPoint(1, 1), QPoint(1, 2), QPoint(1, 3), QPoint(1, 4), QPoint(1, 5), QPoint(1, 6),
                        QPoint(1, 7), QPoint(1, 8)});
    SmallRun::AddBlock(data, false, {QPoint(12, 8)});
    info.mData = &data;
    info.RunDate = QDate(2017, 5, 31); // no grid size in the record
    handler.SaveDataAndFormat(Path(u"layout-only.vdf"_s));

    TMarnovelRdData loaded;
    handler.SetRunData(&loaded);
    ASSERT_EQ(handler.LoadDataAndFormat(Path(u"layout-only.vdf"_s)), FL_OK);
    ASSERT_EQ(loaded.StdBlocks().GetCount(), 1);
    ASSERT_EQ(loaded.RawData().GetCount(), 1);
    EXPECT_EQ(loaded.RawData().getCellInteger(0)->block()[0].mCell, QPoint(12, 8));
    EXPECT_EQ(loaded.XExtent(), 0);
}

TEST_F(FileHandlerTest, LoadFormat_FileWithValues_RestoresBlocksWithFreshIdentifiers)
{
    PrepareSmallRun();
    handler.SaveFormat(Path(u"layout.vff"_s));
    const QString text = DecodeText(ReadWholeFile(Path(u"layout.vff"_s)));
    EXPECT_TRUE(
        text.startsWith(u"[GeneralInfo]\r\nSoftware version=5.3.0\r\nCurveType=0\r\n\r\n[Cell0]\r\n"_s));
    EXPECT_TRUE(text.contains(u"Point0=3|1|1|"_s + TestSupport::Dec("0.350") + u"\r\n"_s));

    OWCellBlockBase::Reset();
    OWCellBlockBase::SetNextSubjectId();
    OWCellBlockBase::SetNextSubjectId();
    OWCellBlockBase::SetNextStandardId();
    TMarnovelRdData fresh; // 8-point until the file says otherwise
    handler.SetRunData(&fresh);
    ASSERT_EQ(handler.LoadFormat(Path(u"layout.vff"_s)), FL_OK);
    EXPECT_EQ(fresh.GetCurveType(), CURVE_4POINT);
    EXPECT_EQ(fresh.XExtent(), 0); // no plate text from a format file
    ASSERT_EQ(fresh.RawData().GetCount(), 5);
    ASSERT_EQ(fresh.StdBlocks().GetCount(), 2);
    EXPECT_EQ(fresh.RawData().getCellInteger(0)->id(), u"ID 3"_s);
    EXPECT_EQ(fresh.RawData().getCellInteger(4)->id(), u"ID 7"_s);
    EXPECT_EQ(fresh.RawData().getCellInteger(4)->FixedID(), 5);
    EXPECT_EQ(fresh.StdBlocks().getCellInteger(1)->id(), u"Std 3"_s);
    EXPECT_EQ(fresh.StdBlocks().getCellInteger(1)->Count(), 4);
    EXPECT_EQ(OWCellBlockBase::GetCurrentSubjectIdStr(), u"ID 8"_s);
}

// A file that is no format file would clear the layout: it is refused, the layout kept.
TEST_F(FileHandlerTest, LoadFormat_EmptyBinaryOrHeaderlessFile_RaisesAndKeepsLayout)
{
    PrepareSmallRun();
    const QString before = Snapshot(data);
    const QByteArray files[] = {QByteArray(), Utf16File(ExpectedFileText()).mid(2),
                                Utf16File(u"[Cell0]\r\nBlockType=2\r\n"_s)};
    for (const QByteArray &bytes : files) {
        WriteFileAtomically(Path(u"layout.vff"_s), bytes);
        EXPECT_THROW(handler.LoadFormat(Path(u"layout.vff"_s)), EConvertError)
            << bytes.left(20).toHex().data();
        EXPECT_EQ(Snapshot(data).toStdString(), before.toStdString());
    }
}

// Variations of the small run's file that load; each checks what it is about.
struct LoadCase
{
    const char *name;
    std::function<QString(QString)> edit;
    std::function<void(const TMarnovelData &, const TSystemInfo &)> check;
};

class LoadEdgeCaseTest : public FileHandlerTest, public ::testing::WithParamInterface<LoadCase>
{
};

TEST_P(LoadEdgeCaseTest, LoadDataAndFormat_Variation_LoadsAsExpected)
{
    const QString path = WriteFile(u"case.vdf"_s, GetParam().edit(ExpectedFileText()));
    data.SetCurveType(CURVE_8POINT, {9, 4, 2, 1, 0.5, 0.25, 0.125, 0});
    ASSERT_EQ(handler.LoadDataAndFormat(path), FL_OK);
    GetParam().check(data, info);
}

namespace {

// The small run's subjects (column 3, rows 1 to 5) and `count` standard series without
// values on the other wells.
QString WithStandardSeries(QString text, int count)
{
    text.truncate(text.indexOf(u"[Cell5]"_s));
    QList<QPoint> wells;
    for (int col = 1; col <= PlateColumnCount; ++col)
        for (int row = 1; row <= PlateRowCount; ++row)
            if (col != 3 || row > 5)
                wells << QPoint(col, row);
    for (int series = 0; series < count; ++series) {
        text += u"[Cell%1]\r\n"_s.arg(5 + series);
        for (int i = 0; i < 4; ++i) {
            const QPoint well = wells.at(series * 4 + i);
            text += u"Point%1=%2|%3|%4|\r\n"_s.arg(i).arg(well.x()).arg(well.y()).arg(i + 1);
        }
        text += u"CriteriaType=8\r\nFixedID=0\r\nID=Std %1\r\nBlockType=1\r\n\r\n"_s.arg(series + 1);
    }
    return text;
}

QChar OtherSeparator()
{
    return GetRegionalDecimalSeparator() == u'.' ? u',' : u'.';
}

const OWCellBlockBase &Subject(const TMarnovelData &data, int index)
{
    const OWCellBlockBase *block = data.RawData().getCellInteger(index);
    if (!block)
        throw std::runtime_error("missing subject block");
    return *block;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Files, LoadEdgeCaseTest,
    ::testing::Values(
        LoadCase{"MissingCell3_EndsReadingAtCell2",
                 [](QString text) { return text.replace(u"[Cell3]"_s, u"[Other]"_s); },
                 [](const TMarnovelData &data, const TSystemInfo &) {
                     EXPECT_EQ(data.RawData().GetCount(), 3);
                     EXPECT_EQ(data.StdBlocks().GetCount(), 0);
                 }},
        LoadCase{"NoStdConc_DefaultConcentrations",
                 [](QString text) { return text.remove(QRegularExpression(u"StdConc=[^\r]*\r\n"_s)); },
                 [](const TMarnovelData &data, const TSystemInfo &) {
                     EXPECT_EQ(data.GetCurveType(), CURVE_4POINT);
                     EXPECT_EQ(data.StdConc(), TStdConcData({4.0f, 1.0f, 0.25f, 0.0f}));
                 }},
        LoadCase{
            "ZeroStandardConcentration_AlwaysZero",
            [](QString text) {
                return text.replace(u"|"_s + TestSupport::Dec("0.000") + u"\r\n"_s, u"|not read\r\n"_s);
            },
            [](const TMarnovelData &data, const TSystemInfo &) { EXPECT_EQ(data.StdConc().last(), 0.0f); }},
        LoadCase{"CommaPointValue_ReadLikeBarSeparated",
                 [](QString text) { return text.replace(u"Point0=3|1|1|"_s, u"Point0=3,1,1,"_s); },
                 [](const TMarnovelData &data, const TSystemInfo &) {
                     EXPECT_EQ(Subject(data, 0).block()[0].mCell, QPoint(3, 1));
                     EXPECT_EQ(Subject(data, 0).getRawValue(0), TestSupport::Dec("0.350"));
                 }},
        LoadCase{"OtherDecimalSeparator_WellTextsConverted",
                 [](QString text) {
                     const QChar sep = GetRegionalDecimalSeparator();
                     text.replace(u"DecimalSeperator="_s + sep, u"DecimalSeperator="_s + OtherSeparator());
                     text.replace(u"StdConc=4"_s + sep + u"000|1"_s + sep + u"000|0"_s + sep + u"250|0"_s +
                                      sep + u"000"_s,
                                  u"StdConc=4"_s + OtherSeparator() + u"000|1|0"_s + OtherSeparator() +
                                      u"25|0"_s);
                     return text.replace(u"Point0=3|1|1|0"_s + sep + u"350"_s,
                                         u"Point0=3|1|1|0"_s + OtherSeparator() + u"512"_s);
                 },
                 [](const TMarnovelData &data, const TSystemInfo &) {
                     EXPECT_EQ(Subject(data, 0).getRawValue(0), TestSupport::Dec("0.512"));
                     EXPECT_EQ(Subject(data, 1).getRawValue(0), u"OVER"_s);
                     EXPECT_EQ(data.PlateText(2, 0), TestSupport::Dec("0.512"));
                     EXPECT_EQ(data.StdConc(), TStdConcData({4.0f, 1.0f, 0.25f, 0.0f}));
                 }},
        LoadCase{"OldStyleRunDate_ConvertedWithItsSeparator",
                 [](QString text) {
                     return text.replace(u"RunDateI18n=2017-05-31"_s,
                                         u"DateSeperator=-\r\nRunDate=31-05-2017"_s);
                 },
                 [](const TMarnovelData &, const TSystemInfo &info) {
                     EXPECT_EQ(info.RunDate, QDate(2017, 5, 31));
                 }},
        LoadCase{"LargeBlockType_PlainCell",
                 [](QString text) {
                     return text.replace(u"Point0=1|5|-1|N/S\r\nBlockType=2"_s,
                                         u"Point0=1|5|-1|X7\r\nBlockType=7"_s);
                 },
                 [](const TMarnovelData &data, const TSystemInfo &) {
                     EXPECT_EQ(data.PlateText(0, 4), u"X7"_s);
                     EXPECT_EQ(data.RawData().GetCount() + data.StdBlocks().GetCount(), 7);
                 }},
        LoadCase{"TextHoldingTheFieldSeparator_KeptWhole",
                 [](QString text) { return text.replace(u"Point0=3|2|1|OVER"_s, u"Point0=3|2|1|OV|ER"_s); },
                 [](const TMarnovelData &data, const TSystemInfo &) {
                     EXPECT_EQ(Subject(data, 1).getRawValue(0), u"OV|ER"_s);
                 }},
        LoadCase{"TwentyOneStandardSeries_AsManyAsACalculationTakes",
                 [](QString text) { return WithStandardSeries(text, 21); },
                 [](const TMarnovelData &data, const TSystemInfo &) {
                     EXPECT_EQ(data.StdBlocks().GetCount(), 21);
                 }},
        // Plain cells are no block: one given twice only changes the plate text.
        LoadCase{
            "PlainCellTwice_LastTextKept",
            [](QString text) { return text.replace(u"Point0=1|6|-1|N/S"_s, u"Point0=1|5|-1|X"_s); },
            [](const TMarnovelData &data, const TSystemInfo &) { EXPECT_EQ(data.PlateText(0, 4), u"X"_s); }},
        LoadCase{"LayoutWiderThanPlate_WellWithoutTextLoads",
                 [](QString text) {
                     return text.replace(u"Point0=3|5|1|"_s + TestSupport::Dec("0.200"), u"Point0=7|5|1|"_s);
                 },
                 [](const TMarnovelData &data, const TSystemInfo &) {
                     EXPECT_EQ(Subject(data, 4).block()[0].mCell, QPoint(7, 5));
                     EXPECT_EQ(data.XExtent(), 4);
                 }}),
    [](const ::testing::TestParamInfo<LoadCase> &info) { return std::string(info.param.name); });

// Files that must not load: each fails with one error naming the file, whose reason alone
// is one line (or with a load result code), and leaves the run exactly as it was,
// identifier counters included.
struct BadFileCase
{
    const char *name;
    std::function<QByteArray(QString)> content; // from the small run's file text
    TFileLoadResult code;                       // FL_OK: an exception is expected
    const char *reason = nullptr;               // the exception's reason, where the case checks it
};

class BadFileTest : public FileHandlerTest, public ::testing::WithParamInterface<BadFileCase>
{
};

namespace {

std::function<QByteArray(QString)> Replace(const char *from, const char *to)
{
    return [from, to](QString text) {
        const QString before = text;
        text.replace(QString::fromUtf8(from), QString::fromUtf8(to));
        if (text == before)
            throw std::runtime_error(std::string("case does not apply: ") + from);
        return Utf16File(text);
    };
}

QByteArray ManySections(QString text)
{
    QString extra;
    for (int n = 18; n < 1200; ++n)
        extra += u"[Cell%1]\r\nPoint0=1|5|-1|N/S\r\nBlockType=2\r\n"_s.arg(n);
    return Utf16File(text + extra);
}

} // namespace

TEST_P(BadFileTest, LoadDataAndFormat_BadFile_FailsAndLeavesRunUnchanged)
{
    PrepareSmallRun();
    OWCellBlockBase::SetNextSubjectId();
    const QString before = Snapshot(data);
    const QStringList infoBefore = info.mUserInfo;
    const QString path = Path(u"bad.vdf"_s);
    if (QString::fromUtf8(GetParam().name) != u"MissingFile")
        WriteFileAtomically(path, GetParam().content(ExpectedFileText()));

    if (GetParam().code == FL_OK) {
        try {
            const TFileLoadResult result = handler.LoadDataAndFormat(path);
            ADD_FAILURE() << "the load did not fail: " << result;
        } catch (const MarnovelException &error) {
            EXPECT_TRUE(error.Message().contains(path)) << error.Message().toStdString();
            EXPECT_FALSE(error.Reason().isEmpty()) << error.Message().toStdString();
            EXPECT_FALSE(error.Reason().contains(u'\n')) << error.Reason().toStdString();
            EXPECT_FALSE(error.Reason().contains(u"Exception occured"_s)) << error.Reason().toStdString();
            if (GetParam().reason) {
                EXPECT_EQ(error.Reason(), QString::fromUtf8(GetParam().reason));
            }
        }
    } else {
        EXPECT_EQ(handler.LoadDataAndFormat(path), GetParam().code);
    }
    EXPECT_EQ(Snapshot(data).toStdString(), before.toStdString());
    EXPECT_EQ(info.mUserInfo, infoBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadFileTest,
    ::testing::Values(
        BadFileCase{"PointAtColumn99", Replace("Point0=3|1|1|", "Point0=99|1|1|"), FL_OK},
        BadFileCase{"PointAtRowMinus3", Replace("Point0=3|1|1|", "Point0=3|-3|1|"), FL_OK},
        BadFileCase{"PlainCellOutsideData", Replace("Point0=1|5|-1|N/S", "Point0=4|5|-1|N/S"), FL_OK},
        BadFileCase{"PointWithTwoFields", Replace("Point0=3|1|1|", "Point0=3|1\r\nX="), FL_OK},
        BadFileCase{"PointKeyMissing", Replace("Point3=1|4|4|", "Pointless=1|4|4|"), FL_OK},
        BadFileCase{"PointColumnNotInteger", Replace("Point0=3|1|1|", "Point0=3.5|1|1|"), FL_OK},
        BadFileCase{"UnknownWellLabel", Replace("Point0=3|1|1|", "Point0=3|1|2|"), FL_OK},
        BadFileCase{"BlockTypeNotInteger", Replace("BlockType=0", "BlockType=zero"), FL_OK},
        BadFileCase{"BlockTypeNegative", Replace("BlockType=0", "BlockType=-1"), FL_OK},
        BadFileCase{"FixedIdNotInteger", Replace("FixedID=2", "FixedID=two"), FL_OK},
        BadFileCase{"DataColsHuge", Replace("DataCols=4", "DataCols=100000"), FL_OK},
        // Values the declared plate text cannot hold would be dropped and calculated as
        // non-numerical.
        BadFileCase{"SubjectValueBeyondDataCols", Replace("Point0=3|5|1|", "Point0=5|5|1|"), FL_OK},
        BadFileCase{"StandardValueBeyondDataCols", Replace("Point3=2|4|4|", "Point3=12|4|4|"), FL_OK},
        BadFileCase{"NotSpecifiedBeyondDataCols",
                    Replace("Point0=3|4|1|VALUE_NOT_SPECIFIED", "Point0=9|4|1|VALUE_NOT_SPECIFIED"), FL_OK},
        BadFileCase{
            "ValuesWithoutPlateText",
            [](QString text) {
                text.replace(u"DataRows=9"_s, u"DataRows=0"_s).replace(u"DataCols=4"_s, u"DataCols=0"_s);
                return Utf16File(text.left(text.indexOf(u"[Cell7]"_s)));
            },
            FL_OK},
        BadFileCase{"DataRowsNotAPlate", Replace("DataRows=9", "DataRows=5"), FL_OK},
        BadFileCase{"DataRowsMissing", Replace("DataRows=9", "Rows=9"), FL_OK},
        BadFileCase{"CurveTypeUnknown", Replace("CurveType=0", "CurveType=7"), FL_OK},
        BadFileCase{"RunDateI18nInvalid", Replace("RunDateI18n=2017-05-31", "RunDateI18n=2017-13-45"), FL_OK},
        BadFileCase{"StdConcNotNumbers", Replace("StdConc=4", "StdConc=x4"), FL_OK},
        BadFileCase{"StdConcTooShort", Replace("StdConc=4", "StdConc=4|1\r\nOld=4"), FL_OK},
        BadFileCase{"TooManySections", ManySections, FL_OK},
        // A well of a block belongs to that block alone: the last text read would be the
        // value of both (a subject reported from S1's OD, two S2 replicates of one OD).
        BadFileCase{"SubjectOnStandardWell", Replace("Point0=3|1|1|", "Point0=1|1|1|"), FL_OK,
                    "The well A1 is claimed twice in the file; a well belongs to one block only."},
        BadFileCase{"TwoStandardReplicatesOnOneWell", Replace("Point1=2|2|2|", "Point1=1|2|2|"), FL_OK,
                    "The well B1 is claimed twice in the file; a well belongs to one block only."},
        BadFileCase{"WellTwiceInOneBlock", Replace("Point3=2|4|4|", "Point3=2|3|4|"), FL_OK,
                    "The well C2 is claimed twice in the file; a well belongs to one block only."},
        BadFileCase{"PlainCellOnBlockWell", Replace("Point0=1|5|-1|N/S", "Point0=3|5|-1|N/S"), FL_OK,
                    "The well E3 is claimed twice in the file; a well belongs to one block only."},
        BadFileCase{"TwentyTwoStandardSeries",
                    [](QString text) { return Utf16File(WithStandardSeries(text, 22)); }, FL_OK,
                    "22 standard series are laid out; a calculation takes at most 21."},
        // A 4-point run would take S4's concentration as its zero standard's.
        BadFileCase{"FourPointCurveWithEightConcentrations",
                    Replace("StdConc=4", "StdConc=8|4|2|1|1|1|1|0\r\nOld=4"), FL_OK,
                    "The file's curve type has 4 standards, but the file gives 8 standard concentrations."},
        BadFileCase{"StdConcBelowSinglePrecision", Replace("StdConc=4", "StdConc=1e-46|1|1|0\r\nOld=4"),
                    FL_OK, "A standard concentration other than 0 must lie between 1.2e-38 and 3.4e+38."},
        BadFileCase{"StdConcAboveSinglePrecision", Replace("StdConc=4", "StdConc=1e39|1|1|0\r\nOld=4"), FL_OK,
                    "A standard concentration other than 0 must lie between 1.2e-38 and 3.4e+38."},
        BadFileCase{"RunDateWithTrailingPart", Replace("RunDateI18n=2017-05-31", "RunDateI18n=2017-05-31-01"),
                    FL_OK, "RunDateI18n '2017-05-31-01' is not a date written yyyy-mm-dd."},
        BadFileCase{"Garbage",
                    [](QString) -> QByteArray {
                        return QByteArray::fromHex("000102") + "[Cell0]" + QByteArray::fromHex("fffe00") +
                               "=";
                    },
                    FL_OK},
        BadFileCase{"EmptyFile", [](QString) { return QByteArray(); }, FL_OK},
        BadFileCase{"ByteOrderMarkAndBlanksOnly", [](QString) { return Utf16File(u" \r\n\t\r\n"_s); }, FL_OK},
        BadFileCase{"Utf16WithoutByteOrderMark", [](QString text) { return Utf16File(text).mid(2); }, FL_OK,
                    "The file is not a text file of this program (UTF-16 text needs its byte-order mark)."},
        BadFileCase{"Utf16WithNulAfterByteOrderMark",
                    [](QString text) {
                        return Utf16File(text.replace(u"A. Smith"_s, u"A. Sm"_s + QChar(0) + u"ith"_s));
                    },
                    FL_OK, "The file holds a NUL character: it is not a text file of this program."},
        BadFileCase{"NoGeneralInfoSection", Replace("[GeneralInfo]", "[Header]"), FL_OK},
        BadFileCase{"FormatFileHeader", Replace("RunDateI18n=2017-05-31", "Comment=none"), FL_OK},
        BadFileCase{"HugeFile",
                    [](QString) { return QByteArray(TCombinedFileHandler::MaxFileBytes + 1, 'x'); }, FL_OK},
        BadFileCase{"MissingFile", [](QString) { return QByteArray(); }, FL_OK},
        BadFileCase{"CriteriaType2_WrongType",
                    Replace("CriteriaType=90\r\nFixedID=3", "CriteriaType=2\r\nFixedID=3"), FL_WRONGTYPE},
        BadFileCase{"CriteriaTypeBeyondSet_WrongType",
                    Replace("CriteriaType=90\r\nFixedID=3", "CriteriaType=250\r\nFixedID=3"), FL_WRONGTYPE},
        BadFileCase{"OldRunDateUnreadable_DateError",
                    Replace("RunDateI18n=2017-05-31", "DateSeperator=-\r\nRunDate=someday"),
                    FL_DATECONVERTERROR}),
    [](const ::testing::TestParamInfo<BadFileCase> &info) { return std::string(info.param.name); });

// A format file is refused for the layouts a run data file is refused for; the layout stays.
TEST_F(FileHandlerTest, LoadFormat_BlocksOnOneWellOrTooManySeries_RaisesAndKeepsLayout)
{
    PrepareSmallRun();
    handler.SaveFormat(Path(u"layout.vff"_s));
    const QString format = DecodeText(ReadWholeFile(Path(u"layout.vff"_s)));
    const QString before = Snapshot(data);
    const struct
    {
        QString text;
        const char *reason;
    } cases[] = {
        {QString(format).replace(u"Point0=3|1|1|"_s, u"Point0=1|1|1|"_s),
         "The well A1 is claimed twice in the file; a well belongs to one block only."},
        {WithStandardSeries(format, 22), "22 standard series are laid out; a calculation takes at most 21."},
    };
    for (const auto &c : cases) {
        const QString path = WriteFile(u"bad.vff"_s, c.text);
        try {
            handler.LoadFormat(path);
            ADD_FAILURE() << "the load did not fail: " << c.reason;
        } catch (const MarnovelException &error) {
            EXPECT_EQ(error.Reason(), QString::fromUtf8(c.reason));
            EXPECT_TRUE(error.Message().contains(path)) << error.Message().toStdString();
        }
        EXPECT_EQ(Snapshot(data).toStdString(), before.toStdString()) << c.reason;
    }
}

TEST_F(FileHandlerTest, LoadDataAndFormat_StdConcNotNumbers_ReportsConcentrationReason)
{
    QString text = ExpectedFileText();
    text.replace(u"StdConc=4"_s, u"StdConc=x4"_s);
    const QString path = WriteFile(u"conc.vdf"_s, text);
    try {
        handler.LoadDataAndFormat(path);
        FAIL() << "the load did not fail";
    } catch (const EConvertError &error) {
        EXPECT_TRUE(error.Message().startsWith(
            u"Exception occured in: TCombinedFileHandler.LoadFromFiletext_Header\r\n"
            u"With parameters: vStr=x4"_s));
        EXPECT_TRUE(
            error.Message().endsWith(u"Reason: Standards concentration string in run file could not be "
                                     u"converted into standard concentration values."_s));
    }
}

TEST_F(FileHandlerTest, SaveDataAndFormat_ExistingFile_Replaced)
{
    PrepareSmallRun();
    const QString path = Path(u"run.vdf"_s);
    WriteFileAtomically(path, QByteArray(100000, 'x'));
    handler.SaveDataAndFormat(path);
    EXPECT_EQ(DecodeText(ReadWholeFile(path)), ExpectedFileText());
}

TEST_F(FileHandlerTest, LoadDataAndFormat_WithoutRecord_HandlerCreatesOne)
{
    const QString path = WriteFile(u"run.vdf"_s, ExpectedFileText());
    handler.SetSystemInfo(nullptr);
    ASSERT_EQ(handler.LoadDataAndFormat(path), FL_OK);
    ASSERT_NE(handler.SystemInfo(), nullptr);
    EXPECT_EQ(handler.SystemInfo()->UserInfoValue(u"run number"_s), u"12"_s);
}

TEST(FileNamesTest, DefaultRunDataFileName_DateAndRunNumber)
{
    EXPECT_EQ(TCombinedFileHandler::DefaultRunDataFileName(QDate(2017, 5, 31), u"12"_s), u"31May17_12.vdf"_s);
}

TEST(FileNamesTest, ProposedNames_RunNumberAndOperatorCannotLeaveTheFolder)
{
    EXPECT_EQ(TCombinedFileHandler::DefaultRunDataFileName(QDate(2017, 5, 31), u"../../x"_s),
              u"31May17_______x.vdf"_s);
    EXPECT_EQ(TCombinedFileHandler::DefaultRunDataFileName(QDate(2017, 5, 31), u"a/b\\c:d"_s),
              u"31May17_a_b_c_d.vdf"_s);
    const QString folder = GetConfigManager().GetDirFormatFiles();
    ASSERT_TRUE(EnsureDirectory(folder, false));
    for (const QString &operatorName : {u"../etc"_s, u".hi"_s, u"//x"_s}) {
        const QString proposed =
            TCombinedFileHandler::DefaultFormatFileName(operatorName, QDate(2017, 5, 31));
        EXPECT_EQ(QFileInfo(proposed).absolutePath(), QDir(folder).absolutePath()) << proposed.toStdString();
        EXPECT_FALSE(QFileInfo(proposed).fileName().startsWith(u'.')) << proposed.toStdString();
    }
}

TEST(FileNamesTest, DefaultFormatFileName_SuffixTaken_ProposesNextSuffix)
{
    const QString folder = GetConfigManager().GetDirFormatFiles();
    ASSERT_TRUE(EnsureDirectory(folder, false));
    const QString first = TCombinedFileHandler::DefaultFormatFileName(u"Smith"_s, QDate(2017, 5, 31));
    EXPECT_EQ(QDir::cleanPath(first), QDir(folder).filePath(u"Smi31May17_a.vff"_s));
    WriteFileAtomically(first, QByteArray("x"));
    EXPECT_EQ(QDir::cleanPath(TCombinedFileHandler::DefaultFormatFileName(u"Smith"_s, QDate(2017, 5, 31))),
              QDir(folder).filePath(u"Smi31May17_b.vff"_s));
}

TEST(FileNamesTest, GetGlobalFileHandler_SameHandlerEveryTime)
{
    EXPECT_EQ(&GetGlobalFileHandler(), &GetGlobalFileHandler());
}

TEST_F(FileHandlerTest, SaveDataAndFormat_ValuesLeftBeyondANarrowerPlate_FileLoadsAgain)
{
    PrepareSmallRun(); // calculated: the samples in column 3 hold their values
    QList<QStringList> plate = SmallRun::DefaultPlate();
    for (QStringList &row : plate)
        row.removeLast();
    QMimeData narrower;
    narrower.setText(SmallRun::PlateText(plate));
    data.loadDataObject(&narrower);
    ASSERT_EQ(data.XExtent(), 3);
    info.SetUserInfoValue(info.RawDataColsName(), u"3"_s);
    handler.SaveDataAndFormat(Path(u"narrow.vdf"_s));

    TMarnovelRdData loaded;
    handler.SetRunData(&loaded);
    ASSERT_EQ(handler.LoadDataAndFormat(Path(u"narrow.vdf"_s)), FL_OK);
    EXPECT_EQ(loaded.RawData().GetCount(), 5);
    EXPECT_EQ(Subject(loaded, 0).getRawValue(0), QString());
}

// A run date is kept as a date: no short date pattern of the store or of the system
// locale can break a run file, and a two-digit year does not move it to another century.
TEST_F(FileHandlerTest, RunDate_AnyShortDatePattern_LoadsAndSavesTheSameDate)
{
    const std::optional<QString> missing;
    const auto Q = [](const char *text) { return QString::fromUtf8(text); };
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
        {"pattern naming itself", {{Q("sShortDate"), Q("ddddd")}}},
        {"system locale", {{Q("sDate"), missing}, {Q("sShortDate"), missing}}},
    };
    QString text = ExpectedFileText();
    text.replace(u"RunDateI18n=2017-05-31"_s, u"RunDateI18n=1950-06-15"_s);
    const QString input = WriteFile(u"dated.vdf"_s, text);
    for (const auto &c : cases) {
        const RegionalGuard guard(c.store);
        info.RunDate = QDate();
        ASSERT_EQ(handler.LoadDataAndFormat(input), FL_OK) << c.name;
        EXPECT_EQ(info.RunDate, QDate(1950, 6, 15)) << c.name;
        handler.SaveDataAndFormat(Path(u"saved.vdf"_s));
        EXPECT_TRUE(
            DecodeText(ReadWholeFile(Path(u"saved.vdf"_s))).contains(u"\r\nRunDateI18n=1950-06-15\r\n"_s))
            << c.name;
    }
}

TEST_F(FileHandlerTest, SaveDataAndFormat_NoRunDate_FailsAndWritesNothing)
{
    PrepareSmallRun();
    info.RunDate = QDate();
    EXPECT_THROW(handler.SaveDataAndFormat(Path(u"run.vdf"_s)), EConvertError);
    EXPECT_FALSE(QFile::exists(Path(u"run.vdf"_s)));
}

// A control character in a text of the file would shift the export columns or reach a
// terminal as an escape sequence: each becomes a blank, on reading and on writing.
TEST_F(FileHandlerTest, ControlCharacters_InRunDetailsAndIdentifiers_BecomeBlanks)
{
    // A NUL marks a file as not ours (binary, or UTF-16 without its byte-order mark).
    // A bidirectional control would show the texts around it in another order.
    for (const char16_t control : {u'\u0001', u'\t', u'\u000B', u'\u000C', u'\u001B', u'\u007F', u'\u0080',
                                   u'\u0085', u'\u009F', u'\u202E', u'\u2066', u'\u200F', u'\u061C'}) {
        const QString c(QChar{control});
        QString text = ExpectedFileText();
        text.replace(u"RunNumber=12"_s, u"RunNumber=1"_s + c + u"2"_s)
            .replace(u"KitBatchNumber=K0001"_s, u"KitBatchNumber=K"_s + c + u"[31m1"_s)
            .replace(u"Operator=A. Smith"_s, u"Operator=A."_s + c + u"Smith"_s + c)
            .replace(u"ID=ID 2"_s, u"ID=ID"_s + c + u"2"_s);
        const QString path = WriteFile(u"controls.vdf"_s, text);
        ASSERT_EQ(handler.LoadDataAndFormat(path), FL_OK) << int(control);
        EXPECT_EQ(info.UserInfoValue(info.RunNumberName()), u"1 2"_s) << int(control);
        EXPECT_EQ(info.UserInfoValue(info.KitBatchNumberName()), u"K [31m1"_s) << int(control);
        EXPECT_EQ(info.UserInfoValue(info.OperatorName()), u"A. Smith "_s) << int(control);
        EXPECT_EQ(Subject(data, 1).id(), u"ID 2"_s) << int(control);
    }

    PrepareSmallRun();
    info.SetUserInfoValue(info.OperatorName(), u"A.\tSmith\u001B"_s);
    data.RawData().getCellInteger(0)->setId(u"ID\u00851"_s, false);
    handler.SaveDataAndFormat(Path(u"written.vdf"_s));
    const QString written = DecodeText(ReadWholeFile(Path(u"written.vdf"_s)));
    EXPECT_TRUE(written.contains(u"\r\nOperator=A. Smith \r\n"_s));
    EXPECT_TRUE(written.contains(u"\r\nID=ID 1\r\n"_s));
}

TEST(FileNamesTest, DefaultNames_MonthOfTheRegionalSettings)
{
    const QString folder = GetConfigManager().GetDirFormatFiles();
    ASSERT_TRUE(EnsureDirectory(folder, false));
    const struct
    {
        QLocale locale;
        QDate date;
        const char *runFile, *formatFile;
    } cases[] = {
        {QLocale::c(), QDate(2027, 3, 1), "01Mar27_R7.vdf", "Smi01Mar27_a.vff"},
        {QLocale(QLocale::English, QLocale::UnitedStates), QDate(2026, 12, 8), "08Dec26_R7.vdf",
         "Smi08Dec26_a.vff"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), QDate(2017, 5, 30), "30May17_R7.vdf",
         "Smi30May17_a.vff"},
        {QLocale(QLocale::German, QLocale::Germany), QDate(2027, 3, 1), "01M\u00E4rz27_R7.vdf",
         "Smi01M\u00E4rz27_a.vff"},
        {QLocale(QLocale::German, QLocale::Germany), QDate(2026, 12, 8), "08Dez26_R7.vdf",
         "Smi08Dez26_a.vff"},
        {QLocale(QLocale::French, QLocale::France), QDate(2026, 12, 8), "08d\u00E9c26_R7.vdf",
         "Smi08d\u00E9c26_a.vff"},
    };
    for (const auto &c : cases) {
        const LocaleGuard locale(c.locale);
        EXPECT_EQ(TCombinedFileHandler::DefaultRunDataFileName(c.date, u"R7"_s), QString::fromUtf8(c.runFile))
            << c.runFile;
        EXPECT_EQ(QDir::cleanPath(TCombinedFileHandler::DefaultFormatFileName(u"Smith"_s, c.date)),
                  QDir(folder).filePath(QString::fromUtf8(c.formatFile)))
            << c.formatFile;
    }
}
