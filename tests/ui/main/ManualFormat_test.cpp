// Laying out the plate with the manual format toolbar: real clicks on the plate grid and on
// the toolbar's controls, the blocks they place, Cancel and closing, and a layout made by hand
// calculated, saved and loaded as the example format file is.

#include "RawDataTestSupport.h"

#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "plate/MarnovelPanels.h"
#include "support/GuiApplication.h"
#include "support/PlateWells.h"
#include "ui/format/ManualFormatToolbarForm.h"
#include "ui/format/MarnovelPanelWidgets.h"
#include "ui/main/BlockMenu.h"
#include "ui/main/grids/ResultsViews.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <vector>

using namespace Qt::StringLiterals;
using TestSupport::Presenter;
using TestSupport::Well;
using TestSupport::Wells;
using TestSupport::WellsOf;

namespace {

// Every block of the run: standard or not, identifier, wells and their label IDs.
QStringList Layout(const TMarnovelData &data)
{
    QStringList layout;
    for (const OWCells *blocks : {&data.StdBlocks(), &data.RawData()}) {
        for (const auto &block : blocks->Blocks()) {
            QString text = (block->getIsStandard() ? u"S "_s : u"U "_s) + block->id() + u':';
            for (const OWCellBlockElm &elm : block->block())
                text += u" %1,%2/%3"_s.arg(elm.mCell.x()).arg(elm.mCell.y()).arg(elm.fID);
            layout << text;
        }
    }
    return layout;
}

// The toolbar on a plate without data.
class ManualFormatEmptyPlateTest : public RawDataTest
{
protected:
    TfrmManualFormatToolbar *Toolbar() const { return window->RawData().ManualFormatToolbar(); }
    template <typename Widget = QWidget> Widget *ToolbarChild(const QString &name) const
    {
        auto *widget = Toolbar()->findChild<Widget *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    void ClickToolbar(const QString &name) const { Click(ToolbarChild(name)); }
    void Open() const
    {
        Click(Button(u"btnManualFormat"_s));
        ASSERT_TRUE(Toolbar()->isVisible());
    }
    void ClickWell(const char *name) const { ClickCell(Well(name).x(), Well(name).y()); }
    const OWCellBlockBase &Standard(int index) const { return *Data().StdBlocks().getCellInteger(index); }
    const OWCellBlockBase &Sample(int index) const { return *Data().RawData().getCellInteger(index); }
    int BlockCount() const { return Data().StdBlocks().GetCount() + Data().RawData().GetCount(); }
    // Choose the 8-point curve on the Run Details tab and come back.
    void EightPointCurve() const
    {
        ClickTab(TfrmMainCombinedRd::RunDetailsPage);
        Click(Child<QRadioButton>(u"rb8PointCurve"_s));
        ClickTab(TfrmMainCombinedRd::RawDataPage);
        ASSERT_EQ(Data().GetCurveType(), CURVE_8POINT);
    }
    // The example layout by clicks: two vertical 8-point standards blocks in columns 1 and 2,
    // then one research sample per other well, down each column.
    void LayOutTheExampleByClicks() const
    {
        Open();
        ClickWell("A1");
        ClickWell("A2");
        ClickToolbar(u"rbSubjectSamples"_s);
        for (int col = 3; col <= PlateColumnCount; ++col)
            for (int row = 1; row <= PlateRowCount; ++row)
                ClickCell(col, row);
        ClickToolbar(u"btnComplete"_s);
        ASSERT_FALSE(Toolbar()->isVisible());
        ASSERT_TRUE(Presenter().messages.empty()) << Messages();
    }

    ScriptedModals modals;
};

// The toolbar on the example plate.
class ManualFormatTest : public ManualFormatEmptyPlateTest
{
protected:
    void SetUp() override
    {
        ManualFormatEmptyPlateTest::SetUp();
        SetClipboardText(ExamplePlate());
        Paste();
        ASSERT_TRUE(Presenter().messages.empty()) << Messages();
        ASSERT_FALSE(Button(u"calcCurvePb"_s)->isEnabled());
    }
};

TEST_F(ManualFormatTest, Opening_StandardsAndNoCalculationUntilClosed)
{
    LoadExampleLayout();
    ASSERT_TRUE(Button(u"calcCurvePb"_s)->isEnabled());
    Open();
    EXPECT_TRUE(Toolbar()->StandardsSelected());
    EXPECT_FALSE(Button(u"calcCurvePb"_s)->isEnabled());
    // A click on the plate keeps it off.
    ClickWell("A3");
    EXPECT_FALSE(Button(u"calcCurvePb"_s)->isEnabled());

    ClickToolbar(u"btnComplete"_s);
    EXPECT_FALSE(Toolbar()->isVisible());
    EXPECT_TRUE(Button(u"calcCurvePb"_s)->isEnabled());
}

TEST_F(ManualFormatTest, VerticalFromH12_WrapsToTheFirstColumn)
{
    Open();
    ClickWell("H12");
    ASSERT_EQ(Data().StdBlocks().GetCount(), 1) << Messages();
    EXPECT_EQ(WellsOf(Standard(0)), Wells({"H12", "A1", "B1", "C1"}));
    EXPECT_EQ(Standard(0).id(), u"Std 1"_s);
    EXPECT_EQ(Standard(0).getRawValue(1), Grid()->Cell(1, 1)); // values read at once
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
}

TEST_F(ManualFormatTest, HorizontalFromA11WithA12Taken_ContinuesOnRowB)
{
    Open();
    ClickToolbar(u"rbSubjectSamples"_s);
    ClickWell("A12");
    ClickToolbar(u"rbStandards"_s);
    ClickToolbar(u"rbHorizontalO"_s);
    ClickWell("A11");
    ASSERT_EQ(Data().StdBlocks().GetCount(), 1) << Messages();
    EXPECT_EQ(WellsOf(Standard(0)), Wells({"A11", "B1", "B2", "B3"}));
}

TEST_F(ManualFormatTest, RefusedClicks_OneMessageAndNothingPlaced)
{
    Open();
    ClickToolbar(u"rbSubjectSamples"_s);
    ClickToolbar(u"rbRdAllSamples"_s);
    ClickWell("A1"); // every well with a value: all but G12 and H12
    ASSERT_EQ(Data().RawData().GetCount(), 94);
    Data().RawData().remove(Data().cellAtPoint(Well("D5")));
    Grid()->viewport()->update();
    ClickToolbar(u"rbStandards"_s);
    Presenter().Clear();

    const struct
    {
        const char *name;
        QPoint cell;
        QString message;
    } cases[] = {
        {"three free wells for four standards", Well("D5"), UiText(181)},
        {"a well of a block", Well("C3"), OneBlockPerCellText()},
    };
    for (const auto &c : cases) {
        const int before = BlockCount();
        ClickCell(c.cell.x(), c.cell.y());
        EXPECT_EQ(Presenter().Texts(), QStringList{c.message}) << c.name;
        EXPECT_EQ(BlockCount(), before) << c.name;
        EXPECT_TRUE(Toolbar()->isVisible()) << c.name;
        Presenter().Clear();
    }
}

TEST_F(ManualFormatTest, RefusedPress_TheNextClickPlacesItsBlock)
{
    // The release of a refused press goes to the message box, never to the grid.
    const struct
    {
        const char *name;
        bool reopen; // the toolbar closed and opened again between
    } cases[] = {{"the next click", false}, {"after closing the toolbar", true}};
    for (const auto &c : cases) {
        Open();
        ClickToolbar(u"rbSubjectSamples"_s);
        ClickWell("A1");
        const int before = BlockCount();
        Presenter().Clear();
        QTest::mousePress(Grid()->viewport(), Qt::LeftButton, {}, CellCentre(1, 1));
        QTest::mouseRelease(ToolbarChild(u"lblHeader"_s), Qt::LeftButton);
        EXPECT_EQ(Presenter().Texts(), QStringList{OneBlockPerCellText()}) << c.name;
        if (c.reopen) {
            ClickToolbar(u"btnComplete"_s);
            Open();
            ClickToolbar(u"rbSubjectSamples"_s);
        }
        Presenter().Clear();
        ClickWell("A2");
        EXPECT_EQ(BlockCount(), before + 1) << c.name << Messages();
        EXPECT_NE(Data().cellAtPoint(Well("A2")), nullptr) << c.name;
        EXPECT_TRUE(Presenter().messages.empty()) << c.name << Messages();
        ClickToolbar(u"btnComplete"_s);
        window->RawData().ClearStandardsAndSamples();
    }
}

TEST_F(ManualFormatTest, RandomFourStandards_CompleteRefusedUntilTheLast)
{
    Open();
    ClickToolbar(u"rbRandomO"_s);
    const char *clicks[] = {"D4", "A1", "H12", "B7"};
    for (int i = 0; i < 4; ++i) {
        ClickWell(clicks[i]);
        const bool last = i == 3;
        for (const char *name : {"grpOrientation", "grpItemToAssign", "grpRdSampleType", "btnClearAll"})
            EXPECT_EQ(ToolbarChild(QString::fromLatin1(name))->isEnabled(), last) << i << ' ' << name;
        if (!last) {
            ClickToolbar(u"btnComplete"_s);
            EXPECT_EQ(Presenter().Texts(), QStringList{UiText(179)}) << i;
            EXPECT_TRUE(Toolbar()->isVisible());
            Presenter().Clear();
        }
    }
    ASSERT_EQ(Data().StdBlocks().GetCount(), 1);
    EXPECT_EQ(WellsOf(Standard(0)), Wells({"D4", "A1", "H12", "B7"}));
    QStringList labels;
    for (const OWCellBlockElm &elm : Standard(0).block())
        labels << elm.fCellPanel->StdText();
    EXPECT_EQ(labels, (QStringList{u"S1"_s, u"S2"_s, u"S3"_s, u"S4"_s}));
    ClickToolbar(u"btnComplete"_s);
    EXPECT_FALSE(Toolbar()->isVisible());
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
}

TEST_F(ManualFormatTest, Cancel_RemovesExactlyTheBlocksOfThisOpening)
{
    Open();
    ClickWell("A5"); // an earlier opening's block
    ClickToolbar(u"btnComplete"_s);
    const QStringList before = Layout(Data());

    Open();
    ClickWell("A1");
    ClickToolbar(u"rbRandomO"_s);
    ClickToolbar(u"rbSubjectSamples"_s);
    ClickWell("A9");
    ClickWell("B9");
    ASSERT_EQ(Data().StdBlocks().GetCount(), 2);
    ASSERT_EQ(Data().RawData().GetCount(), 2);

    Presenter().answers.push_back(TModalResult::mrNo);
    ClickToolbar(u"btnCancel"_s);
    EXPECT_EQ(Presenter().Texts(), QStringList{UiText(304)});
    EXPECT_TRUE(Toolbar()->isVisible());
    EXPECT_EQ(BlockCount(), 4);

    Presenter().Clear();
    Presenter().answers.push_back(TModalResult::mrYes);
    ClickToolbar(u"btnCancel"_s);
    EXPECT_EQ(Presenter().Texts(), QStringList{UiText(304)});
    EXPECT_FALSE(Toolbar()->isVisible());
    EXPECT_EQ(Layout(Data()), before);
}

TEST_F(ManualFormatTest, Cancel_AnEarlierBlockDeletedMeanwhileLeavesTheCountAlone)
{
    Open();
    ClickWell("A5");
    ClickToolbar(u"btnComplete"_s);
    Open();
    ClickWell("A1");
    ClickToolbar(u"rbSubjectSamples"_s);
    ClickWell("A9");
    modals.Push([](QDialog &menu) {
        QTest::mouseClick(menu.findChild<QPushButton *>(u"deleteBlockPb"_s), Qt::LeftButton);
    });
    ClickCell(5, 2, Qt::RightButton); // the earlier opening's standards
    ASSERT_EQ(BlockCount(), 2);

    Presenter().answers.push_back(TModalResult::mrYes);
    ClickToolbar(u"btnCancel"_s);
    EXPECT_EQ(BlockCount(), 0);
    EXPECT_EQ(modals.unexpected, 0);
}

TEST_F(ManualFormatTest, LoadFormatWhileOpen_CancelLeavesTheLoadedLayout)
{
    Open();
    ClickWell("A1");
    ClickToolbar(u"rbRandomO"_s);
    ClickWell("A2"); // a random block in progress
    LoadExampleLayout();
    const QStringList loaded = Layout(Data());
    EXPECT_FALSE(Toolbar()->IsRandomOrientationStarted());
    EXPECT_TRUE(ToolbarChild(u"grpOrientation"_s)->isEnabled());

    Presenter().Clear();
    ClickToolbar(u"btnCancel"_s);
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_FALSE(Toolbar()->isVisible());
    EXPECT_EQ(Layout(Data()), loaded);
}

TEST_F(ManualFormatTest, CancelOrCloseDuringARandomBlock_AskedFirst)
{
    const struct
    {
        const char *name;
        bool closeBox;
        TModalResult answer;
        bool removed;
    } cases[] = {
        {"Cancel, keep the block", false, TModalResult::mrNo, false},
        {"close box, keep the block", true, TModalResult::mrNo, false},
        {"close box, cancel it", true, TModalResult::mrYes, true},
        {"Cancel, cancel it", false, TModalResult::mrYes, true},
    };
    Open();
    ClickToolbar(u"rbRandomO"_s);
    ClickWell("C3");
    for (const auto &c : cases) {
        Presenter().Clear();
        Presenter().answers.push_back(c.answer);
        Presenter().answers.push_back(TModalResult::mrYes); // any later question
        if (c.closeBox)
            Toolbar()->close();
        else
            ClickToolbar(u"btnCancel"_s);
        EXPECT_EQ(Presenter().Texts().value(0), UiText(180)) << c.name;
        EXPECT_EQ(Toolbar()->isVisible(), !c.removed) << c.name;
        EXPECT_EQ(Data().StdBlocks().GetCount(), c.removed ? 0 : 1) << c.name;
        if (c.removed) {
            EXPECT_FALSE(Toolbar()->IsRandomOrientationStarted()) << c.name;
            Open();
            ClickToolbar(u"rbRandomO"_s);
            ClickWell("C3");
        }
    }
}

TEST_F(ManualFormatTest, AllSamples_OnTheFreeWellsB3AndA5InColumnOrder)
{
    LoadExampleLayout();
    Open();
    // A release anywhere on the grid places them, on a heading too.
    const struct
    {
        const char *name;
        QPoint release;
    } cases[] = {{"a well", Well("F8")}, {"a row heading", QPoint(0, 4)}, {"a column heading", QPoint(7, 0)}};
    for (const auto &c : cases) {
        for (const char *name : {"A5", "B3"})
            Data().RawData().remove(Data().cellAtPoint(Well(name)));
        ClickToolbar(u"rbSubjectSamples"_s);
        const QString next = ToolbarChild<QLineEdit>(u"txtSubjectID"_s)->text();
        const int number = OWCellBlockBase::GetCurrentSubjectIdNumber();
        ClickToolbar(u"rbRdAllSamples"_s);
        const int before = Data().RawData().GetCount();
        ClickCell(c.release.x(), c.release.y());

        ASSERT_EQ(Data().RawData().GetCount(), before + 2) << c.name << Messages();
        EXPECT_EQ(WellsOf(Sample(before)), Wells({"B3"})) << c.name;
        EXPECT_EQ(WellsOf(Sample(before + 1)), Wells({"A5"})) << c.name;
        EXPECT_EQ(Sample(before).id(), next) << c.name;
        EXPECT_EQ(Sample(before).FixedID(), number) << c.name;
        EXPECT_EQ(Sample(before + 1).FixedID(), number + 1) << c.name;
        EXPECT_EQ(ToolbarChild<QLineEdit>(u"txtSubjectID"_s)->text(),
                  UiText(57) + u' ' + QString::number(number + 2))
            << c.name;
    }
}

TEST_F(ManualFormatEmptyPlateTest, AllSamples_ALayoutBeforeTheDataExists)
{
    ASSERT_TRUE(GridEmpty());
    Open();
    ClickWell("A1"); // the standards: A1 to D1
    ClickToolbar(u"rbSubjectSamples"_s);
    ClickToolbar(u"rbRdAllSamples"_s);
    ClickWell("F7");

    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    ASSERT_EQ(Data().RawData().GetCount(), PlateColumnCount * PlateRowCount - 4);
    EXPECT_EQ(WellsOf(Sample(0)), Wells({"E1"}));
    EXPECT_EQ(WellsOf(Sample(Data().RawData().GetCount() - 1)), Wells({"H12"}));
    ClickToolbar(u"btnComplete"_s);
    EXPECT_FALSE(Toolbar()->isVisible());
}

TEST_F(ManualFormatTest, Samples_TypedIdForTheNextSampleOnlyAndColoursAdvance)
{
    OWCellBlockBase::SetNextSubjectId();
    OWCellBlockBase::SetNextSubjectId();
    OWCellBlockBase::SetNextSubjectId();
    Open();
    ClickToolbar(u"rbSubjectSamples"_s);
    auto *id = ToolbarChild<QLineEdit>(u"txtSubjectID"_s);
    EXPECT_EQ(id->text(), u"ID 4"_s);
    EXPECT_TRUE(ToolbarChild<QRadioButton>(u"rbRdOneSample"_s)->isChecked());
    QTest::keyClick(id, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(id, u"Anna"_s);
    ClickWell("A3");
    ClickWell("B3");

    ASSERT_EQ(Data().RawData().GetCount(), 2) << Messages();
    EXPECT_EQ(Sample(0).id(), u"Anna"_s);
    EXPECT_EQ(Sample(1).id(), u"ID 5"_s);
    EXPECT_EQ(id->text(), u"ID 6"_s);
    // Drawn, each took its colour; the sample panel shows the next one.
    QCoreApplication::processEvents();
    Grid()->repaint();
    EXPECT_NE(const_cast<OWCellBlockBase &>(Sample(0)).color(),
              const_cast<OWCellBlockBase &>(Sample(1)).color());
    EXPECT_EQ(TCBBlockPanelList::GetListForCriteriaType(CT_RESEARCH_SAMPLE).GetItem(0)->Color(),
              OWCellBlockBase::GetCurrentSubjectColor());
}

TEST_F(ManualFormatTest, ClearAll_TheCurrentItemOnly)
{
    Open();
    ClickWell("A1");
    ClickToolbar(u"rbSubjectSamples"_s);
    ClickWell("A3");
    ClickWell("B3");
    ClickToolbar(u"btnClearAll"_s);
    EXPECT_EQ(Data().RawData().GetCount(), 0);
    EXPECT_EQ(Data().StdBlocks().GetCount(), 1);
    EXPECT_EQ(ToolbarChild<QLineEdit>(u"txtSubjectID"_s)->text(), u"ID 1"_s);

    ClickToolbar(u"rbStandards"_s);
    ClickToolbar(u"btnClearAll"_s);
    EXPECT_EQ(BlockCount(), 0);
    // Nothing of this opening is left for Cancel to ask about.
    ClickToolbar(u"btnCancel"_s);
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_FALSE(Toolbar()->isVisible());
}

TEST_F(ManualFormatTest, BlockMenuAndRename_WorkOnPlacedBlocksAndTheCountFollows)
{
    Open();
    ClickWell("A1");
    ClickWell("A2");
    // Delete the first standards block by its menu: Cancel then asks about one block only.
    modals.Push([](QDialog &menu) {
        QTest::mouseClick(menu.findChild<QPushButton *>(u"deleteBlockPb"_s), Qt::LeftButton);
    });
    ClickCell(1, 3, Qt::RightButton);
    ASSERT_EQ(Data().StdBlocks().GetCount(), 1);
    EXPECT_EQ(WellsOf(Standard(0)), Wells({"A2", "B2", "C2", "D2"}));

    // During a random block the menu first takes the unfinished block away.
    ClickToolbar(u"rbRandomO"_s);
    ClickWell("A5");
    ClickWell("B5");
    ASSERT_EQ(Data().StdBlocks().GetCount(), 2);
    modals.Push([](QDialog &menu) {
        QTest::mouseClick(menu.findChild<QPushButton *>(u"cancelPb"_s), Qt::LeftButton);
    });
    ClickCell(2, 2, Qt::RightButton);
    EXPECT_EQ(Data().StdBlocks().GetCount(), 2); // Cancel in the menu changes nothing
    modals.Push([](QDialog &menu) {
        QTest::mouseClick(menu.findChild<QPushButton *>(u"deleteBlockPb"_s), Qt::LeftButton);
    });
    ClickCell(5, 1, Qt::RightButton); // the random block's own well
    EXPECT_EQ(Data().StdBlocks().GetCount(), 1);
    EXPECT_FALSE(Toolbar()->IsRandomOrientationStarted());
    EXPECT_EQ(modals.unexpected, 0);

    Presenter().answers.push_back(TModalResult::mrYes);
    ClickToolbar(u"btnCancel"_s);
    EXPECT_EQ(Presenter().Texts(), QStringList{UiText(304)});
    EXPECT_EQ(BlockCount(), 0);

    // Closed, a press and release on a placed block renames it.
    Open();
    ClickToolbar(u"rbSubjectSamples"_s);
    ClickWell("C3");
    ClickToolbar(u"btnComplete"_s);
    modals.Push([](QDialog &dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit *>(u"subjIdEd"_s), u"Bert"_s);
        QTest::mouseClick(dialog.findChild<QPushButton *>(u"okPb"_s), Qt::LeftButton);
    });
    ClickWell("C3");
    EXPECT_EQ(Sample(0).id(), u"Bert"_s);
}

TEST_F(ManualFormatTest, CurveTypeAndLanguageChanges_ShowTheNewPanelsAndTexts)
{
    Open();
    EightPointCurve();
    const TCBBlockPanelList &standards = TStdPanel::GetBlockList();
    const QList<TBlockPanelWidget *> panels =
        ToolbarChild(u"pnlBoxLayoutStd"_s)->findChildren<TBlockPanelWidget *>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(panels.size(), 8);
    for (int i = 0; i < panels.size(); ++i) {
        EXPECT_EQ(panels[i]->Panel(), standards.GetItem(i)) << i;
        EXPECT_TRUE(standards.GetItem(i)->Selected()) << i; // vertical: all pressed
    }
    ClickWell("A1");
    ASSERT_EQ(Data().StdBlocks().GetCount(), 1);
    EXPECT_EQ(Standard(0).Count(), 8);

    window->ChangeLanguage(u"LOCALE_GERMAN"_s);
    EXPECT_EQ(ToolbarChild<QLabel>(u"lblHeader"_s)->text(), UiText(165));
    EXPECT_EQ(ToolbarChild<QPushButton>(u"btnClearAll"_s)->text(), UiText(174));
    window->ChangeLanguage(u"LOCALE_ENGLISH"_s);
}

TEST_F(ManualFormatTest, ManualDataEntry_HidesTheToolbarAndDropsAnUnfinishedBlock)
{
    Open();
    ClickToolbar(u"rbRandomO"_s);
    ClickWell("A1");
    ClickWell("B1");
    Click(Button(u"btnManualDataEntry"_s));
    EXPECT_FALSE(Toolbar()->isVisible());
    EXPECT_FALSE(Toolbar()->IsRandomOrientationStarted());
    EXPECT_EQ(Data().StdBlocks().GetCount(), 0);
    EXPECT_FALSE(Button(u"btnManualFormat"_s)->isEnabled());
}

TEST_F(ManualFormatTest, LayoutByClicks_CalculatesAsTheExampleFormatFile)
{
    EightPointCurve();
    LayOutTheExampleByClicks();
    ASSERT_TRUE(Button(u"calcCurvePb"_s)->isEnabled());
    Click(Button(u"calcCurvePb"_s));
    ASSERT_TRUE(Presenter().messages.empty()) << Messages();
    const QStringList byClicks = Layout(Data());
    auto *results = Child<TResultGrid>(u"resultGd"_s);
    QStringList resultsByClicks;
    for (int row = 0; row < results->rowCount(); ++row)
        for (int col = 0; col < results->columnCount(); ++col)
            resultsByClicks << results->Cell(col, row);

    // The format replaces the layout of unsaved results: not saved (a Yes would offer the
    // queued format file's name to Save As).
    Presenter().answers.push_back(TModalResult::mrNo);
    LoadExampleLayout();
    EXPECT_EQ(Presenter().Texts(), QStringList{UiText(105)});
    Click(Button(u"calcCurvePb"_s));
    EXPECT_EQ(Layout(Data()), byClicks);
    QStringList resultsByFile;
    for (int row = 0; row < results->rowCount(); ++row)
        for (int col = 0; col < results->columnCount(); ++col)
            resultsByFile << results->Cell(col, row);
    EXPECT_EQ(resultsByClicks, resultsByFile);
    EXPECT_GT(resultsByFile.size(), 80);
}

TEST_F(ManualFormatTest, LayoutByClicks_SavedAsAFormatFileAndLoadedAgain)
{
    EightPointCurve();
    Open();
    ClickToolbar(u"rbRandomO"_s);
    for (const char *name : {"H1", "G1", "F1", "E1", "D1", "C1", "B1", "A1"})
        ClickWell(name);
    ClickToolbar(u"rbHorizontalO"_s);
    ClickWell("A2");
    ClickToolbar(u"rbSubjectSamples"_s);
    ClickWell("D5");
    ClickWell("E9");
    ClickToolbar(u"btnComplete"_s);
    const QStringList layout = Layout(Data());
    ASSERT_EQ(layout.size(), 4) << Messages();

    QTemporaryDir folder;
    const QString file = folder.filePath(u"hand.vff"_s);
    Presenter().fileNames.push_back(file);
    Click(Button(u"btnSaveFormat"_s));
    Presenter().fileNames.push_back(file);
    Click(Button(u"btnLoadFormat"_s));
    EXPECT_TRUE(Presenter().messages.empty()) << Messages();
    EXPECT_EQ(Layout(Data()), layout);
}

} // namespace
