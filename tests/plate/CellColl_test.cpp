#include "core/Exceptions.h"
#include "plate/CellBlockRect.h"
#include "plate/CellColl.h"
#include "plate/MarnovelPanels.h"
#include "plate/TextGrid.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

class WellListBlockTest : public ::testing::Test
{
protected:
    // A subject block of one layout, its wells placed with the layout's panels in order.
    static std::unique_ptr<OWCellBlockRectCombined> SubjectBlock(int criteriaType, int fixedId,
                                                                 const std::vector<QPoint> &wells)
    {
        auto block = std::make_unique<OWCellBlockRectCombined>();
        block->setId(QStringLiteral("ID %1").arg(fixedId), false);
        block->SetFixedID(fixedId);
        block->SetCriteriaType(static_cast<TCriteriaType>(criteriaType));
        TCBBlockPanelList &labels = TCBBlockPanelList::GetListForCriteriaType(criteriaType);
        for (std::size_t i = 0; i < wells.size(); ++i)
            block->addWithID(wells[i], labels.GetItem(static_cast<int>(i)));
        return block;
    }

    static std::unique_ptr<OWCellBlockRectCombined> StandardBlock(QPoint first)
    {
        auto block = std::make_unique<OWCellBlockRectCombined>();
        block->setId(u"Std 1"_s, true);
        block->SetCriteriaType(CT_STANDARDS);
        TCBBlockPanelList &labels = TStdPanel::GetBlockList();
        for (int i = 0; i < labels.Count(); ++i)
            block->addWithID(first + QPoint(0, i), labels.GetItem(i));
        return block;
    }
};

TEST_F(WellListBlockTest, WellIndex_IsTheOrderOfAdditionAndMinusOneOutside)
{
    OWCellBlockRectCombined block;
    EXPECT_FALSE(block.idCell(QPoint(4, 2))); // no wells yet
    block.add(QPoint(4, 2));
    block.add(QPoint(4, 3));
    EXPECT_EQ(block.Count(), 2);
    EXPECT_EQ(block.GetBlockCellIndex(QPoint(4, 3)), 1);
    EXPECT_EQ(block.GetBlockCellIndex(QPoint(5, 3)), -1);
    EXPECT_TRUE(block.contains(QPoint(4, 2)));
    EXPECT_FALSE(block.contains(QPoint(5, 3)));
    EXPECT_TRUE(block.idCell(QPoint(4, 3)));
    EXPECT_FALSE(block.idCell(QPoint(5, 3)));
    ASSERT_EQ(block.block().size(), 2u);
    EXPECT_EQ(block.block()[1].mCell, QPoint(4, 3));
    EXPECT_EQ(block.block()[1].fID, 0);
    EXPECT_EQ(block.block()[1].fCellPanel, nullptr);
}

TEST_F(WellListBlockTest, SamePointTwice_GivesTwoWellsAndTheFirstIndex)
{
    OWCellBlockRectCombined block;
    EXPECT_TRUE(block.add(QPoint(2, 2)));
    EXPECT_TRUE(block.add(QPoint(3, 3)));
    EXPECT_TRUE(block.add(QPoint(2, 2)));
    EXPECT_EQ(block.Count(), 3);
    EXPECT_EQ(block.GetBlockCellIndex(QPoint(2, 2)), 0);
}

TEST_F(WellListBlockTest, AddWithPanel_RecordsPanelAndItsId)
{
    TCBBlockPanelList &torvin = TCBBlockPanelList::GetListForCriteriaType(CT_TORVIN);
    OWCellBlockRectCombined block;
    block.addWithID(QPoint(1, 1), torvin.GetBlockByID(3));
    block.addWithID(QPoint(1, 2), nullptr);
    EXPECT_EQ(block.block()[0].fID, 3);
    EXPECT_EQ(block.block()[0].fCellPanel, torvin.GetBlockByID(3));
    EXPECT_EQ(block.block()[1].fID, 0);
    EXPECT_EQ(block.ContainsID(3), 0);
    EXPECT_EQ(block.ContainsID(1), -1);
    EXPECT_EQ(block.ContainsID(0), -1); // a well without a label has no ID to find
}

TEST_F(WellListBlockTest, RawDataIds_StandardLabelOrFixedIdAndUntrimmedLabel)
{
    auto standard = StandardBlock(QPoint(1, 1));
    EXPECT_EQ(standard->CellRawDataID(QPoint(1, 3)), u"S3"_s);

    const struct
    {
        int criteriaType;
        int fixedId;
        int wellIndex;
        QString expected;
    } cases[] = {
        {CT_RESEARCH_SAMPLE, 7, 0, u"7"_s},
        {CT_CORVEX_THREE, 12, 0, u"12N"_s},
        {CT_CMV_POSSIBLY_DILUTED, 12, 4, u"12M1/10"_s},
        {CT_KRX415_1_10_1_100, 12, 1, u"12 1/100"_s},
        {CT_KRX415_UNDILUTED, 5, 0, u"5 "_s}, // ends in a blank
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        std::vector<QPoint> wells;
        for (int i = 0; i <= c.wellIndex; ++i)
            wells.emplace_back(6, 1 + i);
        auto subject = SubjectBlock(c.criteriaType, c.fixedId, wells);
        EXPECT_EQ(subject->CellRawDataID(QPoint(6, 1 + c.wellIndex)), c.expected);
        EXPECT_EQ(subject->CellRawDataID(QPoint(7, 1)), QString()); // not a well of the block
    }
}

TEST_F(WellListBlockTest, CellColours_StandardsPerLabelSubjectsBlockColour)
{
    auto standard = StandardBlock(QPoint(2, 1));
    EXPECT_EQ(standard->GetBlockCellColor(QPoint(2, 1)), 0x008C8C8Cu);
    EXPECT_EQ(standard->GetBlockCellColor(QPoint(2, 4)), 0x00E6E6E6u);
    EXPECT_EQ(standard->color(), StandardGreys[0]);

    auto subject = SubjectBlock(CT_RESEARCH_SAMPLE, 1, {QPoint(5, 5)});
    EXPECT_EQ(subject->GetBlockCellColor(QPoint(5, 5)), SubjectColours[0]);
    EXPECT_EQ(subject->GetBlockCellColor(QPoint(5, 5)), SubjectColours[0]);
}

TEST_F(WellListBlockTest, SetValues_ReadsEveryWellFromTheGrid)
{
    TTextGrid grid(13, 9);
    grid.SetCell(1, 1, TestSupport::Dec("0.512"));
    grid.SetCell(1, 2, u"OVER"_s);
    grid.SetCell(1, 3, u"N/S"_s);
    grid.SetCell(1, 4, TestSupport::Dec("1.250"));

    OWCellBlockRectCombined block;
    for (int row = 1; row <= 4; ++row)
        block.add(QPoint(1, row));
    block.add(QPoint(40, 2)); // outside the grid: read as an empty text
    EXPECT_FALSE(block.setValues(grid));
    ASSERT_EQ(block.ValueCount(), 5);
    EXPECT_DOUBLE_EQ(block.getValue(0), 0.512);
    EXPECT_EQ(block.getValidityValue(1), ValueNotNumerical);
    EXPECT_EQ(block.getValidityValue(2), ValueNotSpecified);
    EXPECT_DOUBLE_EQ(block.getValue(3), 1.25); // read after the non-numeric wells
    EXPECT_EQ(block.getRawValue(4), QString());
    EXPECT_DOUBLE_EQ(block.getValue(4), 4.0);

    OWCellBlockRectCombined numeric;
    numeric.add(QPoint(1, 4));
    numeric.add(QPoint(1, 1));
    EXPECT_TRUE(numeric.setValues(grid));
    EXPECT_EQ(numeric.getRawValue(0), TestSupport::Dec("1.250"));
}

// ---- collection ------------------------------------------------------------------------

std::unique_ptr<OWCellBlockRectCombined> BlockAt(QPoint well)
{
    auto block = std::make_unique<OWCellBlockRectCombined>();
    block->add(well);
    return block;
}

TEST(CellCollection, SortOrders_GrowAcrossRemovalsAndRestartAfterClear)
{
    OWCells cells;
    std::vector<OWCellBlockBase *> added;
    for (int i = 0; i < 3; ++i) {
        auto block = BlockAt(QPoint(1, i + 1));
        added.push_back(block.get());
        EXPECT_EQ(cells.add(std::move(block)), i);
        EXPECT_EQ(added.back()->SortOrder(), i);
    }
    EXPECT_TRUE(cells.remove(added[1]));
    EXPECT_EQ(cells.DeleteCount(), 1);
    EXPECT_EQ(cells.GetCount(), 2);
    EXPECT_EQ(cells.getCellInteger(1), added[2]); // later blocks move down

    auto next = BlockAt(QPoint(2, 1));
    OWCellBlockBase *nextPtr = next.get();
    cells.add(std::move(next));
    EXPECT_EQ(nextPtr->SortOrder(), 3);

    cells.clear();
    EXPECT_EQ(cells.GetCount(), 0);
    EXPECT_EQ(cells.DeleteCount(), 0);
    auto afterClear = BlockAt(QPoint(3, 1));
    OWCellBlockBase *afterClearPtr = afterClear.get();
    cells.add(std::move(afterClear));
    EXPECT_EQ(afterClearPtr->SortOrder(), 0);
}

TEST(CellCollection, RemovingUnknownBlock_ReturnsFalseAndChangesNothing)
{
    OWCells cells;
    cells.add(BlockAt(QPoint(1, 1)));
    OWCellBlockRectCombined stranger;
    EXPECT_FALSE(cells.remove(&stranger));
    EXPECT_FALSE(cells.remove(nullptr));
    EXPECT_EQ(cells.DeleteCount(), 0);
    EXPECT_EQ(cells.GetCount(), 1);
}

TEST(CellCollection, Lookups_ReturnNoneOutsideAndTheFirstHolderInside)
{
    OWCells cells;
    EXPECT_EQ(cells.getCellPoint(QPoint(1, 1)), nullptr);
    EXPECT_EQ(cells.getCellInteger(0), nullptr);

    auto first = BlockAt(QPoint(3, 3));
    auto second = BlockAt(QPoint(3, 3));
    second->add(QPoint(4, 4));
    OWCellBlockBase *firstPtr = first.get();
    OWCellBlockBase *secondPtr = second.get();
    cells.add(std::move(first));
    cells.add(std::move(second));

    EXPECT_EQ(cells.getCellPoint(QPoint(3, 3)), firstPtr);
    EXPECT_EQ(cells.getCellPoint(QPoint(4, 4)), secondPtr);
    EXPECT_EQ(cells.getCellPoint(QPoint(5, 5)), nullptr);
    EXPECT_EQ(cells.getCellInteger(-1), nullptr);
    EXPECT_EQ(cells.getCellInteger(cells.GetCount()), nullptr);
    EXPECT_EQ(cells.getCellInteger(1), secondPtr);
}

TEST(CellCollection, AddingNoBlock_RaisesAndChangesNothing)
{
    OWCells cells;
    EXPECT_THROW(cells.add(nullptr), EListError);
    EXPECT_EQ(cells.GetCount(), 0);
}

TEST(CellCollection, ClearWithoutFreeing_ForgetsBlocksButKeepsThemAlive)
{
    OWCells cells;
    auto block = BlockAt(QPoint(2, 2));
    OWCellBlockBase *kept = block.get();
    cells.add(std::move(block));
    cells.clear(false);
    EXPECT_EQ(cells.GetCount(), 0);
    EXPECT_EQ(cells.getCellPoint(QPoint(2, 2)), nullptr);
    // Still a live object (the sanitizer build would catch a use after free).
    EXPECT_TRUE(kept->contains(QPoint(2, 2)));
    EXPECT_FALSE(cells.remove(kept));
}

} // namespace
