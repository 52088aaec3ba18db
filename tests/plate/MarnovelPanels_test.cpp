#include "core/Exceptions.h"
#include "plate/CellBlockRect.h"
#include "plate/MarnovelPanels.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

std::vector<TColor> ColoursOf(const TCBBlockPanelList &list)
{
    std::vector<TColor> colours;
    for (int i = 0; i < list.Count(); ++i)
        colours.push_back(list.GetItem(i)->Color());
    return colours;
}

TColor Grey(int level)
{
    return static_cast<TColor>(level) * 0x010101u;
}

TEST(BlockPanelTest, EveryLayoutList_HasOnePanelPerLabelOfItsClass)
{
    for (int ct : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 90}) {
        SCOPED_TRACE(ct);
        TCBBlockPanelList &list = TCBBlockPanelList::GetListForCriteriaType(ct);
        const QList<TStdDisplayRec> &labels = WellLabelsOfCriteriaType(ct);
        EXPECT_EQ(&list, &TCBBlockPanelList::GetListForCriteriaType(ct)); // built once
        EXPECT_EQ(list.CriteriaType(), ct);
        ASSERT_EQ(list.Count(), labels.size());
        for (int i = 0; i < list.Count(); ++i) {
            const auto *panel = dynamic_cast<const TBaseSamplePanel *>(list.GetItem(i));
            ASSERT_NE(panel, nullptr);
            EXPECT_EQ(panel->CriteriaType(), ct);
            EXPECT_EQ(panel->ID(), i + 1);
            EXPECT_EQ(panel->StdText(), labels[i].Text);
            EXPECT_EQ(panel->Caption(), labels[i].Text.trimmed());
            EXPECT_EQ(panel->StdColor(), 0x00FF0000u);
            EXPECT_FALSE(panel->IsStdBlockPanel());
        }
    }
    EXPECT_EQ(&TTorvinSamplePanel::GetBlockList(), &TCBBlockPanelList::GetListForCriteriaType(CT_TORVIN));
    EXPECT_NE(dynamic_cast<TTorvinSamplePanel *>(TTorvinSamplePanel::GetBlockList().GetItem(0)), nullptr);
    EXPECT_NE(dynamic_cast<TCMVPossiblyDiultedPanel *>(TCMVPossiblyDiultedPanel::GetBlockList().GetItem(0)),
              nullptr);
}

TEST(BlockPanelTest, ResearchList_OnePanelWithEmptyCaptionAndSampleLongText)
{
    TCBBlockPanelList &list = TRdSamplePanel::GetBlockList();
    ASSERT_EQ(list.Count(), 1);
    EXPECT_TRUE(list.GetItem(0)->Caption().isEmpty());
    EXPECT_EQ(list.GetItem(0)->StdLongText(), u"Sample"_s);
}

TEST(BlockPanelTest, KrxUndiluted_CaptionEmptyButLabelIsABlank)
{
    TBaseSelectBlockPanel *panel = TKRX415NonDilutedPanel::GetBlockList().GetItem(0);
    EXPECT_TRUE(panel->Caption().isEmpty());
    EXPECT_EQ(panel->StdText(), u" "_s);
    EXPECT_EQ(TKRX41510100Panel::GetBlockList().GetItem(1)->Caption(), u"1/100"_s);
}

TEST(BlockPanelTest, GetListForCriteriaType_NonLayoutCodesRaise)
{
    for (int code : {8, 15, 89, 91, 100, -1}) {
        SCOPED_TRACE(code);
        try {
            TCBBlockPanelList::GetListForCriteriaType(code);
            ADD_FAILURE() << "no exception";
        } catch (const MarnovelException &e) {
            EXPECT_EQ(e.Message(), u"TCBBlockPanelList.GetListForCriteriaType: Invalid Criteria type."_s);
        }
    }
}

TEST(BlockPanelTest, GetBlockByID_FindsPanelOrRaisesWithTheId)
{
    TCBBlockPanelList &torvin = TTorvinSamplePanel::GetBlockList();
    EXPECT_EQ(torvin.GetBlockByID(4)->Caption(), u"M"_s);
    for (int id : {5, 0, -2}) {
        SCOPED_TRACE(id);
        try {
            torvin.GetBlockByID(id);
            ADD_FAILURE() << "no exception";
        } catch (const MarnovelException &e) {
            EXPECT_EQ(e.Message(),
                      u"TCBBlockPanelList.GetBlockByID(): Could not find ID "_s + QString::number(id));
        }
    }
    EXPECT_THROW(torvin.GetItem(4), EListError);
    EXPECT_THROW(torvin.GetItem(-1), EListError);
}

TEST(BlockPanelTest, StandardsList_IsFourPointUntilChanged)
{
    TCBBlockPanelList &list = TStdPanel::GetBlockList();
    EXPECT_EQ(list.CurveType(), CURVE_4POINT);
    EXPECT_EQ(list.CriteriaType(), CT_STANDARDS);
    ASSERT_EQ(list.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(list.GetItem(i)->IsStdBlockPanel());
        EXPECT_EQ(list.GetItem(i)->Caption(), QStringLiteral("S%1").arg(i + 1));
        EXPECT_TRUE(list.GetItem(i)->StdLongText().isEmpty());
    }
}

TEST(BlockPanelTest, CurveSwitch_FourToEightAndBack_GivesFreshFourPanelList)
{
    TCBBlockPanelList &four = TStdPanel::GetBlockList();
    four.SelectAll(true);
    four.EnableClicking(false);
    four.GetItem(0)->SetColor(0x123456);

    TStdPanel::SetBlockList(CURVE_8POINT);
    TCBBlockPanelList &eight = TStdPanel::GetBlockList();
    EXPECT_EQ(eight.CurveType(), CURVE_8POINT);
    EXPECT_EQ(eight.CriteriaType(), CT_STANDARDS);
    EXPECT_EQ(ColoursOf(eight), (std::vector<TColor>{Grey(140), Grey(155), Grey(170), Grey(185), Grey(200),
                                                     Grey(215), Grey(230), Grey(245)}));
    EXPECT_EQ(eight.GetItem(7)->Caption(), u"S8"_s);

    TStdPanel::SetBlockList(CURVE_4POINT);
    TCBBlockPanelList &again = TStdPanel::GetBlockList();
    ASSERT_EQ(again.Count(), 4);
    EXPECT_EQ(ColoursOf(again), (std::vector<TColor>{Grey(140), Grey(170), Grey(200), Grey(230)}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(again.GetItem(i)->Selected());
        EXPECT_TRUE(again.GetItem(i)->Enabled());
    }
}

TEST(BlockPanelTest, CurveSwitch_OldStandardWellsKeepTheirLabelsAndGreys)
{
    OWCellBlockRectCombined block;
    block.setId(u"Std 1"_s, true);
    TCBBlockPanelList &four = TStdPanel::GetBlockList();
    for (int i = 0; i < 4; ++i)
        block.addWithID(QPoint(1, i + 1), four.GetItem(i));

    TStdPanel::SetBlockList(CURVE_8POINT);

    // The panels of the 4-point list stay alive and still describe 4-point standards.
    EXPECT_EQ(block.CellRawDataID(QPoint(1, 2)), u"S2"_s);
    EXPECT_EQ(block.GetBlockCellColor(QPoint(1, 2)), Grey(170));
    EXPECT_EQ(block.GetBlockCellColor(QPoint(1, 4)), Grey(230));
}

TEST(BlockPanelTest, SetBlockList_InvalidCurveRaisesAndKeepsTheCurrentList)
{
    TStdPanel::SetBlockList(CURVE_8POINT);
    try {
        TStdPanel::SetBlockList(static_cast<TCurveType>(2));
        ADD_FAILURE() << "no exception";
    } catch (const MarnovelException &e) {
        EXPECT_EQ(e.Message(), u"TStdPanel.SetBlockList(): Invalid curve type passed in."_s);
    }
    EXPECT_EQ(TStdPanel::GetBlockList().CurveType(), CURVE_8POINT);

    TStdPanel badPanel(1, static_cast<TCurveType>(1)); // valid
    EXPECT_EQ(badPanel.StdText(), u"S1"_s);
    EXPECT_THROW(TStdPanel(9, CURVE_8POINT), ERangeError); // no ninth standard
}

TEST(BlockPanelTest, UpdateColors_RecoloursSampleListsOnly)
{
    OWCellBlockBase::SetAndGetNextSubjectColor();
    OWCellBlockBase::SetAndGetNextSubjectColor();
    TCBBlockPanelList &torvin = TTorvinSamplePanel::GetBlockList();
    torvin.UpdateColors();
    EXPECT_EQ(ColoursOf(torvin), std::vector<TColor>(4, SubjectColours[2]));
    EXPECT_EQ(torvin.GetItem(0)->StdColor(), 0x00FF0000u); // the label itself is unchanged

    TCBBlockPanelList &standards = TStdPanel::GetBlockList();
    standards.UpdateColors();
    EXPECT_EQ(ColoursOf(standards), (std::vector<TColor>{Grey(140), Grey(170), Grey(200), Grey(230)}));
}

TEST(BlockPanelTest, Click_HandlerSeesStateBeforeToggle)
{
    TBaseSelectBlockPanel *panel = TTorvinSamplePanel::GetBlockList().GetItem(1);
    std::vector<bool> seen;
    panel->SetOnClick([&](TBaseSelectBlockPanel *sender) {
        EXPECT_EQ(sender, panel);
        seen.push_back(sender->Selected());
    });
    panel->Click();
    EXPECT_TRUE(panel->Selected());
    panel->Click();
    EXPECT_FALSE(panel->Selected());
    EXPECT_EQ(seen, (std::vector<bool>{false, true}));

    // A handler that removes itself while it runs; the panel still toggles.
    panel->SetOnClick([&](TBaseSelectBlockPanel *sender) { sender->SetOnClick(nullptr); });
    panel->Click();
    EXPECT_TRUE(panel->Selected());
    EXPECT_FALSE(panel->OnClick());
    panel->Click();
    EXPECT_FALSE(panel->Selected());
}

TEST(BlockPanelTest, Click_OnDisabledPanelDoesNothing)
{
    TCBBlockPanelList &torvin = TTorvinSamplePanel::GetBlockList();
    int calls = 0;
    torvin.GetItem(0)->SetOnClick([&](TBaseSelectBlockPanel *) { ++calls; });
    torvin.EnableClicking(false);
    torvin.GetItem(0)->Click();
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(torvin.GetItem(0)->Selected());

    torvin.EnableClicking(true);
    torvin.GetItem(0)->Click();
    EXPECT_EQ(calls, 1);
}

TEST(BlockPanelTest, SelectAll_MarksEveryPanel)
{
    TCBBlockPanelList &torvin = TTorvinSamplePanel::GetBlockList();
    torvin.SelectAll(true);
    for (int i = 0; i < torvin.Count(); ++i)
        EXPECT_TRUE(torvin.GetItem(i)->Selected());
    torvin.SelectAll(false);
    for (int i = 0; i < torvin.Count(); ++i)
        EXPECT_FALSE(torvin.GetItem(i)->Selected());
}

} // namespace
