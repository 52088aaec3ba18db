// Laying out the plate by hand without a window: the walk of a vertical or horizontal block,
// random placement label by label, subject IDs and colours, All Samples, and taking blocks
// away again.

#include "RunTestHelpers.h"

#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "run/ManualFormat.h"
#include "support/PlateWells.h"

#include <gtest/gtest.h>

using namespace RunTest;
using TestSupport::Well;
using TestSupport::Wells;
using TestSupport::WellsOf;
using namespace Qt::StringLiterals;

namespace {

QStringList LabelsOf(const OWCellBlockBase &block)
{
    QStringList labels;
    for (const OWCellBlockElm &elm : block.block())
        labels << elm.fCellPanel->StdText();
    return labels;
}

class ManualFormat : public ::testing::Test
{
protected:
    void SetUp() override
    {
        data.SetCurveType(CURVE_4POINT);
        state.ApplyOrientation();
    }

    // Every data cell except the named ones taken by a one-well sample.
    void OccupyAllBut(std::initializer_list<const char *> free)
    {
        const std::vector<QPoint> keep = Wells(free);
        for (int col = 1; col <= PlateColumnCount; ++col)
            for (int row = 1; row <= PlateRowCount; ++row)
                if (std::find(keep.begin(), keep.end(), QPoint(col, row)) == keep.end())
                    AddSample(data, QPoint(col, row));
    }
    void Random()
    {
        state.SetOrientation(TBlockOrientation::Random);
        state.ApplyOrientation();
    }
    void Samples()
    {
        state.SetItem(TFormatItem::Samples);
        state.ApplyOrientation();
    }
    TPlacementResult Place(const char *cell) { return PlaceBlock(data, state, grid, Well(cell)); }
    int BlockCount() const { return data.StdBlocks().GetCount() + data.RawData().GetCount(); }

    TMarnovelRdData data;
    TManualFormatState state;
    TTextGrid grid = PlateGrid();
};

TEST_F(ManualFormat, Walk_WrapsAndSkipsTakenCells)
{
    const struct
    {
        const char *name;
        TBlockOrientation orientation;
        std::initializer_list<const char *> taken;
        const char *start;
        std::initializer_list<const char *> expected; // empty: no room
    } cases[] = {
        {"vertical from H12 of an empty plate",
         TBlockOrientation::Vertical,
         {},
         "H12",
         {"H12", "A1", "B1", "C1"}},
        {"horizontal from A11, A12 taken",
         TBlockOrientation::Horizontal,
         {"A12"},
         "A11",
         {"A11", "B1", "B2", "B3"}},
        {"vertical over taken cells",
         TBlockOrientation::Vertical,
         {"B1", "C1"},
         "A1",
         {"A1", "D1", "E1", "F1"}},
        {"horizontal from H12 wraps to A1",
         TBlockOrientation::Horizontal,
         {},
         "H12",
         {"H12", "A1", "A2", "A3"}},
    };
    for (const auto &c : cases) {
        TMarnovelRdData plate;
        for (const char *taken : c.taken)
            AddSample(plate, Well(taken));
        EXPECT_EQ(BlockWalkCells(plate, Well(c.start), 4, c.orientation), Wells(c.expected)) << c.name;
    }
}

TEST_F(ManualFormat, Walk_NeedsAsManyFreeCellsAsLabels)
{
    OccupyAllBut({"C4", "A9", "H2", "E7"});
    EXPECT_EQ(FreeDataCellCount(data), 4);
    EXPECT_EQ(BlockWalkCells(data, Well("E7"), 4, TBlockOrientation::Vertical),
              Wells({"E7", "A9", "H2", "C4"}));
    EXPECT_EQ(BlockWalkCells(data, Well("E7"), 5, TBlockOrientation::Horizontal), std::vector<QPoint>());
}

TEST_F(ManualFormat, VerticalStandards_OneBlockOfEveryLabel)
{
    grid.SetCell(12, 8, u"abc"_s);
    const TPlacementResult result = Place("H12");

    ASSERT_TRUE(result.Placed()) << result.Error.toStdString();
    EXPECT_EQ(result.StandardBlocks, 1);
    ASSERT_EQ(data.StdBlocks().GetCount(), 1);
    const OWCellBlockBase &block = *data.StdBlocks().getCellInteger(0);
    EXPECT_EQ(WellsOf(block), Wells({"H12", "A1", "B1", "C1"}));
    EXPECT_EQ(LabelsOf(block), (QStringList{u"S1"_s, u"S2"_s, u"S3"_s, u"S4"_s}));
    EXPECT_EQ(block.id(), u"Std 1"_s);
    EXPECT_TRUE(block.getIsStandard());
    EXPECT_EQ(block.GetCriteriaType(), CT_STANDARDS);
    EXPECT_EQ(block.getRawValue(0), u"abc"_s); // read from the grid
    EXPECT_EQ(OWCellBlockBase::GetCurrentStandardIdStr(), u"Std 2"_s);
}

TEST_F(ManualFormat, RefusedClicks_PlaceNothing)
{
    AddSample(data, Well("D4"));
    const struct
    {
        const char *name;
        QPoint cell;
        bool random;
        int freeCells; // 0: the plate as it is
        QString message;
    } cases[] = {
        {"a cell of a block", Well("D4"), false, 0, OneBlockPerCellText()},
        {"a heading", QPoint(0, 3), false, 0, OneBlockPerCellText()},
        {"outside the plate", QPoint(13, 1), false, 0, OneBlockPerCellText()},
        {"three free cells, vertical", Well("A1"), false, 3, UiText(181)},
        {"three free cells, random", Well("A1"), true, 3, UiText(181)},
    };
    for (const auto &c : cases) {
        TMarnovelRdData plate;
        AddSample(plate, Well("D4"));
        if (c.freeCells == 3) {
            for (int col = 1; col <= PlateColumnCount; ++col)
                for (int row = 1; row <= PlateRowCount; ++row)
                    if (col > 3 || row > 1)
                        if (!plate.cellAtPoint(QPoint(col, row)))
                            AddSample(plate, QPoint(col, row));
        }
        TManualFormatState one;
        one.SetOrientation(c.random ? TBlockOrientation::Random : TBlockOrientation::Vertical);
        one.ApplyOrientation();
        const int before = plate.StdBlocks().GetCount() + plate.RawData().GetCount();
        const TPlacementResult result = PlaceBlock(plate, one, grid, c.cell);
        EXPECT_EQ(result.Error, c.message) << c.name;
        EXPECT_EQ(plate.StdBlocks().GetCount() + plate.RawData().GetCount(), before) << c.name;
        EXPECT_FALSE(one.IsRandomOrientationStarted()) << c.name;
    }
}

TEST_F(ManualFormat, RandomStandardWithoutLabel_Prompt)
{
    Random();
    TBaseSelectBlockPanel *first = TStdPanel::GetBlockList().GetItem(0);
    state.OnBlockClick(first); // pressed already: the click lets it go
    first->SetSelected(false);
    ASSERT_EQ(state.SelectedBlock(), nullptr);

    QString message;
    EXPECT_FALSE(state.IsValidStandardSelection(message));
    EXPECT_EQ(message, u"Please select a standard from the format toolbar before proceeding."_s);
    EXPECT_EQ(Place("A1").Error, message);
    EXPECT_EQ(BlockCount(), 0);
}

TEST_F(ManualFormat, RandomStandards_LabelByLabelInListOrder)
{
    Random();
    const char *clicks[] = {"E5", "A1", "H12", "C7"};
    for (int i = 0; i < 4; ++i) {
        const TPlacementResult result = Place(clicks[i]);
        ASSERT_TRUE(result.Placed()) << result.Error.toStdString();
        const bool last = i == 3;
        EXPECT_EQ(result.StandardBlocks, last ? 1 : 0) << i;
        EXPECT_EQ(state.IsRandomOrientationStarted(), !last) << i;
        ASSERT_NE(state.SelectedBlock(), nullptr);
        // The next label, or S1 again for the next block.
        EXPECT_EQ(state.SelectedBlock()->ID(), last ? 1 : i + 2) << i;
        EXPECT_TRUE(state.SelectedBlock()->Selected());
        EXPECT_EQ(data.StdBlocks().GetCount(), 1);
    }
    const OWCellBlockBase &block = *data.StdBlocks().getCellInteger(0);
    EXPECT_EQ(WellsOf(block), Wells({"E5", "A1", "H12", "C7"}));
    EXPECT_EQ(LabelsOf(block), (QStringList{u"S1"_s, u"S2"_s, u"S3"_s, u"S4"_s}));
    EXPECT_EQ(block.ValueCount(), 4);
    const TCBBlockPanelList &labels = TStdPanel::GetBlockList();
    for (int i = 1; i < labels.Count(); ++i)
        EXPECT_FALSE(labels.GetItem(i)->Selected()) << i;
}

TEST_F(ManualFormat, RandomInProgress_NotRefusedForTooFewCellsAndKeptOnARefusal)
{
    OccupyAllBut({"A1", "B1", "C1", "D1"});
    Random();
    ASSERT_TRUE(Place("A1").Placed());
    EXPECT_EQ(Place("A1").Error, OneBlockPerCellText());
    EXPECT_TRUE(state.IsRandomOrientationStarted());
    for (const char *cell : {"B1", "C1", "D1"})
        ASSERT_TRUE(Place(cell).Placed()) << cell;
    EXPECT_FALSE(state.IsRandomOrientationStarted());
    EXPECT_EQ(data.StdBlocks().getCellInteger(0)->Count(), 4);
}

TEST_F(ManualFormat, RemoveRandomBlockBeingAdded_FirstLabelAgain)
{
    Random();
    ASSERT_TRUE(Place("A1").Placed());
    ASSERT_TRUE(Place("B1").Placed());
    ASSERT_EQ(state.SelectedBlock()->ID(), 3);

    RemoveRandomBlockBeingAdded(data, state);
    EXPECT_EQ(data.StdBlocks().GetCount(), 0);
    EXPECT_FALSE(state.IsRandomOrientationStarted());
    ASSERT_NE(state.SelectedBlock(), nullptr);
    EXPECT_EQ(state.SelectedBlock()->ID(), 1);
    const TCBBlockPanelList &labels = TStdPanel::GetBlockList();
    for (int i = 0; i < labels.Count(); ++i)
        EXPECT_EQ(labels.GetItem(i)->Selected(), i == 0) << i;

    // The next click starts a fresh block with S1.
    ASSERT_TRUE(Place("C1").Placed());
    EXPECT_EQ(LabelsOf(*data.StdBlocks().getCellInteger(0)), QStringList{u"S1"_s});
}

TEST_F(ManualFormat, Samples_TypedIdForTheNextSampleOnly)
{
    Samples();
    state.SetCurrentIDForSample(u"P-7"_s);
    ASSERT_TRUE(Place("A3").Placed());
    ASSERT_TRUE(Place("B3").Placed());

    ASSERT_EQ(data.RawData().GetCount(), 2);
    const OWCellBlockBase &typed = *data.RawData().getCellInteger(0);
    const OWCellBlockBase &next = *data.RawData().getCellInteger(1);
    EXPECT_EQ(typed.id(), u"P-7"_s);
    EXPECT_EQ(typed.FixedID(), 1);
    EXPECT_FALSE(typed.getIsStandard());
    EXPECT_EQ(typed.GetCriteriaType(), CT_RESEARCH_SAMPLE);
    EXPECT_EQ(next.id(), u"ID 2"_s);
    EXPECT_EQ(next.FixedID(), 2);
    EXPECT_EQ(state.CurrentIDForSample(), u"ID 3"_s);
}

TEST_F(ManualFormat, RandomSamples_TakeTheSubjectColoursInTurn)
{
    Samples();
    Random();
    TCBBlockPanelList &labels = state.SelectedBlockPanelList();
    for (int i = 0; i < 2; ++i) {
        const TPlacementResult result = Place(i == 0 ? "A3" : "A4");
        EXPECT_EQ(result.SampleBlocks, 1);
        EXPECT_FALSE(state.IsRandomOrientationStarted());
        EXPECT_EQ(data.RawData().getCellInteger(i)->color(), SubjectColours[static_cast<std::size_t>(i)])
            << i;
    }
    // The label shows the colour the next subject gets.
    labels.UpdateColors();
    EXPECT_EQ(labels.GetItem(0)->Color(), SubjectColours[2]);
}

TEST_F(ManualFormat, AllSamples_EveryFreeCellButTheNotSpecifiedOnesInColumnOrder)
{
    Samples();
    OccupyAllBut({"B3", "A5", "C6", "D6", "E6", "F6"});
    grid.SetCell(6, 3, u"N/S"_s);
    grid.SetCell(6, 5, u" n/s "_s);
    grid.SetCell(6, 4, u"  "_s); // empty wells are no markers
    grid.SetCell(6, 6, QString());
    OWCellBlockBase::Reset();
    state.SetCurrentIDForSample(OWCellBlockBase::GetCurrentSubjectIdStr());
    const int before = data.RawData().GetCount();

    const TPlacementResult result = PlaceAllSamples(data, state, grid);

    EXPECT_TRUE(result.Placed());
    EXPECT_EQ(result.SampleBlocks, 4);
    ASSERT_EQ(data.RawData().GetCount(), before + 4);
    std::vector<QPoint> wells;
    QStringList ids;
    for (int i = before; i < before + 4; ++i) {
        const OWCellBlockBase &block = *data.RawData().getCellInteger(i);
        const std::vector<QPoint> own = WellsOf(block);
        wells.insert(wells.end(), own.begin(), own.end());
        ids << block.id();
    }
    EXPECT_EQ(wells, Wells({"B3", "A5", "D6", "F6"}));
    EXPECT_EQ(ids, (QStringList{u"ID 1"_s, u"ID 2"_s, u"ID 3"_s, u"ID 4"_s}));
    EXPECT_EQ(state.CurrentIDForSample(), u"ID 5"_s);
}

TEST_F(ManualFormat, AllSamples_APlateWithoutDataGetsASampleOnEveryFreeCell)
{
    Samples();
    grid = TTextGrid(PlateGridColumnCount, PlateGridRowCount);
    AddSample(data, Well("C4"));
    const int before = data.RawData().GetCount();

    const TPlacementResult result = PlaceAllSamples(data, state, grid);

    EXPECT_TRUE(result.Placed());
    EXPECT_EQ(result.SampleBlocks, PlateColumnCount * PlateRowCount - 1);
    ASSERT_EQ(data.RawData().GetCount(), before + result.SampleBlocks);
    EXPECT_EQ(WellsOf(*data.RawData().getCellInteger(before)), Wells({"A1"}));
    EXPECT_EQ(WellsOf(*data.RawData().getCellInteger(before + 1)), Wells({"B1"}));
    EXPECT_EQ(WellsOf(*data.RawData().getCellInteger(data.RawData().GetCount() - 1)), Wells({"H12"}));
}

TEST_F(ManualFormat, RemoveNewestBlocks_NewestFirstAndNoMoreThanThereAre)
{
    for (int col = 1; col <= 2; ++col)
        AddStandardColumn(data, col);
    for (const char *cell : {"A3", "B3", "C3"})
        AddSample(data, Well(cell));
    OWCellBlockBase *oldest = data.RawData().getCellInteger(0);
    EXPECT_TRUE(IsAmongNewestBlocks(data.RawData(), data.RawData().getCellInteger(1), 2));
    EXPECT_FALSE(IsAmongNewestBlocks(data.RawData(), oldest, 2));
    EXPECT_FALSE(IsAmongNewestBlocks(data.RawData(), oldest, 0));

    RemoveNewestBlocks(data, 5, 2);
    EXPECT_EQ(data.StdBlocks().GetCount(), 0);
    ASSERT_EQ(data.RawData().GetCount(), 1);
    EXPECT_EQ(data.RawData().getCellInteger(0), oldest);
}

} // namespace
