// The plate model: the session's plate with what is typed held over it until a step takes it.

#include "RawDataTestSupport.h"

#include "files/RunSession.h"
#include "run/MarnovelRdData.h"
#include "support/GuiApplication.h"
#include "support/TestSupport.h"
#include "ui/main/grids/PlateModel.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using TestSupport::Dec;

namespace {

class PlateModelTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(session.SetPlateText(PlateText(8, 12)).Ok()); }

    QString RunCell(int col, int row) const { return session.Data().PlateText(col - 1, row - 1); }

    TRunSession session;
    TPlateModel model{&session};
};

TEST(PlateModel, WithoutASession_AnEmptyPlateWithItsHeadings)
{
    TPlateModel model(nullptr);
    ASSERT_EQ(model.columnCount(), PlateGridColumnCount);
    ASSERT_EQ(model.rowCount(), PlateGridRowCount);
    EXPECT_EQ(model.Cell(0, 0), QString());
    EXPECT_EQ(model.Cell(12, 0), u"12"_s);
    EXPECT_EQ(model.Cell(0, 8), u"H"_s);
    EXPECT_EQ(model.Cell(5, 5), QString());
    EXPECT_EQ(model.Cell(13, 1), QString()); // outside
}

TEST_F(PlateModelTest, ShowsTheSessionsPlate_HeadingsTakeNothing)
{
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), RunCell(1, 1));
    EXPECT_EQ(model.data(model.index(8, 12), Qt::EditRole).toString(), RunCell(12, 8));
    EXPECT_EQ(model.flags(model.index(0, 3)), Qt::NoItemFlags);
    EXPECT_EQ(model.flags(model.index(4, 0)), Qt::NoItemFlags);
    EXPECT_TRUE(model.flags(model.index(4, 3)).testFlag(Qt::ItemIsEditable));
    EXPECT_FALSE(model.setData(model.index(0, 3), u"9"_s));
    EXPECT_EQ(model.Cell(3, 0), u"3"_s);
    EXPECT_FALSE(model.HasTyped());
}

TEST_F(PlateModelTest, TypedValuesWaitInTheModel_TheRunStaysUntilAStep)
{
    const QString runBefore = RunCell(3, 5);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    ASSERT_TRUE(model.setData(model.index(5, 3), Dec(u"1.234"_s)));
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(model.Cell(3, 5), Dec(u"1.234"_s));
    EXPECT_EQ(RunCell(3, 5), runBefore);
    EXPECT_TRUE(model.HasTyped());

    // Typed back to the run's text is nothing typed.
    model.SetCell(3, 5, runBefore);
    EXPECT_FALSE(model.HasTyped());

    // The session's next plate drops what was typed.
    model.SetCell(2, 2, u"x"_s);
    ASSERT_TRUE(session.SetPlateText(PlateText(8, 4)).Ok());
    model.Refresh();
    EXPECT_FALSE(model.HasTyped());
    EXPECT_EQ(model.Cell(2, 2), RunCell(2, 2));
    EXPECT_EQ(model.columnCount(), session.Data().XExtent());
    EXPECT_EQ(model.Cell(6, 1), QString()); // beyond the plate's extent
}

TEST_F(PlateModelTest, ShrinkingDropsTypedCellsOutside_ClearTypesEveryCellEmpty)
{
    model.SetCell(12, 8, u"7"_s);
    model.SetColCount(12);
    EXPECT_FALSE(model.HasTyped());
    model.SetColCount(PlateGridColumnCount);
    EXPECT_EQ(model.Cell(12, 8), RunCell(12, 8)); // the run's text again, nothing typed

    model.Clear();
    EXPECT_TRUE(model.HasTyped());
    for (int col = 1; col < PlateGridColumnCount; ++col)
        for (int row = 1; row < PlateGridRowCount; ++row)
            ASSERT_EQ(model.Cell(col, row), QString()) << col << "," << row;
    EXPECT_FALSE(RunCell(1, 1).isEmpty()); // the run keeps its plate
}

} // namespace
