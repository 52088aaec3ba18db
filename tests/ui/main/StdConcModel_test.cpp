// The concentration model: the session's standards, a typed value shown as typed while the
// session keeps its number.

#include "files/RunSession.h"
#include "run/MarnovelRdData.h"
#include "support/GuiApplication.h"
#include "support/TestSupport.h"
#include "ui/main/grids/StdConcModel.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using TestSupport::Dec;

namespace {

class StdConcModelTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(session.SetCurveType(CURVE_4POINT).Ok()); }

    QStringList Values() const
    {
        QStringList values;
        for (int row = 0; row < model.rowCount(); ++row)
            values << model.Cell(1, row);
        return values;
    }

    TRunSession session;
    TStdConcModel model{&session};
};

TEST_F(StdConcModelTest, ShowsTheSessionsStandards_OnlyTypeableCellsEdit)
{
    model.Refresh();
    ASSERT_EQ(model.rowCount(), session.Data().StdConcSize());
    EXPECT_EQ(model.Cell(0, 0), u"S1"_s);
    EXPECT_EQ(model.Cell(1, 0), Dec("4.000")); // the 4-point default
    const auto editable = [this](int row) {
        return model.flags(model.index(row, 1)).testFlag(Qt::ItemIsEditable);
    };
    const int zero = model.rowCount() - 1;
    EXPECT_TRUE(editable(0));
    EXPECT_FALSE(editable(1)); // derived while the values are the defaults
    EXPECT_EQ(model.flags(model.index(0, 0)), Qt::NoItemFlags);
    model.SetDefaultValues(false);
    EXPECT_TRUE(editable(1));
    EXPECT_FALSE(editable(zero));
    EXPECT_FALSE(model.setData(model.index(0, 0), u"S9"_s));
}

TEST_F(StdConcModelTest, TypedTextStaysWhileTheSessionKeepsItsNumber)
{
    const float before = session.Data().StdConc()[1];
    model.SetCell(1, 1, u"3"_s);
    EXPECT_EQ(model.Cell(1, 1), u"3"_s);
    EXPECT_FLOAT_EQ(session.Data().StdConc()[1], before); // nothing written yet

    QList<double> values;
    for (const float value : session.Data().StdConc())
        values << value;
    values[1] = 3.0;
    ASSERT_TRUE(session.SetStdConc(values).Ok());
    model.FollowSession();
    EXPECT_EQ(model.Cell(1, 1), u"3"_s); // as typed, not "3.000"

    values[1] = 5.0;
    ASSERT_TRUE(session.SetStdConc(values).Ok());
    model.FollowSession();
    EXPECT_EQ(model.Cell(1, 1), Dec("5.000"));

    model.SetCell(1, 2, u"7"_s);
    model.Refresh(); // a new curve: nothing typed stays
    EXPECT_EQ(model.Cell(1, 2), Values().at(2));
    EXPECT_NE(model.Cell(1, 2), u"7"_s);
}

} // namespace
