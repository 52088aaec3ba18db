// The Raw Data page alone against a session and its notifier.

#include "PageTestSupport.h"
#include "RawDataTestSupport.h"

#include "core/UiTextManager.h"
#include "files/RunSession.h"
#include "plate/CellColl.h"
#include "run/MarnovelRdData.h"
#include "support/GuiApplication.h"
#include "support/LanguageGuard.h"
#include "support/TestSupport.h"
#include "ui/format/ManualFormatToolbarForm.h"
#include "ui/main/RunSessionNotifier.h"
#include "ui/main/dialogs/ManualDataEntryForm.h"
#include "ui/main/grids/RawDataGrid.h"
#include "ui/main/pages/RawDataPage.h"

#include <QImage>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using TestSupport::Dec;

namespace {

class RawDataPageTest : public PageTest<TRawDataPage, QPushButton>
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        page.resize(900, 600);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }

    TfrmManualDataEntryForm *EntryForm() const
    {
        return Child<TfrmManualDataEntryForm>(u"frmManualDataEntryForm"_s);
    }
    void ClickCell(int col, int row) const
    {
        TRawDataGrid *grid = page.Grid();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, col)).center());
    }
    // The plate as the run holds it, column by column, in the grid's numbering (1-12, 1-8).
    QStringList RunPlate() const
    {
        const TMarnovelData &data = session.Data();
        QStringList texts;
        for (int col = 1; col <= PlateColumnCount; ++col)
            for (int row = 1; row <= PlateRowCount; ++row)
                texts << (col < data.XExtent() && row < data.YExtent() ? data.PlateText(col - 1, row - 1)
                                                                       : QString());
        return texts;
    }
    QStringList GridPlate() const
    {
        QStringList texts;
        for (int col = 1; col <= PlateColumnCount; ++col)
            for (int row = 1; row <= PlateRowCount; ++row)
                texts << page.Grid()->Cell(col, row);
        return texts;
    }
};

TEST_F(RawDataPageTest, PlateSteps_ShowInTheGrid)
{
    const struct
    {
        const char *name;
        int lines, columns;
    } cases[] = {{"full plate", 8, 12}, {"three columns", 8, 3}, {"one column", 8, 1}};
    for (const auto &c : cases) {
        QSignalSpy plate(&notifier, &TRunSessionNotifier::plateChanged);
        ASSERT_TRUE(notifier.SetPlateText(PlateText(c.lines, c.columns)).Ok()) << c.name;
        EXPECT_EQ(plate.size(), 1) << c.name;
        EXPECT_EQ(GridPlate(), RunPlate()) << c.name;
        EXPECT_EQ(page.LastColumnWithData(), c.columns) << c.name;
        // No layout yet: nothing to calculate.
        EXPECT_FALSE(page.CalculateButton()->isEnabled()) << c.name;
    }
    EXPECT_EQ(page.Grid()->Cell(1, 1), Dec(u"0.101"_s));

    // An emptied plate leaves an empty grid with its headings.
    ASSERT_TRUE(notifier.SetTypedPlate({}).Ok());
    EXPECT_EQ(GridPlate(), QStringList(PlateColumnCount * PlateRowCount));
    EXPECT_EQ(page.Grid()->Cell(12, 0), u"12"_s);
    EXPECT_FALSE(page.RawDataHasData());
    EXPECT_TRUE(TestSupport::Presenter().messages.empty()) << Messages();
}

TEST_F(RawDataPageTest, PasteButton_TakesTheClipboardThroughTheStep)
{
    QSignalSpy plate(&notifier, &TRunSessionNotifier::plateChanged);
    QGuiApplication::clipboard()->setText(PlateText(8, 12));
    QTest::mouseClick(Child(u"pastePb"_s), Qt::LeftButton);
    EXPECT_EQ(plate.size(), 1);
    EXPECT_EQ(GridPlate(), RunPlate());
    EXPECT_FALSE(page.Grid()->Cell(12, 8).isEmpty());

    // A picture is no plate: refused, and nothing changes.
    const QStringList before = RunPlate();
    plate.clear();
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(picture);
    QTest::mouseClick(Child(u"pastePb"_s), Qt::LeftButton);
    EXPECT_EQ(plate.size(), 0);
    EXPECT_EQ(RunPlate(), before);
    EXPECT_EQ(GridPlate(), before);
    EXPECT_EQ(TestSupport::Presenter().messages.size(), 1u) << Messages();
}

TEST_F(RawDataPageTest, PasteOverUnsavedResults_AsksFirstAndNoKeepsThePlate)
{
    ASSERT_TRUE(notifier.LoadRun(QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf")).Ok());
    ASSERT_TRUE(notifier.Calculate().Ok());
    ASSERT_TRUE(session.HasUnsavedResults());
    const QStringList before = RunPlate();
    EXPECT_EQ(GridPlate(), before);
    for (const bool discard : {false, true}) {
        int asked = 0;
        page.SetDiscardQuery([&] {
            ++asked;
            return discard;
        });
        QSignalSpy plate(&notifier, &TRunSessionNotifier::plateChanged);
        QSignalSpy discarded(&notifier, &TRunSessionNotifier::resultsDiscarded);
        QGuiApplication::clipboard()->setText(PlateText(8, 12));
        QTest::mouseClick(Child(u"pastePb"_s), Qt::LeftButton);
        EXPECT_EQ(asked, 1) << discard;
        EXPECT_EQ(plate.size(), discard ? 1 : 0) << discard;
        // The results of the old plate go with it, and only then.
        EXPECT_EQ(discarded.isEmpty(), !discard) << discard;
        EXPECT_EQ(RunPlate() == before, !discard) << discard;
        EXPECT_EQ(GridPlate(), RunPlate()) << discard;
    }
}

TEST_F(RawDataPageTest, ManualDataEntry_CompleteWritesTheRunCancelPutsTheGridBack)
{
    const struct
    {
        const char *button;
        bool kept;
    } cases[] = {{"btnComplete", true}, {"btnCancel", false}};
    for (const auto &c : cases) {
        TestSupport::Presenter().Clear();
        ASSERT_TRUE(notifier.SetPlateText(PlateText(8, 12)).Ok());
        const QStringList before = RunPlate();
        QTest::mouseClick(Child(u"btnManualDataEntry"_s), Qt::LeftButton);
        ASSERT_TRUE(page.IsManualEditMode()) << c.button;
        EXPECT_TRUE(EntryForm()->isVisible()) << c.button;
        EXPECT_FALSE(Child(u"pastePb"_s)->isEnabled()) << c.button;

        QSignalSpy plate(&notifier, &TRunSessionNotifier::plateChanged);
        page.Grid()->SetCell(3, 5, Dec(u"1.234"_s));
        QTest::mouseClick(Child(QString::fromLatin1(c.button), EntryForm()), Qt::LeftButton);

        EXPECT_FALSE(page.IsManualEditMode()) << c.button;
        EXPECT_TRUE(Child(u"pastePb"_s)->isEnabled()) << c.button;
        EXPECT_EQ(plate.size(), c.kept ? 1 : 0) << c.button;
        EXPECT_EQ(RunPlate().at(2 * PlateRowCount + 4),
                  c.kept ? Dec(u"1.234"_s) : before.at(2 * PlateRowCount + 4))
            << c.button;
        EXPECT_EQ(GridPlate(), RunPlate()) << c.button;
        // Cancel asks before the typing goes; Complete asks nothing without results.
        EXPECT_EQ(TestSupport::Presenter().messages.size(), c.kept ? 0u : 1u) << Messages();
    }
}

TEST_F(RawDataPageTest, ManualFormatClick_PlacesABlockThroughTheStep)
{
    ASSERT_TRUE(notifier.SetPlateText(PlateText(8, 12)).Ok());
    QTest::mouseClick(Child(u"btnManualFormat"_s), Qt::LeftButton);
    ASSERT_TRUE(page.ManualFormatToolbar()->isVisible());
    EXPECT_TRUE(page.ManualFormatToolbar()->StandardsSelected());

    QSignalSpy layout(&notifier, &TRunSessionNotifier::layoutChanged);
    ClickCell(1, 1);
    EXPECT_GE(layout.size(), 1);
    EXPECT_EQ(session.Data().StdBlocks().GetCount(), 1);
    // The toolbar still open: nothing to calculate yet.
    EXPECT_FALSE(page.CalculateButton()->isEnabled());

    // A click on a taken well is refused with one message and places nothing.
    layout.clear();
    ClickCell(1, 1);
    EXPECT_EQ(layout.size(), 0);
    EXPECT_EQ(session.Data().StdBlocks().GetCount(), 1);
    EXPECT_EQ(TestSupport::Presenter().messages.size(), 1u) << Messages();

    page.ClearStandardsAndSamples();
    EXPECT_EQ(session.Data().StdBlocks().GetCount(), 0);
    page.ManualFormatToolbar()->hide();
}

TEST_F(RawDataPageTest, Retranslate_CaptionsInTheNewLanguage)
{
    const TestSupport::LanguageGuard german(u"LOCALE_GERMAN"_s);
    const QString english = Child(u"pastePb"_s)->text();
    page.Retranslate();
    const auto caption = [](int id) { return UiText(id).replace(u"\\n"_s, u"\n"_s); };
    const struct
    {
        QString name;
        int id;
    } cases[] = {{u"pastePb"_s, 59},
                 {u"btnManualDataEntry"_s, 157},
                 {u"btnManualFormat"_s, 158},
                 {u"calcCurvePb"_s, 63}};
    for (const auto &c : cases)
        EXPECT_EQ(Child(c.name)->text(), caption(c.id)) << c.name.toStdString();
    EXPECT_NE(Child(u"pastePb"_s)->text(), english);
    // The tool windows follow.
    EXPECT_EQ(Child(u"btnComplete"_s, EntryForm())->text(), caption(164));
}

} // namespace
