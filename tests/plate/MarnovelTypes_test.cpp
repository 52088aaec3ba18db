#include "core/Exceptions.h"
#include "plate/MarnovelTypes.h"
#include "support/LanguageGuard.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace Qt::StringLiterals;

namespace {

struct LayoutCase
{
    int ordinal;
    QStringList shortLabels;
    QStringList longLabels;
};

// The whole layout table: a wrong label, order or count here changes cell identifiers in
// files and on screen.
const LayoutCase kLayouts[] = {
    {0, {u"N"_s, u"A"_s}, {u"Nil"_s, u"TB Ag"_s}},
    {1, {u"N"_s, u"A"_s, u"M"_s}, {u"Nil"_s, u"TB Ag"_s, u"Mitogen"_s}},
    {2, {u"N"_s, u"E"_s, u"C"_s, u"M"_s}, {u"Nil"_s, u"ESAT-6"_s, u"CFP-10"_s, u"Mitogen"_s}},
    {3, {u"N"_s, u"C"_s, u"M"_s}, {u"Nil"_s, u"CMV"_s, u"Mitogen"_s}},
    {4,
     {u"N"_s, u"C"_s, u"M"_s, u"C1/10"_s, u"M1/10"_s},
     {u"Nil"_s, u"CMV"_s, u"Mitogen"_s, u"CMV 1/10"_s, u"Mitogen 1/10"_s}},
    {5, {u"N"_s, u"C1/10"_s, u"M1/10"_s}, {u"Nil"_s, u"CMV 1/10"_s, u"Mitogen 1/10"_s}},
    {6, {u"N"_s, u"C"_s, u"M"_s, u"C1/10"_s}, {u"Nil"_s, u"CMV"_s, u"Mitogen"_s, u"CMV 1/10"_s}},
    {7, {u"N"_s, u"C1/10"_s, u"M"_s}, {u"Nil"_s, u"CMV 1/10"_s, u"Mitogen"_s}},
    {9, {u" "_s}, {u"Undiluted"_s}},
    {10, {u" 1/10"_s}, {u"1/10"_s}},
    {11, {u" 1/100"_s}, {u"1/100"_s}},
    {12, {u" 1/10"_s, u" 1/100"_s}, {u"1/10"_s, u"1/100"_s}},
    {13, {u" "_s, u" 1/10"_s}, {u"Undiluted"_s, u"1/10"_s}},
    {14, {u" "_s, u" 1/10"_s, u" 1/100"_s}, {u"Undiluted"_s, u"1/10"_s, u"1/100"_s}},
    {90, {QString()}, {u"Sample"_s}},
};

TEST(WellLabels, EveryLayout_HasItsLabelsInBlockOrderWithIdsAndBlue)
{
    for (const LayoutCase &c : kLayouts) {
        SCOPED_TRACE(c.ordinal);
        EXPECT_TRUE(IsSubjectLayoutCriteriaType(c.ordinal));
        const QList<TStdDisplayRec> &labels = WellLabelsOfCriteriaType(c.ordinal);
        ASSERT_EQ(labels.size(), c.shortLabels.size());
        for (int i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i].ID, i + 1);
            EXPECT_EQ(labels[i].Text, c.shortLabels[i]);
            EXPECT_EQ(LongTextOf(labels[i]), c.longLabels[i]);
            EXPECT_EQ(labels[i].Color, 0x00FF0000u);
        }
    }
}

TEST(WellLabels, OrdinalsNamingNoLayout_RaiseInvalidCriteriaType)
{
    for (int ordinal : {8, 15, 89, 91, 99, 100, 255, -1}) {
        SCOPED_TRACE(ordinal);
        EXPECT_FALSE(IsSubjectLayoutCriteriaType(ordinal));
        try {
            WellLabelsOfCriteriaType(ordinal);
            ADD_FAILURE() << "no exception";
        } catch (const MarnovelException &e) {
            EXPECT_EQ(e.Message(), u"TCBBlockPanelList.GetListForCriteriaType: Invalid Criteria type."_s);
        }
    }
}

TEST(WellLabels, CatalogueLongLabels_FollowTheCurrentLanguage)
{
    const TStdDisplayRec mitogen = WellLabelsOfCriteriaType(CT_CORVEX_THREE).at(2);
    const TStdDisplayRec cmvMitogen = WellLabelsOfCriteriaType(CT_CMV_UNDILUTED).at(2);
    QString greek, greekCmv;
    {
        const TestSupport::LanguageGuard language(QStringLiteral("LOCALE_GREEK"));
        greek = LongTextOf(mitogen);
        greekCmv = LongTextOf(cmvMitogen);
    }
    EXPECT_EQ(greek, u"Μιτογόνο"_s);
    EXPECT_EQ(greekCmv, u"Mitogen"_s); // a fixed English label
    EXPECT_EQ(LongTextOf(mitogen), u"Mitogen"_s);
}

TEST(Standards, EightPoint_AreS1ToS8InDistinctGreysDarkestFirst)
{
    const QList<TStdDisplayRec> &eight = StandardsOfCurveType(CURVE_8POINT);
    ASSERT_EQ(eight.size(), 8);
    std::set<TColor> greys;
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(eight[i].ID, i + 1);
        EXPECT_EQ(eight[i].Text, QStringLiteral("S%1").arg(i + 1));
        EXPECT_EQ(eight[i].LongTextFunction, nullptr);
        EXPECT_EQ(eight[i].Color & 0xFFu, (eight[i].Color >> 8) & 0xFFu); // R == G == B
        EXPECT_EQ(eight[i].Color & 0xFFu, (eight[i].Color >> 16) & 0xFFu);
        if (i > 0) {
            EXPECT_GT(eight[i].Color, eight[i - 1].Color);
        }
        greys.insert(eight[i].Color);
    }
    EXPECT_EQ(greys.size(), 8u);
    EXPECT_EQ(eight[0].Color, 0x008C8C8Cu);
    EXPECT_EQ(eight[7].Color, 0x00F5F5F5u);
}

TEST(Standards, FourPoint_TakeEveryOtherEightPointGreyFromS1)
{
    const QList<TStdDisplayRec> &four = StandardsOfCurveType(CURVE_4POINT);
    const QList<TStdDisplayRec> &eight = StandardsOfCurveType(CURVE_8POINT);
    ASSERT_EQ(four.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(four[i].Text, QStringLiteral("S%1").arg(i + 1));
        EXPECT_EQ(four[i].Color, eight[2 * i].Color);
    }
}

TEST(Standards, InvalidCurveType_RaisesForLabelsAndConcentrations)
{
    const QString expected = u"TStdPanel.SetBlockList(): Invalid curve type passed in."_s;
    for (int value : {2, -1}) {
        const auto curve = static_cast<TCurveType>(value);
        EXPECT_FALSE(IsValidCurveType(value));
        try {
            StandardsOfCurveType(curve);
            ADD_FAILURE() << "no exception";
        } catch (const MarnovelException &e) {
            EXPECT_EQ(e.Message(), expected);
        }
        try {
            DefaultStdConc(curve);
            ADD_FAILURE() << "no exception";
        } catch (const MarnovelException &e) {
            EXPECT_EQ(e.Message(), expected);
        }
    }
}

TEST(Standards, DefaultConcentrations_HighestFirstEndingInZero)
{
    EXPECT_EQ(DefaultStdConc(CURVE_4POINT), (TStdConcData{4.0f, 1.0f, 0.25f, 0.0f}));
    EXPECT_EQ(DefaultStdConc(CURVE_8POINT),
              (TStdConcData{8.0f, 4.0f, 2.0f, 1.0f, 0.5f, 0.25f, 0.125f, 0.0f}));
}

TEST(NotSpecifiedMarker, ExactCaseSensitiveMembership)
{
    const struct
    {
        QString text;
        bool marker;
    } cases[] = {
        {u"N/S"_s, true},
        {u"N\\S"_s, true},
        {u"VALUE_NOT_SPECIFIED"_s, true},
        {u"Néant"_s, true},
        {u"Οχι/Δείγμα"_s, true},
        {u"データなし"_s, true},
        {u"K A."_s, true},
        {u"n/s"_s, false},
        {u"N/S "_s, false},
        {u" N/S"_s, false},
        {QString(), false},
        {u"OVER"_s, false},
        {u"value_not_specified"_s, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(IsNotSpecifiedMarker(c.text), c.marker);
    }
    EXPECT_EQ(NotSpecifiedMarkers().size(), 11);
}

TEST(NotSpecifiedText, AnyLanguagesMarkerInAnyLetterCaseWithoutBlanks)
{
    const struct
    {
        QString text;
        bool notSpecified;
    } cases[] = {
        {u"N/S"_s, true},
        {u"n/s"_s, true},
        {u" N\\s\t"_s, true},
        {u"ausente"_s, true},
        {u"NÉANT"_s, true},
        {u"οχι/δείγμα"_s, true},
        {u"\u00a0k a.\u001a"_s, true},
        {u"value_not_specified"_s, true},
        {u"データなし"_s, true},
        {u""_s, false},
        {u"   "_s, false},
        {u"N/S/"_s, false},
        {u"N S"_s, false},
        {u"OVER"_s, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(IsNotSpecifiedText(c.text), c.notSpecified);
    }
}

TEST(ConstantTables, ColourAndTagTablesHaveTheirFixedEntries)
{
    EXPECT_EQ(StandardGreys, (std::array<TColor, 4>{0x00DEDEDE, 0x00CDCDCD, 0x00BCBCBC, 0x00ABABAB}));
    EXPECT_EQ(SubjectColours.front(), 0x0080A6DDu);
    EXPECT_EQ(SubjectColours[30], SubjectColours[31]);
    EXPECT_EQ(MarkupTags().size(), 16);
    EXPECT_TRUE(MarkupTags().contains(u"<B>"_s));
    EXPECT_TRUE(MarkupTags().contains(u"</SUPERSCRIPT>"_s));
}

TEST(CriteriaTypes, MembersZeroTo99_OthersRaiseRangeError)
{
    TCriteriaTypes set{CT_RESEARCH_SAMPLE};
    EXPECT_TRUE(set.Contains(90));
    EXPECT_FALSE(set.Contains(0));
    EXPECT_FALSE(set.Contains(99));
    set.Include(99);
    set.Include(0);
    EXPECT_TRUE(set.Contains(99));
    EXPECT_TRUE(set.Contains(0));
    set.Exclude(90);
    EXPECT_FALSE(set.Contains(90));
    EXPECT_EQ(set, (TCriteriaTypes{0, 99}));

    for (int bad : {100, 255, -1}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(set.Include(bad), ERangeError);
        EXPECT_THROW((void)set.Contains(bad), ERangeError);
        EXPECT_THROW(set.Exclude(bad), ERangeError);
    }
    EXPECT_EQ(set, (TCriteriaTypes{0, 99})); // unchanged by the failed calls
}

TEST(PlateGeometry, RowHeadingLetters_AForRow1ToHForRow8)
{
    EXPECT_EQ(RowHeadingLetter(1), QLatin1Char('A'));
    EXPECT_EQ(RowHeadingLetter(8), QLatin1Char('H'));
    EXPECT_TRUE(RowHeadingLetter(0).isNull());
    EXPECT_TRUE(RowHeadingLetter(-3).isNull());
    EXPECT_TRUE(RowHeadingLetter(27).isNull());
}

} // namespace
