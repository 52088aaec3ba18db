// Run data object: creation, curve type and concentrations, format queries.

#include "RunTestHelpers.h"

#include "core/UiTextManager.h"

#include <gtest/gtest.h>

#include <limits>

using namespace RunTest;
using namespace Qt::StringLiterals;

namespace {

class RunData : public ::testing::Test
{
protected:
    TMarnovelRdData data;
};

TStdConcData Floats(std::initializer_list<float> values)
{
    return TStdConcData(values);
}

} // namespace

TEST_F(RunData, Create_ResearchDefaults)
{
    EXPECT_EQ(data.GetCurveType(), CURVE_8POINT);
    EXPECT_EQ(data.StdConc(), Floats({8, 4, 2, 1, 0.5f, 0.25f, 0.125f, 0}));
    EXPECT_EQ(data.StdConcSize(), 8);
    EXPECT_EQ(data.GetCriteriaType(), CT_RESEARCH_SAMPLE);
    EXPECT_EQ(data.NumCellsPerStdGroup(), 8);
    EXPECT_EQ(data.NumStdGroups(), 2);
    EXPECT_EQ(data.NumCellsPerDataGroup(), 4);
    EXPECT_EQ(data.MinimumStrips(), 1);
    EXPECT_EQ(data.IDCellPosition(), 4);
    EXPECT_EQ(data.DataCellPosition(), 0);
    EXPECT_EQ(data.XExtent(), 0);
    EXPECT_EQ(data.YExtent(), 0);
    EXPECT_TRUE(data.LastPasteGood());
    EXPECT_EQ(data.MaxCellValueStr(), QString());
    EXPECT_EQ(TStdPanel::GetBlockList().Count(), 8);
    EXPECT_EQ(&data.CurrentCriteria(), &data);
}

TEST_F(RunData, SetCurveType_SwitchesConcentrationsAndStandardLabels)
{
    data.SetCurveType(CURVE_4POINT);
    EXPECT_EQ(data.StdConc(), Floats({4, 1, 0.25f, 0}));
    EXPECT_EQ(data.NumCellsPerStdGroup(), 4);
    EXPECT_EQ(TStdPanel::GetBlockList().Count(), 4);

    data.SetCurveType(CURVE_8POINT, {10, 5, 2.5, 1.25, 0.6, 0.3, 0.15, 0, 99});
    EXPECT_EQ(data.StdConc(), Floats({10, 5, 2.5f, 1.25f, 0.6f, 0.3f, 0.15f, 0}));
    EXPECT_EQ(TStdPanel::GetBlockList().Count(), 8);

    EXPECT_THROW(data.SetCurveType(CURVE_8POINT, {1, 2, 3}), ERangeError);
    EXPECT_EQ(data.StdConcSize(), 8);
    EXPECT_THROW(data.SetCurveType(static_cast<TCurveType>(5)), MarnovelException);
}

TEST_F(RunData, Init_ResetsOrKeepsConcentrations)
{
    data.SetCurveType(CURVE_4POINT, {3, 2, 1, 0});
    data.init(true);
    EXPECT_EQ(data.StdConc(), Floats({3, 2, 1, 0}));
    data.init(false);
    EXPECT_EQ(data.StdConc(), Floats({4, 1, 0.25f, 0}));
}

TEST_F(RunData, StdConc_IsTheObjectsOwnArray)
{
    data.StdConc()[1] = 3.5f;
    EXPECT_EQ(data.StdConc().at(1), 3.5f);
}

TEST_F(RunData, DoCanCalcAndCanCalc_NeedTwoStandardBlocksASampleAndNoNegativeConcentration)
{
    EXPECT_FALSE(data.doCanCalc());
    AddSample(data, QPoint(3, 1));
    AddStandardColumn(data, 1);
    EXPECT_FALSE(data.doCanCalc());
    EXPECT_FALSE(data.canCalc());
    AddStandardColumn(data, 2);
    EXPECT_TRUE(data.doCanCalc());
    EXPECT_TRUE(data.canCalc());

    data.StdConc()[7] = -0.001f;
    EXPECT_TRUE(data.doCanCalc());
    EXPECT_FALSE(data.canCalc());
    data.StdConc()[7] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(data.canCalc());

    data.init(false);
    data.ClearRawData();
    EXPECT_FALSE(data.doCanCalc());
}

TEST_F(RunData, AnnotationExists_RangeOfSubjectBlocks)
{
    EXPECT_FALSE(data.AnnotationExists(AT_INVALIDVALUE, 0, 0));
    for (int i = 0; i < 4; ++i)
        AddSample(data, QPoint(3, 1 + i));
    data.RawData().getCellInteger(2)->setAnnotationExists(AT_INVALIDVALUE, true);

    const struct
    {
        int start, end;
        bool exists;
    } cases[] = {{0, 0, true}, {3, 3, true},  {1, 2, false}, {4, 0, false},
                 {0, 3, true}, {4, 4, false}, {2, 99, true}, {-5, 2, false}};
    for (const auto &c : cases)
        EXPECT_EQ(data.AnnotationExists(AT_INVALIDVALUE, c.start, c.end), c.exists)
            << c.start << ".." << c.end;
    EXPECT_FALSE(data.AnnotationExists(AT_EXCEEDMAXVALUE, 0, 0));
}

TEST_F(RunData, IndexColOfLastFormatStrip_LargestColumnOfAnyBlock)
{
    EXPECT_EQ(data.IndexColOfLastFormatStrip(), -1);
    AddStandardColumn(data, 2);
    EXPECT_EQ(data.IndexColOfLastFormatStrip(), 2);
    AddSample(data, QPoint(7, 4));
    AddSample(data, QPoint(5, 1));
    EXPECT_EQ(data.IndexColOfLastFormatStrip(), 7);
    EXPECT_EQ(data.IndexColOfLastFormatStrip(data.StdBlocks()), 2);
    data.ClearStdBlocks();
    data.ClearRawData();
    EXPECT_EQ(data.IndexColOfLastFormatStrip(), -1);
}

TEST_F(RunData, ResultGridCount_FromSubjectsOrPlate)
{
    EXPECT_EQ(data.ResultGridCount(), (TResultGridCount{1, 9}));
    ASSERT_TRUE(Paste(data, Repeated(Dec("0.2"), 5, 8)));
    EXPECT_EQ(data.ResultGridCount(), (TResultGridCount{6, 9}));
    AddSample(data, QPoint(1, 1));
    AddSample(data, QPoint(1, 2));
    AddSample(data, QPoint(1, 3));
    EXPECT_EQ(data.ResultGridCount(), (TResultGridCount{1, 4}));
}

TEST_F(RunData, CellAtPoint_StandardBeforeSubject)
{
    OWCellBlockBase &std1 = AddStandardColumn(data, 1);
    OWCellBlockBase &sample = AddSample(data, QPoint(3, 2));
    EXPECT_EQ(data.cellAtPoint(QPoint(1, 8)), &std1);
    EXPECT_EQ(data.cellAtPoint(QPoint(3, 2)), &sample);
    EXPECT_EQ(data.cellAtPoint(QPoint(3, 3)), nullptr);
}

TEST_F(RunData, StripsAndData_Queries)
{
    EXPECT_FALSE(data.CriteriaHasMinimumNoStrips(CT_RESEARCH_SAMPLE));
    EXPECT_FALSE(data.DoesCriteriaHaveData(CT_RESEARCH_SAMPLE));
    ASSERT_TRUE(Paste(data, Repeated(Dec("0.2"), 1, 8)));
    EXPECT_TRUE(data.CriteriaHasMinimumNoStrips(CT_TORVIN));
    AddSample(data, QPoint(1, 1));
    EXPECT_TRUE(data.DoesCriteriaHaveData(CT_TORVIN));

    const TCriteriaTypes allowed = data.GetAllowedCriteriaTypes();
    EXPECT_TRUE(allowed.Contains(CT_RESEARCH_SAMPLE));
    EXPECT_FALSE(allowed.Contains(CT_CORVEX_TWO));
}

TEST_F(RunData, Texts_HeadingsNamesAndLimits)
{
    EXPECT_EQ(data.StandardName(0), u"S1"_s);
    EXPECT_EQ(data.StandardName(7), u"S8"_s);
    EXPECT_EQ(data.rawDataRowheading(0), u"A"_s);
    EXPECT_EQ(data.rawDataRowheading(7), u"H"_s);
    EXPECT_EQ(data.resultGridColHeading(0), UiText(94));
    EXPECT_EQ(data.resultGridColHeading(5), UiText(94));
    EXPECT_EQ(data.GetRawDataTypeString(0), u"Sample"_s);
    EXPECT_THROW(data.GetRawDataTypeString(1), ERangeError);
    EXPECT_EQ(data.MaxValueText(0), u"> 10"_s);
    EXPECT_EQ(data.MaxResultValue(3), 10.0);
    EXPECT_EQ(data.GetPrintHeadingResultString(), UiText(361));
    EXPECT_EQ(data.printMarginWidth(), 20);
    EXPECT_EQ(data.QcResultText(u"PASS"_s, 2), u"PASS"_s);
}

TEST_F(RunData, IsLowStandard_LastThreeOfEightLastTwoOfFour)
{
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(data.IsLowStandard(i, 8), i >= 5) << i;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(data.IsLowStandard(i, 4), i >= 2) << i;
    EXPECT_FALSE(data.IsCvApplicable(1, 8, 0.0));
    EXPECT_TRUE(data.IsCvApplicable(1, 8, 0.5));
    EXPECT_FALSE(data.IsCvApplicable(6, 8, 0.5));
}

TEST_F(RunData, NormaliseNonNumeric_MarkersOrUnchanged)
{
    const struct
    {
        QString in, out;
    } cases[] = {{u"n/s"_s, u"N/S"_s},   {u" N\\s "_s, u"N/S"_s}, {u"\t"_s, u"N/S"_s},
                 {u"OVER"_s, u"OVER"_s}, {u" x "_s, u" x "_s},    {u"N/S/"_s, u"N/S/"_s},
                 {u"N.C."_s, u"N/S"_s},  {u"bpr"_s, u"N/S"_s},    {u"\u001a"_s, u"N/S"_s}};
    for (const auto &c : cases)
        EXPECT_EQ(data.NormaliseNonNumeric(c.in), c.out) << c.in.toStdString();
}

TEST_F(RunData, SetValues_SubjectAndStandardBlocksReadTheGrid)
{
    OWCellBlockBase &std1 = AddStandardColumn(data, 1);
    OWCellBlockBase &sample = AddSample(data, QPoint(4, 5));
    TTextGrid grid = PlateGrid();
    grid.SetCell(1, 8, u"N/S"_s);
    grid.SetCell(4, 5, Dec("1.25"));
    data.SetValues(grid);
    EXPECT_EQ(std1.ValueCount(), 8);
    EXPECT_EQ(std1.getValidityValue(7), ValueNotSpecified);
    EXPECT_DOUBLE_EQ(sample.getValue(0), 1.25);
}

TEST_F(RunData, PrintValidResultGridLine_FirstLineWithIdentifiers)
{
    OWCellBlockBase::SetIdentifierCount(1);
    EXPECT_TRUE(data.printValidResultGridLine(0));
    EXPECT_FALSE(data.printValidResultGridLine(1));
    OWCellBlockBase::SetIdentifierCount(0);
    EXPECT_FALSE(data.printValidResultGridLine(0));
}
